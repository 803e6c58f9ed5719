#include "ChildProcess.h"

#include "IsolatedEnvironment.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

std::string UniqueName(const std::string& dir, const char* suffix) {
    static std::atomic<int> counter{0};
    return dir + "/child-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + suffix;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& outputDir, bool onDesktop)
    : m_strStdout(UniqueName(outputDir, ".out")), m_strStderr(UniqueName(outputDir, ".err")) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    // Children reach a desktop only when asked to: otherwise the programs run off screen,
    // whatever the test runs on.
    std::vector<char*> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (onDesktop || (std::strncmp(*variable, "DISPLAY=", 8) != 0 && std::strncmp(*variable, "WAYLAND_DISPLAY=", 16) != 0)) {
            environment.push_back(*variable);
        }
    }
    environment.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, m_strStdout.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, m_strStderr.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int error = posix_spawn(&m_nPid, program.c_str(), &actions, nullptr, argv.data(), environment.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) throw std::runtime_error("cannot start " + program);
}

ChildProcess::~ChildProcess() {
    if (!m_bExited) {
        Terminate();
        Wait(5000);
    }
}

int ChildProcess::Wait(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!m_bExited) {
        int status = 0;
        const pid_t done = waitpid(m_nPid, &status, WNOHANG);
        if (done == m_nPid) {
            m_bExited = true;
            m_nExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return m_nExitCode;
}

bool ChildProcess::IsRunning() { return Wait(0) == -1 && !m_bExited; }

std::string ChildProcess::Stdout() const { return ReadWholeFile(m_strStdout); }
std::string ChildProcess::Stderr() const { return ReadWholeFile(m_strStderr); }

bool ChildProcess::WaitForOutput(const std::string& text, int timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Stdout().find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void ChildProcess::Terminate() {
    if (!m_bExited && m_nPid > 0) kill(m_nPid, SIGTERM);
}

void ChildProcess::Kill() {
    if (!m_bExited && m_nPid > 0) kill(m_nPid, SIGKILL);
}

int RunToEnd(const std::string& program, const std::vector<std::string>& arguments, const std::string& outputDir,
             std::string* output, int timeoutMs) {
    ChildProcess child(program, arguments, outputDir);
    const int code = child.Wait(timeoutMs);
    if (output != nullptr) *output = child.Stdout();
    return code;
}
