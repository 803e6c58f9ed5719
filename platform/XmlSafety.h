#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The deepest nesting of elements in an XML text, counted the way a recursive parser would
// descend: comments, CDATA, declarations and quoted attribute values do not count. Used to
// refuse documents that would exhaust the stack of the XML library.
std::size_t MaxElementNesting(std::string_view xml);

// Documents deeper than this are treated as not well-formed.
constexpr std::size_t kMaxXmlNesting = 256;

// The text with a few zero bytes after its end. The XML library steps over a whole UTF-8
// sequence when a name holds a lead byte, so a sequence cut off at the end of the text
// would carry it past the terminator; the padding keeps that step inside the buffer.
std::string PaddedForXmlParser(std::string_view text);

}  // namespace platform
