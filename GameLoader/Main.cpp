#include "Main.h"

#include "CmdParam.h"
#include "CustomMessages.h"
#include "GameExit.h"
#include "GameCode.h"
#include "LauncherWindowModule.h"
#include "Logger.h"

#include "Directories.h"
#include "Module.h"
#include "NamedMutex.h"
#include "Text.h"
#include "WindowMessaging.h"

namespace {

// Creates a folder of the log path when it is missing; a failure shows later as a log
// that cannot be written.
void EnsureFolder(const std::wstring& path) {
    if (!platform::PathFileExistsW(path)) platform::CreateDirectoryW(path);
}

std::wstring PrepareLogDir() {
    std::wstring path = platform::GetLocalAppDataDir() + platform::kPathSeparator + kPlatformFolder;
    EnsureFolder(path);
    path += platform::kPathSeparator;
    path += L"Log";
    EnsureFolder(path);
    return path + platform::kPathSeparator;
}

int RunWindow(const std::wstring& cmdJson) {
    const std::wstring modulePath =
        platform::GetModuleDir() + platform::kPathSeparator + platform::AnsiToWide(kLauncherWindowModule);
    platform::LoadedModule module(platform::WideToMultiByte(platform::CP_ACP, modulePath));
    auto run = reinterpret_cast<RunLauncherWindowFunction>(module.Symbol(kRunLauncherWindowSymbol));
    if (run == nullptr) {
        LOG_WRITE(0, L"load window module false:" << platform::AnsiToWide(module.Error()));
        return 0;
    }
    return run(cmdJson.c_str());
}

}  // namespace

int wWinMain() {
    const std::wstring logPath = PrepareLogDir();
    LogDir = platform::WideToMultiByte(platform::CP_ACP, logPath);
    LOG_WRITE(2, L"Logger::initializePathDir:" << logPath);

    const std::wstring windowTitle = platform::AnsiToWide(kWindowTitle);
    const std::wstring mutexName = platform::AnsiToWide(kMutexName);

    // The name lives as long as this process; ownership is given up at once.
    platform::NamedMutex mutex(mutexName);
    if (mutex.LastError() == platform::ERROR_ALREADY_EXISTS) {
        LOG_WRITE(2, L"CreateMutex ERROR_ALREADY_EXISTS:" << mutexName);
        const platform::HWND running = platform::FindWindowW(nullptr, windowTitle);
        if (platform::IsWindow(running)) {
            LOG_WRITE(2, L"FindWindow:" << windowTitle);
            platform::PostMessageW(running, WM_LAUNCHER_ACTIVATE, 0, 0);
        }
        mutex.ReleaseMutex();
        return 0;
    }
    mutex.ReleaseMutex();
    // A name that could not be made counts as this being the first launcher; say why.
    if (!mutex.ErrorText().empty()) LOG_WRITE(0, L"CreateMutex false:" << platform::AnsiToWide(mutex.ErrorText()));
    LOG_WRITE(2, L"CreateMutex not ERROR_ALREADY_EXISTS:" << mutexName);

    std::wstring cmdJson;
    if (!ParseCmdParam(cmdJson)) {
        LOG_WRITE(0, L"ParseCmdParam false");
        return 0;
    }
    // The game has ended: the platform window is told, and no window library is loaded.
    if (IsGameExit(cmdJson)) return 0;
    RunWindow(cmdJson);
    return 0;
}
