// A host program that loads libQuorraGameCloudSdk.so as a game client would, asks it for the
// token on its own command line, and sends payment addresses through it.
//
//   cloudsdk-host [--bufsize=N] [--pay=URL ...] [--pay-before-token] [--token=... --userID=...]
//
// Prints "GetTokenBuff=R token=<buffer>", then "GoPayUrl=R" for each --pay option in order;
// with --pay-before-token the payments come first, as from a host that never asked for its
// token.
#include <charconv>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <vector>

namespace {

using GetTokenBuffFunction = int (*)(char*, std::uint32_t);
using GoPayUrlFunction = int (*)(const char*);

std::string LibraryPath(const char* program) {
    std::string path = program;
    const std::size_t slash = path.rfind('/');
    return (slash == std::string::npos ? std::string(".") : path.substr(0, slash)) + "/libQuorraGameCloudSdk.so";
}

}  // namespace

int main(int argc, char** argv) {
    // A game client runs in its user's locale; the library converts with it.
    std::setlocale(LC_ALL, "");
    std::uint32_t bufferSize = 1024;
    std::vector<std::string> payments;
    bool payBeforeToken = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument.starts_with("--bufsize=")) {
            const std::string_view value = argument.substr(10);
            if (std::from_chars(value.data(), value.data() + value.size(), bufferSize).ec != std::errc()) {
                std::fputs("cloudsdk-host: --bufsize takes a number\n", stderr);
                return 2;
            }
        } else if (argument == "--pay-before-token") {
            payBeforeToken = true;
        } else if (argument.starts_with("--pay=")) {
            payments.emplace_back(argument.substr(6));
        }
    }

    void* library = dlopen(LibraryPath(argv[0]).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        std::fprintf(stderr, "cloudsdk-host: %s\n", dlerror());
        return 1;
    }
    auto getTokenBuff = reinterpret_cast<GetTokenBuffFunction>(dlsym(library, "GetTokenBuff"));
    auto goPayUrl = reinterpret_cast<GoPayUrlFunction>(dlsym(library, "GoPayUrl"));
    if (getTokenBuff == nullptr || goPayUrl == nullptr) {
        std::fputs("cloudsdk-host: the library lacks its exports\n", stderr);
        return 1;
    }

    const auto pay = [&] {
        for (const std::string& url : payments) std::printf("GoPayUrl=%d\n", goPayUrl(url.c_str()));
    };
    if (payBeforeToken) pay();
    std::vector<char> buffer(bufferSize + 1, '\0');  // one spare zero, so the buffer always prints
    const int tokenResult = getTokenBuff(bufferSize == 0 ? nullptr : buffer.data(), bufferSize);
    std::printf("GetTokenBuff=%d token=%s\n", tokenResult, buffer.data());
    if (!payBeforeToken) pay();
    dlclose(library);
    return 0;
}
