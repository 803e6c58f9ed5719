#include "Logger.h"

#include "Clock.h"
#include "Directories.h"
#include "StandardStreams.h"
#include "Text.h"

#include <cstdio>

std::string LogDir;

namespace {

// One call writes one line: line breaks inside a message are written escaped.
std::string EscapeLineBreaks(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += c;
        }
    }
    return out;
}

std::string_view SourceName(std::string_view path) {
    const std::size_t separator = path.find_last_of('/');
    return separator == std::string_view::npos || separator == 0 ? path : path.substr(separator + 1);
}

}  // namespace

std::string FormatLogLine(const platform::LocalTime& time, std::string_view sourcePath, int line,
                          std::string_view function, std::string_view message) {
    char stamp[64];
    std::snprintf(stamp, sizeof(stamp), "%d-%02d-%02d %02d:%02d:%02d.%3d", time.year, time.month, time.day,
                  time.hour, time.minute, time.second, time.millisecond);
    std::string text(stamp);
    text += " [";
    text += SourceName(sourcePath);
    text += "<" + std::to_string(line) + ">";
    text += function;
    text += "] : ";
    text += message;
    return text;
}

Logger& Logger::Instance() {
    static Logger logger(LogDir, platform::GetModuleBaseName());
    return logger;
}

Logger::Logger(std::string logDir, const std::string& moduleBaseName) {
    // The probe file only tells whether the directory takes files. A documents folder of
    // the console user or a drive D, the other places the log could go, do not exist here.
    if (platform::ProbeWritableFile(logDir + "debug.txt")) {
        LogOpen(logDir + moduleBaseName, LogSinkFile | LogSinkStandardError | LogSinkDebugger);
    }
}

void Logger::LogOpen(const std::string& prefix, unsigned sinks) {
    for (int& threshold : m_nThresholds) threshold = 2;
    const platform::LocalTime today = platform::CurrentLocalTime();
    m_strFileName = prefix + "_" + std::to_string(today.year) + "_" + std::to_string(today.month) + "_" +
                    std::to_string(today.day) + ".log";
    if ((sinks & LogSinkFile) != 0) {
        m_pFile = std::make_unique<platform::AppendOnlyFile>(m_strFileName);
    }
    m_nSinks = sinks;
    m_bEnabled = true;
}

void Logger::LogWrite(int level, const char* sourcePath, int line, std::string_view function,
                      std::wstring_view message) {
    if (!m_bEnabled) return;
    const std::string narrow =
        EscapeLineBreaks(platform::WideToMultiByte(platform::CP_THREAD_ACP, message));
    const std::string text =
        FormatLogLine(platform::CurrentLocalTime(), sourcePath, line, function, narrow) + "\n";
    if ((m_nSinks & LogSinkFile) != 0 && level <= m_nThresholds[0] && m_pFile != nullptr) m_pFile->Append(text);
    if ((m_nSinks & LogSinkStandardError) != 0 && level <= m_nThresholds[1]) platform::WriteStandardError(text);
}

void LogWrite(int level, const char* sourcePath, int line, std::string_view function, std::wstring_view message) {
    Logger::Instance().LogWrite(level, sourcePath, line, function, message);
}
