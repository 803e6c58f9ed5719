// The game hand-off: from LoadGame to the game client's first instruction (the client's own
// clock), beside a bare posix_spawn of the same program, and from the client's start to the
// end of the launcher that started it. Medians and spread over alternate runs.
//   vk-game-handoff [--runs N]
#include "CustomMessages.h"
#include "GameLoaderWnd.h"
#include "InstallRegistration.h"
#include "IsolatedEnvironment.h"
#include "Logger.h"

#include "Registry.h"
#include "Text.h"
#include "WindowCore.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

long long NowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Reads "start=<ns>" from the pipe the probe writes to.
long long ProbeStart(int fd) {
    std::string text;
    char buffer[128];
    ssize_t got;
    while (text.find('\n') == std::string::npos && (got = read(fd, buffer, sizeof(buffer))) > 0)
        text.append(buffer, got);
    const std::size_t at = text.find("start=");
    return at == std::string::npos ? 0 : std::atoll(text.c_str() + at + 6);
}

struct Spread {
    double p50, min, max;
};

Spread SpreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

// Makes fd 1 the pipe's writing end while the probe starts, so its line reaches us.
class StdoutToPipe {
public:
    StdoutToPipe() {
        pipe(m_fds);
        m_saved = dup(1);
        dup2(m_fds[1], 1);
    }
    ~StdoutToPipe() {
        dup2(m_saved, 1);
        close(m_saved);
        close(m_fds[0]);
        close(m_fds[1]);
    }
    int ReadEnd() const { return m_fds[0]; }

private:
    int m_fds[2];
    int m_saved;
};

}  // namespace

int main(int argc, char** argv) {
    int runs = 30;
    if (argc == 3 && std::strcmp(argv[1], "--runs") == 0) runs = std::atoi(argv[2]);
    platform::InitProcessLocale();
    const IsolatedEnvironment environment;
    const std::filesystem::path root = environment.Root();
    std::filesystem::create_directories(root / "games/vornakel");
    LogDir = "/nonexistent-log-dir/";  // this process writes no log
    const std::string client = (root / "games/vornakel/vornakel").string();
    std::filesystem::copy_file(VK_BIN_DIR "/vk-start-probe", client);
    platform::HKEY key = nullptr;
    platform::RegCreateKeyExW(platform::HKEY_CURRENT_USER, UninstallKeyPath(L"vornakel").c_str(),
                              platform::KEY_ALL_ACCESS, &key);
    const std::vector<platform::BYTE> icon =
        platform::RegStringBytes(platform::Utf8ToWide((root / "games/vornakel/vornakel_main").string()));
    platform::RegSetValueExW(key, L"DisplayIcon", platform::REG_SZ, icon.data(),
                             static_cast<platform::DWORD>(icon.size()));
    platform::RegCloseKey(key);

    std::vector<double> bare, loadGame, launcherGone;
    for (int run = 0; run <= runs; ++run) {
        {
            StdoutToPipe pipe;
            char* clientArgv[] = {const_cast<char*>(client.c_str()), const_cast<char*>("--source=TW"), nullptr};
            const long long start = NowNs();
            pid_t pid = 0;
            posix_spawn(&pid, client.c_str(), nullptr, nullptr, clientArgv, environ);
            const long long begun = ProbeStart(pipe.ReadEnd());
            waitpid(pid, nullptr, 0);
            if (run > 0) bare.push_back((begun - start) / 1e6);
        }
        {
            StdoutToPipe pipe;
            auto* window = new GameLoaderWnd(L"{\"source\":\"TW\",\"token\":\"bench\",\"tokenLogin\":\"0\"}");
            const platform::HWND hwnd = window->Create(0, L"Kaldrenmoor", 0x10CF0000, 0);
            const long long start = NowNs();
            window->LoadGame();
            const long long begun = ProbeStart(pipe.ReadEnd());
            platform::DestroyWindow(hwnd);
            platform::QueuedMSG message;
            while (platform::GetMessageW(&message) != 0) platform::DispatchMessageW(&message);
            if (run > 0) loadGame.push_back((begun - start) / 1e6);
        }
        {
            int fds[2];
            pipe(fds);
            posix_spawn_file_actions_t actions;
            posix_spawn_file_actions_init(&actions);
            posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
            posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
            char* launcherArgv[] = {const_cast<char*>(VK_BIN_DIR "/vornakel_main"), const_cast<char*>("--source=TW"),
                                    const_cast<char*>("--tokenLogin=1"), const_cast<char*>("--token=bench"), nullptr};
            pid_t pid = 0;
            posix_spawn(&pid, launcherArgv[0], &actions, nullptr, launcherArgv, environ);
            posix_spawn_file_actions_destroy(&actions);
            close(fds[1]);
            const long long begun = ProbeStart(fds[0]);
            waitpid(pid, nullptr, 0);
            const long long gone = NowNs();
            close(fds[0]);
            if (run > 0) launcherGone.push_back((gone - begun) / 1e6);
        }
    }
    std::printf("%-44s %10s %10s %10s\n", "game hand-off", "p50 ms", "min ms", "max ms");
    for (const auto& [name, values] : {std::pair{"bare posix_spawn to the client's start", &bare},
                                       std::pair{"LoadGame to the client's start", &loadGame},
                                       std::pair{"client's start to the launcher's end", &launcherGone}}) {
        const Spread spread = SpreadOf(*values);
        std::printf("%-44s %10.3f %10.3f %10.3f\n", name, spread.p50, spread.min, spread.max);
    }
    return 0;
}
