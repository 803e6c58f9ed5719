// The platform asks the real launcher to end the game's clients, or to report a network
// failure, with the messages other programs of the platform send it.
#include "ChildProcess.h"
#include "IsolatedEnvironment.h"
#include "PublishedWindow.h"

#include "WindowMessaging.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <chrono>
#include <filesystem>
#include <thread>

namespace {

const std::string kBin = VK_BIN_DIR;
constexpr platform::UINT kKillGame = 1135;
constexpr platform::UINT kUnpacked = 1134;

class Supervision : public ::testing::Test {
protected:
    // The launcher as the platform starts it, told which platform window to notify.
    void Open(const std::string& winid = "1") {
        m_launcher = std::make_unique<ChildProcess>(
            kBin + "/vornakel_main", std::vector<std::string>{"--source=TW", "--token=t", "--winid=" + winid},
            m_environment.Root());
        m_hLauncher = WaitForWindow(L"Kaldrenmoor");
        ASSERT_NE(m_hLauncher, 0);
        platform::LRESULT answer = 0;
        ASSERT_TRUE(platform::SendMessageTimeoutW(m_hLauncher, platform::WM_NULL, 0, 0, 10000, &answer));
    }
    void TearDown() override {
        if (m_launcher == nullptr) return;
        if (m_launcher->IsRunning()) platform::PostMessageW(m_hLauncher, platform::WM_CLOSE, 0, 0);
        EXPECT_EQ(m_launcher->Wait(10000), 0);
    }
    // A stand-in game client started under the given program name.
    std::unique_ptr<ChildProcess> StartClient(const std::string& name) {
        const std::string folder = m_environment.Root() + "/clients" + std::to_string(m_nClients++);
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(kBin + "/vornakel", folder + "/" + name);
        auto client = std::make_unique<ChildProcess>(folder + "/" + name, std::vector<std::string>{}, folder);
        EXPECT_TRUE(client->WaitForOutput("game-client argv=", 5000));
        return client;
    }
    // The stand-in client under another user (nobody), when the tests may start one: the
    // launcher must not even look at it. Null when they run unprivileged.
    std::unique_ptr<ChildProcess> StartForeignClient() {
        if (geteuid() != 0) return nullptr;
        const std::string folder = m_environment.Root() + "/foreign";
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(kBin + "/vornakel", folder + "/vornakel");
        // nobody needs to reach the program through the folders above it.
        for (std::filesystem::path at = folder; at != at.parent_path() && at != "/tmp"; at = at.parent_path()) {
            std::filesystem::permissions(at, std::filesystem::perms::others_exec, std::filesystem::perm_options::add);
        }
        auto client = std::make_unique<ChildProcess>(
            "/usr/bin/setpriv",
            std::vector<std::string>{"--reuid=65534", "--regid=65534", "--clear-groups", folder + "/vornakel"}, folder);
        EXPECT_TRUE(client->WaitForOutput("game-client argv=", 5000)) << client->Stderr();
        EXPECT_NE(ReadWholeFile("/proc/" + std::to_string(client->Pid()) + "/status").find("Uid:\t65534\t"),
                  std::string::npos);
        return client;
    }
    std::string Log() const {
        return ReadWholeFile(m_environment.LauncherLogPath());
    }

    IsolatedEnvironment m_environment;
    std::unique_ptr<ChildProcess> m_launcher;
    platform::HWND m_hLauncher = 0;
    int m_nClients = 0;
};

// The handler returns only when the clients are gone: two of them, the second in a later pass.
// A program whose name differs in letter case is not one of them, nor another user's client.
TEST_F(Supervision, KillGameEndsEveryClientBeforeItReturnsAndLeavesOtherNames) {
    Open();
    const auto foreign = StartForeignClient();
    const auto first = StartClient("vornakel");
    const auto second = StartClient("vornakel");
    const auto other = StartClient("VORNAKEL");
    platform::LRESULT answer = 0;
    ASSERT_TRUE(platform::SendMessageTimeoutW(m_hLauncher, kKillGame, 0, 0, 60000, &answer));
    EXPECT_FALSE(first->IsRunning());
    EXPECT_FALSE(second->IsRunning());
    EXPECT_TRUE(other->IsRunning());
    if (foreign != nullptr) {
        EXPECT_TRUE(foreign->IsRunning());
        EXPECT_EQ(Log().find("idProcess:" + std::to_string(foreign->Pid())), std::string::npos);
    }
    const std::string log = Log();
    EXPECT_NE(log.find("Process32Next processName:VORNAKEL"), std::string::npos) << log;
    for (const auto* client : {first.get(), second.get()}) {
        EXPECT_NE(
            log.find("GeneralProcessExist,GetProcessIdByName vornakel idProcess:" + std::to_string(client->Pid())),
            std::string::npos)
            << log;
    }
    // Nothing left: one pass finds none and the handler is done.
    ASSERT_TRUE(platform::SendMessageTimeoutW(m_hLauncher, kKillGame, 0, 0, 5000, &answer));
    EXPECT_TRUE(m_launcher->IsRunning());
    other->Terminate();
    if (foreign != nullptr) foreign->Terminate();
}

// A network failure is reported in the box and touches no process; closing the box by the
// desktop's close leaves the launcher open.
TEST_F(Supervision, NetworkFailureShowsTheBoxAndTouchesNoProcess) {
    Open();
    const auto client = StartClient("vornakel");
    ASSERT_TRUE(platform::PostMessageW(m_hLauncher, kKillGame, 5, 0));
    const platform::HWND box = WaitForWindow(L"CustomMsgBox");
    ASSERT_NE(box, 0);
    EXPECT_TRUE(client->IsRunning());
    ASSERT_TRUE(platform::PostMessageW(box, platform::WM_SYSCOMMAND, platform::SC_CLOSE, 0));
    for (int attempt = 0; attempt < 250 && platform::IsWindow(box); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_FALSE(platform::IsWindow(box));
    platform::LRESULT answer = 0;
    EXPECT_TRUE(platform::SendMessageTimeoutW(m_hLauncher, platform::WM_NULL, 0, 0, 5000, &answer));
    EXPECT_TRUE(client->IsRunning());
    client->Terminate();
}

// Unpacking failed: the box, and then the launcher closes by itself, telling nobody.
TEST_F(Supervision, UnpackingFailureShowsTheBoxAndThenClosesTheLauncher) {
    ChildProcess platformWindow(kBin + "/tidewell-sim", {"window"}, m_environment.Root());
    ASSERT_TRUE(platformWindow.WaitForOutput("hwnd=", 5000));
    const std::string out = platformWindow.Stdout();
    Open(out.substr(5, out.find('\n') - 5));
    ASSERT_TRUE(platform::PostMessageW(m_hLauncher, kUnpacked, 3, 0));
    const platform::HWND box = WaitForWindow(L"CustomMsgBox");
    ASSERT_NE(box, 0);
    ASSERT_TRUE(platform::PostMessageW(box, platform::WM_SYSCOMMAND, platform::SC_CLOSE, 0));
    EXPECT_EQ(m_launcher->Wait(10000), 0);
    EXPECT_FALSE(platformWindow.WaitForOutput("copydata", 300));
    platformWindow.Terminate();
}

}  // namespace

namespace {

// The task-kill program the launcher falls back to ends every process of the name at once.
TEST(TaskKill, EndsEveryProcessOfTheNameAndOnlyThose) {
    IsolatedEnvironment environment;
    const std::string name = "vk-taskkill-" + std::to_string(getpid());
    std::vector<std::unique_ptr<ChildProcess>> clients;
    for (const std::string& program : {name, name, name + "x"}) {
        const std::string folder = environment.Root() + "/c" + std::to_string(clients.size());
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(kBin + "/vornakel", folder + "/" + program);
        clients.push_back(std::make_unique<ChildProcess>(folder + "/" + program, std::vector<std::string>{}, folder));
        ASSERT_TRUE(clients.back()->WaitForOutput("game-client argv=", 5000));
    }
    std::string output;
    EXPECT_EQ(RunToEnd(kBin + "/taskkill", {"/f", "/im", name}, environment.Root(), &output), 0);
    EXPECT_NE(clients[0]->Wait(5000), 0);
    EXPECT_NE(clients[1]->Wait(5000), 0);
    EXPECT_TRUE(clients[2]->IsRunning());
    EXPECT_EQ(RunToEnd(kBin + "/taskkill", {"/f", "/im", name}, environment.Root()), 128);
    EXPECT_EQ(RunToEnd(kBin + "/taskkill", {"/im", name}, environment.Root()), 2);
    clients[2]->Terminate();
}

}  // namespace
