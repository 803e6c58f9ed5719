#include "IsolatedEnvironment.h"

#include "Clock.h"

#include <sys/stat.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

IsolatedEnvironment::IsolatedEnvironment() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vk-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_strRoot = pattern;
    for (const char* folder : {"/home", "/data", "/config", "/cache", "/run"}) {
        std::filesystem::create_directories(m_strRoot + folder);
    }
    chmod((m_strRoot + "/run").c_str(), 0700);
    setenv("HOME", (m_strRoot + "/home").c_str(), 1);
    setenv("XDG_DATA_HOME", DataHome().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (m_strRoot + "/config").c_str(), 1);
    setenv("XDG_CONFIG_DIRS", (m_strRoot + "/config-dirs").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", RuntimeDir().c_str(), 1);
    setenv("XDG_CACHE_HOME", (m_strRoot + "/cache").c_str(), 1);
}

IsolatedEnvironment::~IsolatedEnvironment() {
    std::error_code ignored;
    std::filesystem::remove_all(m_strRoot, ignored);
}

std::string IsolatedEnvironment::LauncherLogPath() const {
    const platform::LocalTime today = platform::CurrentLocalTime();
    return DataHome() + "/Tidewell/Log/vornakel_main_" + std::to_string(today.year) + "_" +
           std::to_string(today.month) + "_" + std::to_string(today.day) + ".log";
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteWholeFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}
