#pragma once
#include <string>
#include <vector>

// A program started by a test, with its standard output and error captured in files.
// Only processes started this way are ever ended by the tests.
class ChildProcess {
public:
    // onDesktop: the child reaches the test's desktop (DISPLAY); otherwise it runs off screen.
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments, const std::string& outputDir,
                 bool onDesktop = false);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits up to timeoutMs for the exit; the exit code, or -1 on time-out or a signal.
    int Wait(int timeoutMs);
    bool IsRunning();
    std::string Stdout() const;
    std::string Stderr() const;
    // Waits until standard output holds `text`; false on time-out.
    bool WaitForOutput(const std::string& text, int timeoutMs) const;
    void Terminate();
    // Ends the process at once (SIGKILL), as a crash or the system would.
    void Kill();
    int Pid() const { return m_nPid; }

private:
    int m_nPid = -1;
    int m_nExitCode = -1;
    bool m_bExited = false;
    std::string m_strStdout;
    std::string m_strStderr;
};

// Runs a program to its end and returns its exit code (-1 when it did not end in time).
int RunToEnd(const std::string& program, const std::vector<std::string>& arguments, const std::string& outputDir,
             std::string* output = nullptr, int timeoutMs = 10000);
