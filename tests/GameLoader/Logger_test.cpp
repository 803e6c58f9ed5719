#include "Logger.h"

#include "IsolatedEnvironment.h"

#include "Clock.h"

#include <gtest/gtest.h>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(LogLine, MillisecondsArePaddedWithSpaces) {
    const std::pair<int, const char*> rows[] = {
        {5, "2025-03-07 09:05:01.  5 [Main<72>wWinMain] : CoInitialize false"},
        {45, "2025-03-07 09:05:01. 45 [Main<72>wWinMain] : CoInitialize false"},
        {345, "2025-03-07 09:05:01.345 [Main<72>wWinMain] : CoInitialize false"},
    };
    for (const auto& [millisecond, expected] : rows) {
        const platform::LocalTime time{2025, 3, 7, 9, 5, 1, millisecond};
        EXPECT_EQ(FormatLogLine(time, "Main", 72, "wWinMain", "CoInitialize false"), expected);
    }
}

TEST(LogLine, SourceNameIsTheFileAfterTheLastSeparator) {
    const platform::LocalTime time{2026, 1, 1, 0, 0, 0, 0};
    const std::pair<const char*, const char*> rows[] = {
        {"/work/GameLoader/Main.cpp", "Main.cpp"}, {"Main.cpp", "Main.cpp"}, {"/Main.cpp", "/Main.cpp"}};
    for (const auto& [path, source] : rows) {
        EXPECT_EQ(FormatLogLine(time, path, 1, "f", "m"), std::string("2026-01-01 00:00:00.  0 [") + source + "<1>f] : m");
    }
}

TEST(LogLine, FunctionNamesAsTheLogShowsThem) {
    static_assert(QualifiedFunctionName("bool GameLoaderWnd::ParseCmdJson()") == "GameLoaderWnd::ParseCmdJson");
    static_assert(QualifiedFunctionName("int wWinMain()") == "wWinMain");
    static_assert(QualifiedFunctionName("bool ParseCmdParam(std::wstring&, const std::wstring&)") == "ParseCmdParam");
    static_assert(QualifiedFunctionName("std::map<int, int> A::B(int)") == "A::B");
    EXPECT_EQ(QualifiedFunctionName(__PRETTY_FUNCTION__), "{anonymous}::LogLine_FunctionNamesAsTheLogShowsThem_Test::TestBody");
}

class LoggerFile : public ::testing::Test {
protected:
    std::string Dir() const { return m_environment.Root() + "/log/"; }
    void SetUp() override { mkdir(Dir().c_str(), 0700); }
    IsolatedEnvironment m_environment;
};

TEST_F(LoggerFile, WritesDayFileWithOneLinePerCallAndDeletesTheProbe) {
    Logger logger(Dir(), "vornakel_main");
    ASSERT_TRUE(logger.IsEnabled());
    const platform::LocalTime today = platform::CurrentLocalTime();
    const std::string expectedName = Dir() + "vornakel_main_" + std::to_string(today.year) + "_" +
                                     std::to_string(today.month) + "_" + std::to_string(today.day) + ".log";
    EXPECT_EQ(logger.FileName(), expectedName);
    EXPECT_NE(access((Dir() + "debug.txt").c_str(), F_OK), 0);

    logger.LogWrite(2, "/src/Main.cpp", 72, "wWinMain", L"第一行");
    logger.LogWrite(0, "/src/Main.cpp", 73, "wWinMain", L"two\nlines\r");
    logger.LogWrite(3, "/src/Main.cpp", 74, "wWinMain", L"dropped: above every threshold");

    const std::string content = ReadWholeFile(expectedName);
    const std::regex line(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.[ \d]{2}\d \[[^\]]+\] : .*)");
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = content.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(content.substr(start, end - start));
    }
    ASSERT_EQ(lines.size(), 2u) << content;
    for (const std::string& text : lines) EXPECT_TRUE(std::regex_match(text, line)) << text;
    EXPECT_NE(lines[0].find("[Main.cpp<72>wWinMain] : 第一行"), std::string::npos);
    EXPECT_NE(lines[1].find("] : two\\nlines\\r"), std::string::npos);
}

TEST_F(LoggerFile, AppendsToTheSameDayFileAcrossLoggers) {
    {
        Logger first(Dir(), "vornakel_main");
        first.LogWrite(2, "a", 1, "f", L"first");
    }
    Logger second(Dir(), "vornakel_main");
    second.LogWrite(2, "a", 2, "f", L"second");
    const std::string content = ReadWholeFile(second.FileName());
    EXPECT_LT(content.find("first"), content.find("second"));
}

TEST_F(LoggerFile, UnwritableDirectoryDisablesEveryOutput) {
    if (geteuid() == 0) {
        // root writes anywhere: a missing directory stands in for an unwritable one.
        Logger logger(Dir() + "missing/", "vornakel_main");
        EXPECT_FALSE(logger.IsEnabled());
        return;
    }
    chmod(Dir().c_str(), 0500);
    Logger logger(Dir(), "vornakel_main");
    EXPECT_FALSE(logger.IsEnabled());
}

}  // namespace
