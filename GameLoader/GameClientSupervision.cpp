#include "GameClientSupervision.h"

#include "CustomMsgBox.h"
#include "GameLoaderWnd.h"
#include "Logger.h"

#include "Directories.h"
#include "Process.h"
#include "ProcessSnapshot.h"
#include "Text.h"

#include <chrono>
#include <cstring>
#include <map>
#include <thread>

namespace {

constexpr std::uint32_t kNoProcess = 0xFFFFFFFF;
constexpr int kMaxPasses = 30;

// The processes GetProcessIdByName found, by id: KillProcess ends only that very process.
std::map<std::uint32_t, platform::ProcessIdentity>& Found() {
    static std::map<std::uint32_t, platform::ProcessIdentity> found;
    return found;
}

bool OpenProcess(std::uint32_t processId, platform::ProcessIdentity& process) {
    const auto it = Found().find(processId);
    process = it != Found().end() ? it->second : platform::IdentityOf(static_cast<int>(processId));
    return platform::IsProcessAlive(process);
}

}  // namespace

const std::vector<std::wstring>& GameClientList() {
    static const std::vector<std::wstring> list = {L"vornakel"};
    return list;
}

std::uint32_t GetProcessIdByName(const std::wstring& name) {
    if (name.empty()) return kNoProcess;
    const std::vector<platform::ProcessEntry> processes = platform::SnapshotProcesses();
    if (processes.empty()) return kNoProcess;
    const std::string wanted = platform::WideToUtf8(name);
    for (const platform::ProcessEntry& process : processes) {
        LOG_WRITE(0, L"Process32Next processName:" << platform::Utf8ToWide(process.executableName));
        if (process.executableName == wanted) {
            const auto id = static_cast<std::uint32_t>(process.identity.pid);
            Found()[id] = process.identity;
            return id;
        }
    }
    return kNoProcess;
}

bool KillProcess(std::uint32_t processId) {
    platform::ProcessIdentity process;
    if (!OpenProcess(processId, process)) {
        LOG_WRITE(0, L"OpenProcess1 " << processId << L" falsed code:" << ESRCH);
        // There is no privilege to ask for here: the user's own processes are open to it.
        LOG_WRITE(0, L"EnableDebugPrivilege " << processId << L" true");
        if (!OpenProcess(processId, process)) {
            LOG_WRITE(0, L"OpenProcess2 " << processId << L" falsed code:" << ESRCH);
            return false;
        }
    }
    return platform::TerminateProcess(process);
}

void KillGeneralProcess() {
    for (const std::wstring& name : GameClientList()) {
        const std::uint32_t id = GetProcessIdByName(name);
        if (id == kNoProcess || KillProcess(id)) continue;
        // The task-kill program beside the launcher, never one found elsewhere.
        const std::string taskkill =
            platform::WideToMultiByte(platform::CP_ACP, platform::GetModuleDir()) + "/taskkill";
        std::string error;
        if (!platform::SpawnDetached(taskkill, {"/f", "/im", platform::WideToMultiByte(platform::CP_ACP, name)},
                                     &error)) {
            LOG_WRITE(0, L"KillProcess " << name << L" falsed code:" << platform::AnsiToWide(error));
        }
    }
}

bool GeneralProcessExist() {
    for (const std::wstring& name : GameClientList()) {
        const std::uint32_t id = GetProcessIdByName(name);
        if (id != kNoProcess) {
            LOG_WRITE(0, L"GeneralProcessExist,GetProcessIdByName " << name << L" idProcess:" << id);
            return true;
        }
    }
    return false;
}

void KillGameLoop() {
    for (int pass = 1; pass <= kMaxPasses; ++pass) {
        if (!GeneralProcessExist()) return;
        KillGeneralProcess();
        std::this_thread::sleep_for(std::chrono::seconds(1));  // the steady clock: a clock change never shortens it
    }
}

void GameLoaderWnd::OnKillGame(platform::WPARAM flag) {
    if (flag != 0) {
        ShowMsgBox(GetHWND(), L"网络异常");
        return;
    }
    // One worker does the clean-up while this thread waits for it, as the platform expects
    // the call to return only when it is done.
    std::thread worker(&KillGameLoop);
    worker.join();
}
