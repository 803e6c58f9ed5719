// A host program that loads libpagehost.so with dlopen as a game client would.
//
//   pagehost-host --emulation=NAME   calls ChangeRegedit(NAME); --emulation= alone passes an
//                                    empty name, --emulation-null a null one
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <string>

namespace {

using ChangeRegeditFunction = void (*)(const char*);

std::string LibraryPath(const char* program) {
    std::string path = program;
    const std::size_t slash = path.rfind('/');
    return (slash == std::string::npos ? std::string(".") : path.substr(0, slash)) + "/libpagehost.so";
}

}  // namespace

int main(int argc, char** argv) {
    void* library = dlopen(LibraryPath(argv[0]).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        std::fprintf(stderr, "pagehost-host: %s\n", dlerror());
        return 1;
    }
    auto changeRegedit = reinterpret_cast<ChangeRegeditFunction>(dlsym(library, "ChangeRegedit"));
    if (changeRegedit == nullptr) {
        std::fputs("pagehost-host: the library lacks ChangeRegedit\n", stderr);
        return 1;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--emulation=", 12) == 0) {
            changeRegedit(argv[i] + 12);
            std::printf("ChangeRegedit=%s\n", argv[i] + 12);
        } else if (std::strcmp(argv[i], "--emulation-null") == 0) {
            changeRegedit(nullptr);
            std::puts("ChangeRegedit=(null)");
        } else {
            std::fprintf(stderr, "pagehost-host: unknown option %s\n", argv[i]);
            return 2;
        }
    }
    dlclose(library);
    return 0;
}
