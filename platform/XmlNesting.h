#pragma once
#include <cstddef>
#include <string_view>

namespace platform {

// The deepest nesting of elements in an XML text, counted the way a recursive parser would
// descend: comments, CDATA, declarations and quoted attribute values do not count. Used to
// refuse documents that would exhaust the stack of the XML library.
std::size_t MaxElementNesting(std::string_view xml);

// Documents deeper than this are treated as not well-formed.
constexpr std::size_t kMaxXmlNesting = 256;

}  // namespace platform
