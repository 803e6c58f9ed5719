#include "Module.h"

#include <dlfcn.h>

namespace platform {

LoadedModule::LoadedModule(const std::string& path) : m_hModule(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (m_hModule == nullptr) {
        const char* error = dlerror();
        m_strError = error != nullptr ? error : "unknown error";
    }
}

LoadedModule::~LoadedModule() {
    // The module stays mapped: objects it created (windows, sources on the main loop)
    // may still be referenced during process exit.
}

void* LoadedModule::Symbol(const char* name) {
    if (m_hModule == nullptr) return nullptr;
    void* symbol = dlsym(m_hModule, name);
    if (symbol == nullptr) {
        const char* error = dlerror();
        m_strError = error != nullptr ? error : "symbol not found";
    }
    return symbol;
}

}  // namespace platform
