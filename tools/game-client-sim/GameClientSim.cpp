// Stands in for the game client that the launcher starts (built as "vornakel", beside the
// launcher). It prints the arguments it was given, as a JSON array, then plays until SIGINT
// or SIGTERM (exit 0).
//   game-client argv=["--source=TW","--token=..."]
#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>

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
    while (g_stop == 0) sigsuspend(&previous);
    return 0;
}
