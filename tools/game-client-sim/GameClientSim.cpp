// Stands in for the game client that the launcher starts (built as "vornakel", beside the
// launcher). It prints the arguments it was given, as a JSON array, then plays until SIGINT
// or SIGTERM (exit 0).
//   game-client argv=["--source=TW","--token=..."]
// With VK_GAME_PLAY_SECONDS=N in its environment (the launcher passes its own on), a game
// that nobody ends is over after N seconds, and the client then starts the launcher beside
// it with the game-exit command, as the real client does when the player leaves:
//   game-client ended, started vornakel_main {"type":1}
// A signal still ends it at once, without that start.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

extern char** environ;

namespace {

volatile std::sig_atomic_t g_stop = 0;

std::string JsonString(const char* text) {
    std::string out = "\"";
    for (const char* c = text; *c != '\0'; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if (*c == '"' || *c == '\\') {
            out += '\\';
            out += *c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\u%04x", byte);
            out += escaped;
        } else {
            out += *c;
        }
    }
    return out + "\"";
}

// Seconds of play before the game ends by itself; 0 for a game that only a signal ends.
unsigned PlaySeconds() {
    const char* text = std::getenv("VK_GAME_PLAY_SECONDS");
    if (text == nullptr) return 0;
    char* end = nullptr;
    const unsigned long seconds = std::strtoul(text, &end, 10);
    return end != text && *end == '\0' && seconds <= 3600 ? static_cast<unsigned>(seconds) : 0;
}

// The launcher beside this program, given the game-exit command; waited for, so that the
// notice has been delivered when the client ends.
void StartGameExit() {
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof(self) - 1);
    std::string launcher(self, length > 0 ? static_cast<std::size_t>(length) : 0);
    const std::size_t slash = launcher.rfind('/');
    launcher = (slash == std::string::npos ? std::string(".") : launcher.substr(0, slash)) + "/vornakel_main";
    if (access(launcher.c_str(), X_OK) != 0) {
        std::printf("game-client ended, no launcher at %s\n", launcher.c_str());
        return;
    }
    std::string command = "{\"type\":1}";
    char* arguments[] = {launcher.data(), command.data(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, launcher.c_str(), nullptr, nullptr, arguments, environ) != 0) {
        std::printf("game-client ended, the launcher did not start\n");
        return;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    std::printf("game-client ended, started vornakel_main {\"type\":1}\n");
}

}  // namespace

int main(int argc, char** argv) {
    std::string arguments = "[";
    for (int i = 1; i < argc; ++i) arguments += (i > 1 ? "," : "") + JsonString(argv[i]);
    std::printf("game-client argv=%s]\n", arguments.c_str());
    std::fflush(stdout);
    // The signals wait blocked until sigsuspend, so none can slip by between the check and the wait.
    sigset_t ending;
    sigemptyset(&ending);
    sigaddset(&ending, SIGINT);
    sigaddset(&ending, SIGTERM);
    sigset_t previous;
    sigprocmask(SIG_BLOCK, &ending, &previous);
    std::signal(SIGINT, [](int) { g_stop = 1; });
    std::signal(SIGTERM, [](int) { g_stop = 1; });
    const unsigned seconds = PlaySeconds();
    if (seconds == 0) {
        while (g_stop == 0) sigsuspend(&previous);
        return 0;
    }
    // The signals stay blocked while the play time runs out, and a pending one is taken at once.
    timespec playTime{static_cast<time_t>(seconds), 0};
    siginfo_t info;
    if (sigtimedwait(&ending, &info, &playTime) >= 0) return 0;
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    StartGameExit();
    std::fflush(stdout);
    return 0;
}
