#pragma once
// The launcher's diagnostic log: one line per call in the day's file
// "<LogDir><executable>_<year>_<month>_<day>.log", also copied to standard error.
#include "FileIO.h"

#include <memory>
#include <sstream>
#include <string>
#include <string_view>

namespace platform { struct LocalTime; }

// The log directory in the system ANSI code page, ending with a separator. Start-up sets
// it before the first line is written; the logger reads it once, when it is created.
extern std::string LogDir;

enum LogSinks : unsigned {
    LogSinkFile = 0x01,
    LogSinkStandardError = 0x04,
    LogSinkDebugger = 0x10,  // no debugger output here: lines for it are dropped
};

class Logger {
public:
    // The process's logger, created on first use from LogDir and the executable's name.
    static Logger& Instance();

    // Chooses the sinks by probing whether logDir takes new files; without one nothing is
    // written for the life of the logger.
    Logger(std::string logDir, const std::string& moduleBaseName);
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    void LogWrite(int level, const char* sourcePath, int line, std::string_view function, std::wstring_view message);
    // Fixes the file name from prefix and today's date, and opens the file when the file
    // sink is chosen.
    void LogOpen(const std::string& prefix, unsigned sinks);

    bool IsEnabled() const { return m_bEnabled; }
    const std::string& FileName() const { return m_strFileName; }

private:
    bool m_bEnabled = false;
    unsigned m_nSinks = 0;
    // File and standard error; the debugger sink has no output here, so no threshold.
    int m_nThresholds[2] = {2, 2};
    std::string m_strFileName;
    std::unique_ptr<platform::AppendOnlyFile> m_pFile;
};

// The text of one line, without its line end.
std::string FormatLogLine(const platform::LocalTime& time, std::string_view sourcePath, int line,
                          std::string_view function, std::string_view message);

// "bool GameLoaderWnd::ParseCmdJson()" -> "GameLoaderWnd::ParseCmdJson": the name as the
// log shows it, without return type and parameters.
constexpr std::string_view QualifiedFunctionName(std::string_view pretty) {
    std::size_t end = pretty.find('(');
    if (end == std::string_view::npos) return pretty;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < end; ++i) {
        if (pretty[i] == '<') ++depth;
        if (pretty[i] == '>') --depth;
        if (pretty[i] == ' ' && depth == 0) start = i + 1;
    }
    return pretty.substr(start, end - start);
}

void LogWrite(int level, const char* sourcePath, int line, std::string_view function, std::wstring_view message);

// Writes one line at `level` (0 failures, 2 progress); `text` is streamed into a wide
// string stream, so literals, numbers and wide strings can be joined with <<.
#define LOG_WRITE(level, text)                                                                            \
    do {                                                                                                  \
        std::wostringstream logStream_;                                                                   \
        logStream_ << text;                                                                               \
        ::LogWrite((level), __FILE__, __LINE__, ::QualifiedFunctionName(__PRETTY_FUNCTION__), logStream_.str()); \
    } while (0)
