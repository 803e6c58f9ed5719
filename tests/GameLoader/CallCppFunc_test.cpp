#include "CallCppFunc.h"

#include <gtest/gtest.h>

namespace {

TEST(BridgeCall, OnlyAnObjectNamingAFunctionExactlyAsksForIt) {
    const std::pair<const char*, BridgeFunction> rows[] = {
        {R"({"funcation_name":"min_wnd"})", BridgeFunction::MinimizeWindow},
        {R"({"funcation_name":"close_wnd"})", BridgeFunction::CloseWindow},
        {R"({"funcation_name":"open_game","token":"t","twext":"x","extra":[1]})", BridgeFunction::OpenGame},
        {R"({"funcation_name":"wnd_mousemove"})", BridgeFunction::DragWindow},
        {"/* the page's own note */ {\"funcation_name\":\"min_wnd\"}", BridgeFunction::MinimizeWindow},
        {R"({"funcation_name":"MIN_WND"})", BridgeFunction::None},
        {R"({"function_name":"min_wnd"})", BridgeFunction::None},
        {R"({"funcation_name":5})", BridgeFunction::None},
        {R"({"funcation_name":null})", BridgeFunction::None},
        {R"(["min_wnd"])", BridgeFunction::None},
        {"5", BridgeFunction::None},
        {"[object Object]", BridgeFunction::None},
        {"", BridgeFunction::None},
        {R"({"funcation_name":"min_wnd")", BridgeFunction::None},
        {R"({"funcation_name":"unknown"})", BridgeFunction::None},
    };
    for (const auto& [text, expected] : rows) EXPECT_EQ(ReadBridgeCall(text), expected) << text;
}

}  // namespace
