#pragma once
#include <string>

// Points HOME and the XDG variables at a fresh temporary folder, so nothing a test does
// reaches the real home folder or another test's session.
class IsolatedEnvironment {
public:
    IsolatedEnvironment();
    ~IsolatedEnvironment();
    IsolatedEnvironment(const IsolatedEnvironment&) = delete;
    IsolatedEnvironment& operator=(const IsolatedEnvironment&) = delete;

    const std::string& Root() const { return m_strRoot; }
    std::string DataHome() const { return m_strRoot + "/data"; }
    std::string RuntimeDir() const { return m_strRoot + "/run"; }
    // The launcher's log file of today in this home.
    std::string LauncherLogPath() const;

private:
    std::string m_strRoot;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& content);
