#pragma once
// Loading a shared module of our own at run time, so that start paths without a window
// never pay for the UI libraries.
#include <string>

namespace platform {

class LoadedModule {
public:
    // Loads the module at path; on failure IsLoaded() is false and Error() says why.
    explicit LoadedModule(const std::string& path);
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    bool IsLoaded() const { return m_hModule != nullptr; }
    const std::string& Error() const { return m_strError; }
    void* Symbol(const char* name);

private:
    void* m_hModule = nullptr;
    std::string m_strError;
};

}  // namespace platform
