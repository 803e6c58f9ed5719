// Start to page shown, and the memory once shown, for the launcher and its floors, in one
// run, alternately. "Page shown" is the same for every program: the stand-in page asks the
// site for /client/loaded from its load event, and the time runs from the process's start to
// that request. The memory is the PSS of the program's whole process tree a moment later.
//   vk-page-shown [--runs N] [--chromium]   (needs an X server; bench/run uses xvfb-run)
#include "IsolatedEnvironment.h"
#include "ProcessTreeMemory.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

const std::string kBin = VK_BIN_DIR;
const std::string kAddress = "https://127.0.0.1:15443/client/index/vornakel?fileparam=&token=bench&source=TW";

struct Program {
    std::string name;
    std::vector<std::string> argv;
    std::vector<double> milliseconds;
    std::vector<long> pssKiB;
};

// The site's output, line by line as it arrives.
class SiteLog {
public:
    explicit SiteLog(int fd) : m_reader([this, fd] { Read(fd); }) {}
    ~SiteLog() { m_reader.detach(); }
    std::size_t Count(const std::string& line) {
        std::lock_guard lock(m_mutex);
        return static_cast<std::size_t>(std::count(m_lines.begin(), m_lines.end(), line));
    }

private:
    void Read(int fd) {
        std::string pending;
        char buffer[4096];
        ssize_t got;
        while ((got = read(fd, buffer, sizeof(buffer))) > 0) {
            pending.append(buffer, static_cast<std::size_t>(got));
            for (std::size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
                std::lock_guard lock(m_mutex);
                m_lines.push_back(pending.substr(0, end));
            }
        }
    }
    std::mutex m_mutex;
    std::vector<std::string> m_lines;
    std::thread m_reader;
};

// Starts the program in a process group of its own, so its whole tree can be ended.
pid_t Spawn(const std::vector<std::string>& arguments, int stdoutFd = -1) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (stdoutFd >= 0) posix_spawn_file_actions_adddup2(&actions, stdoutFd, 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return pid;
}

void EndTree(pid_t pid) {
    kill(-pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // its helpers go too
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 10;
    bool chromium = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) runs = std::atoi(argv[++i]);
        if (std::strcmp(argv[i], "--chromium") == 0) chromium = true;
    }
    // Everything in a home of its own.
    const IsolatedEnvironment environment;
    const std::filesystem::path root = environment.Root();

    int pipeFds[2];
    if (pipe(pipeFds) != 0) return 1;
    const pid_t site = Spawn({kBin + "/game-site-sim"}, pipeFds[1]);
    close(pipeFds[1]);
    SiteLog log(pipeFds[0]);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    std::vector<Program> programs = {
        {"vornakel_main", {kBin + "/vornakel_main", "--source=TW", "--token=bench"}, {}, {}},
        {"minimal WebKitGTK window", {kBin + "/vk-minimal-webkit-page", kAddress, VK_STAND_IN_CERTIFICATE}, {}, {}},
    };
    if (chromium) {
        programs.push_back(
            {"chromium --app",
             {"/usr/bin/chromium", "--app=" + kAddress, "--no-first-run", "--no-sandbox", "--disable-gpu",
              "--disable-background-networking", "--disable-component-update", "--disable-sync",
              "--ignore-certificate-errors", "--user-data-dir=" + (root / "chromium").string()},
             {},
             {}});
    }
    const std::string loaded = "GET /client/loaded";
    for (int run = 0; run <= runs; ++run) {
        for (Program& program : programs) {
            const std::size_t before = log.Count(loaded);
            const auto start = Clock::now();
            const pid_t pid = Spawn(program.argv);
            while (log.Count(loaded) == before && Clock::now() - start < std::chrono::seconds(30)) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
            const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            std::this_thread::sleep_for(std::chrono::milliseconds(700));  // the page settles
            const long pss = ProcessTreePssKiB(pid).Total();
            EndTree(pid);
            if (run == 0) continue;  // the first round only warms the caches
            program.milliseconds.push_back(elapsed);
            program.pssKiB.push_back(pss);
        }
    }
    kill(-site, SIGTERM);
    waitpid(site, nullptr, 0);

    std::printf("%-28s %12s %12s %12s %14s\n", "start to page shown", "median ms", "min ms", "max ms",
                "PSS median MiB");
    for (const Program& program : programs) {
        std::vector<double> pss(program.pssKiB.begin(), program.pssKiB.end());
        std::printf("%-28s %12.1f %12.1f %12.1f %14.1f\n", program.name.c_str(), Median(program.milliseconds),
                    *std::min_element(program.milliseconds.begin(), program.milliseconds.end()),
                    *std::max_element(program.milliseconds.begin(), program.milliseconds.end()), Median(pss) / 1024.0);
    }
    return 0;
}
