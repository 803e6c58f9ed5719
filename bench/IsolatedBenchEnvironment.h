#pragma once
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// Points the session folder at a private temporary place for the length of a benchmark.
class IsolatedBenchEnvironment {
public:
    IsolatedBenchEnvironment() {
        m_root = std::filesystem::temp_directory_path() / ("vk-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_root / "run");
        chmod((m_root / "run").c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", (m_root / "run").c_str(), 1);
    }
    ~IsolatedBenchEnvironment() {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

private:
    std::filesystem::path m_root;
};
