#include "XmlSafety.h"

#include <gtest/gtest.h>

namespace {

TEST(XmlNesting, CountsOnlyWhatAParserDescendsInto) {
    const std::pair<const char*, std::size_t> rows[] = {
        {"", 0},
        {"<a/>", 1},
        {"<settings><twwindowid>1</twwindowid></settings>", 2},
        {"<a><b/><c><d/></c></a>", 3},
        {"<!-- <a><a><a> --><x/>", 1},
        {"<a><![CDATA[<b><c><d>]]></a>", 1},
        {"<?xml version=\"1.0\"?><!DOCTYPE x><a/>", 1},
        {"<a x=\"/>\"><b/></a>", 2},
        {"<a x='>'><b><c/></b></a>", 3},
        {"<a><a><a>", 3},
    };
    for (const auto& [xml, depth] : rows) EXPECT_EQ(platform::MaxElementNesting(xml), depth) << xml;
}

}  // namespace
