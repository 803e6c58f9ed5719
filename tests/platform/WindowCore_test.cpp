#include "WindowCore.h"

#include "IsolatedEnvironment.h"
#include "LocalSocket.h"
#include "WindowRegistry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

struct Seen {
    platform::UINT message;
    platform::WPARAM wParam;
    platform::HWND hwnd;
};

std::vector<Seen> g_seen;

platform::LRESULT RecordingProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                platform::LPARAM lParam) {
    g_seen.push_back({message, wParam, hwnd});
    if (message == platform::WM_USER) return 42;
    if (message == platform::WM_DESTROY && wParam == 0) platform::PostQuitMessage(3);
    return platform::DefWindowProcW(hwnd, message, wParam, lParam);
}

class WindowCore : public ::testing::Test {
protected:
    void SetUp() override {
        static const bool registered = platform::RegisterClassW(L"RecordingWindow", &RecordingProc);
        (void)registered;
        g_seen.clear();
    }
    platform::HWND Create(const std::wstring& title, platform::HWND parent = 0, std::uint32_t style = 0) {
        return platform::CreateWindowExW(0, L"RecordingWindow", title, style, 0, 0, 0, 0, parent, nullptr);
    }
    // Runs the loop until WM_QUIT; returns the quit code.
    static int RunLoop() {
        platform::QueuedMSG message;
        while (platform::GetMessageW(&message) != 0) platform::DispatchMessageW(&message);
        return static_cast<int>(message.wParam);
    }
    IsolatedEnvironment m_environment;
};

TEST_F(WindowCore, PostedMessagesArriveInOrderThenCloseEndsTheLoop) {
    const platform::HWND hwnd = Create(L"Kaldrenmoor");
    ASSERT_GT(hwnd, 0);
    EXPECT_TRUE(platform::IsWindow(hwnd));
    EXPECT_EQ(platform::FindWindowW(nullptr, L"Kaldrenmoor"), hwnd);  // found while hidden
    EXPECT_FALSE(platform::IsWindowVisible(hwnd));

    EXPECT_TRUE(platform::PostMessageW(hwnd, 1133, 1, 0));
    EXPECT_TRUE(platform::PostMessageW(hwnd, 1136, 50, 0));
    EXPECT_TRUE(platform::PostMessageW(hwnd, platform::WM_CLOSE, 0, 0));
    EXPECT_EQ(RunLoop(), 3);

    std::vector<platform::UINT> order;
    for (const Seen& seen : g_seen) order.push_back(seen.message);
    EXPECT_EQ(order, (std::vector<platform::UINT>{platform::WM_CREATE, 1133, 1136, platform::WM_CLOSE,
                                                   platform::WM_DESTROY, platform::WM_NCDESTROY}));
    EXPECT_FALSE(platform::IsWindow(hwnd));
    EXPECT_EQ(platform::FindWindowW(nullptr, L"Kaldrenmoor"), 0);
    EXPECT_FALSE(platform::PostMessageW(hwnd, 1133, 0, 0));
}

TEST_F(WindowCore, SendMessageCallsTheProcedureAtOnceAndFromOtherThreads) {
    const platform::HWND hwnd = Create(L"Send");
    EXPECT_EQ(platform::SendMessageW(hwnd, platform::WM_USER, 0, 0), 42);

    platform::LRESULT fromThread = 0;
    std::thread sender([&] {
        fromThread = platform::SendMessageW(hwnd, platform::WM_USER, 0, 0);
        platform::PostMessageW(hwnd, platform::WM_CLOSE, 0, 0);
    });
    RunLoop();
    sender.join();
    EXPECT_EQ(fromThread, 42);
}

TEST_F(WindowCore, TimersQueueOneMessageAtATime) {
    const platform::HWND hwnd = Create(L"Timer");
    ASSERT_EQ(platform::SetTimer(hwnd, 9, 5), 9u);
    int ticks = 0;
    platform::QueuedMSG message;
    while (ticks < 3 && platform::GetMessageW(&message) != 0) {
        if (message.message == platform::WM_TIMER && message.wParam == 9) ++ticks;
    }
    EXPECT_TRUE(platform::KillTimer(hwnd, 9));
    EXPECT_FALSE(platform::KillTimer(hwnd, 9));
    // Ticks that pile up while nobody takes them wait as one message per timer.
    for (int i = 0; i < 3; ++i) platform::PostMessageW(hwnd, platform::WM_TIMER, 9, 0);
    platform::PostMessageW(hwnd, platform::WM_TIMER, 10, 0);
    platform::PostMessageW(hwnd, platform::WM_USER + 1, 0, 0);
    std::vector<platform::WPARAM> queued;
    while (platform::GetMessageW(&message) != 0 && message.message != platform::WM_USER + 1) {
        if (message.message == platform::WM_TIMER) queued.push_back(message.wParam);
    }
    EXPECT_EQ(queued, (std::vector<platform::WPARAM>{9, 10}));
    platform::DestroyWindow(hwnd);
    RunLoop();
}

TEST_F(WindowCore, DestroyingAnOwnerDestroysOwnedWindowsFirst) {
    const platform::HWND owner = Create(L"Owner");
    const platform::HWND owned = Create(L"Owned", owner);
    const platform::HWND child = Create(L"Child", owner, platform::WS_CHILD);
    EXPECT_EQ(platform::FindWindowW(nullptr, L"Owned"), owned);  // an owned window is top-level
    EXPECT_EQ(platform::FindWindowW(nullptr, L"Child"), 0);      // a child is not
    g_seen.clear();
    EXPECT_TRUE(platform::DestroyWindow(owner));
    EXPECT_FALSE(platform::IsWindow(owned));
    std::vector<platform::HWND> destroyed;
    for (const Seen& seen : g_seen) {
        if (seen.message == platform::WM_DESTROY) destroyed.push_back(seen.hwnd);
    }
    EXPECT_EQ(destroyed.back(), owner);
    EXPECT_EQ(destroyed.size(), 3u);
    EXPECT_FALSE(platform::IsWindow(child));
    RunLoop();
}

TEST_F(WindowCore, ShowStatesAndTitle) {
    const platform::HWND hwnd = Create(L"State");
    EXPECT_FALSE(platform::ShowWindow(hwnd, platform::SW_SHOWNORMAL));
    EXPECT_TRUE(platform::IsWindowVisible(hwnd));
    platform::ShowWindow(hwnd, platform::SW_MINIMIZE);
    EXPECT_TRUE(platform::IsIconic(hwnd));
    platform::ShowWindow(hwnd, platform::SW_RESTORE);
    EXPECT_FALSE(platform::IsIconic(hwnd));
    EXPECT_TRUE(platform::ShowWindow(hwnd, platform::SW_HIDE));
    EXPECT_FALSE(platform::IsWindowVisible(hwnd));

    EXPECT_TRUE(platform::SetWindowTextW(hwnd, L"新标题"));
    EXPECT_EQ(platform::GetWindowTextW(hwnd), L"新标题");
    EXPECT_EQ(platform::FindWindowW(nullptr, L"新标题"), hwnd);
    EXPECT_EQ(platform::FindWindowW(nullptr, L"State"), 0);
    platform::DestroyWindow(hwnd);
    RunLoop();
}

// A window whose owner accepts the connection but never answers must not hold the sender
// past its time-out.
TEST_F(WindowCore, SendToAReceiverThatNeverAnswersGivesUp) {
    const std::string socketName = "silent.sock";
    const platform::LocalSocket silent = platform::LocalSocket::Listen(platform::MessageSocketPath(socketName));
    ASSERT_TRUE(silent.IsValid());
    platform::WindowRecord record;
    record.owner = platform::CurrentProcessIdentity();
    record.socketName = socketName;
    record.title = L"Silent";
    ASSERT_NE(platform::WindowRegistry::Publish(record), 0);

    const auto start = std::chrono::steady_clock::now();
    platform::LRESULT result = 5;
    EXPECT_FALSE(platform::SendMessageTimeoutW(record.hwnd, platform::WM_USER, 0, 0, 200, &result));
    EXPECT_EQ(platform::SendMessageW(record.hwnd, platform::WM_USER, 0, 0), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(platform::kSendMessageTimeoutMs / 1000 + 5));
    EXPECT_TRUE(platform::PostMessageW(record.hwnd, platform::WM_USER, 0, 0));  // posting never waits for an answer
    platform::WindowRegistry::Remove(record.hwnd);
}

TEST_F(WindowCore, FiltersSeeMessagesFirstAndCanTakeThem) {
    struct TakeProgress : platform::MessageFilter {
        bool PreTranslateMessage(const platform::QueuedMSG& message) override {
            seen.push_back(message.message);
            return message.message == 1136;
        }
        std::vector<platform::UINT> seen;
    } filter;
    platform::AddMessageFilter(&filter);
    const platform::HWND hwnd = Create(L"Filtered");
    platform::PostMessageW(hwnd, 1136, 0, 0);
    platform::PostMessageW(hwnd, 1133, 0, 0);
    platform::PostMessageW(hwnd, platform::WM_CLOSE, 0, 0);
    platform::QueuedMSG message;
    while (platform::GetMessageW(&message) != 0) {
        if (!platform::PreTranslateMessage(message)) platform::DispatchMessageW(&message);
    }
    platform::RemoveMessageFilter(&filter);
    EXPECT_EQ(filter.seen, (std::vector<platform::UINT>{1136, 1133, platform::WM_CLOSE}));
    for (const Seen& seen : g_seen) EXPECT_NE(seen.message, 1136u);
}

TEST_F(WindowCore, NoWindowNoDelivery) {
    EXPECT_FALSE(platform::IsWindow(0));
    EXPECT_FALSE(platform::PostMessageW(123456789, platform::WM_USER, 0, 0));
    EXPECT_EQ(platform::SendMessageW(123456789, platform::WM_USER, 0, 0), 0);
    platform::COPYDATASTRUCT copy{1, 1, "x"};
    EXPECT_FALSE(platform::PostMessageW(123456789, platform::WM_COPYDATA, 0, reinterpret_cast<platform::LPARAM>(&copy)));
}

}  // namespace
