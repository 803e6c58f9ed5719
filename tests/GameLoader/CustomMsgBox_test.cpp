// The message box over a real launcher window, off screen. What the player does while the box
// is up is played by steps run from the box's own message loop, one per tick of a helper
// window's timer.
#include "CustomMsgBox.h"
#include "GameLoaderWnd.h"

#include "IsolatedEnvironment.h"

#include "UIContainer.h"
#include "UILabel.h"
#include "display/HeadlessDisplay.h"

#include "WindowCore.h"
#include "WindowMessaging.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace {

constexpr wchar_t kStepperClass[] = L"MsgBoxTestStepper";
constexpr std::uintptr_t kStepTimer = 1;
constexpr platform::UINT kStepMs = 50;

std::deque<std::function<void()>>& Steps() {
    static std::deque<std::function<void()>> steps;
    return steps;
}

platform::LRESULT StepperProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                              platform::LPARAM lParam) {
    if (message == platform::WM_TIMER && wParam == kStepTimer && !Steps().empty()) {
        const std::function<void()> step = std::move(Steps().front());
        Steps().pop_front();
        step();
        return 0;
    }
    return platform::DefWindowProcW(hwnd, message, wParam, lParam);
}

// Where the layout puts the buttons, in the box's client coordinates.
constexpr int kOkX = 220, kOkY = 224;
constexpr int kCloseX = 420, kCloseY = 20;

class MsgBox : public ::testing::Test {
protected:
    void SetUp() override {
        static const bool registered = platform::RegisterClassW(kStepperClass, &StepperProc);
        (void)registered;
        m_hStepper = platform::CreateWindowExW(0, kStepperClass, L"", 0, 0, 0, 0, 0, 0, nullptr);
        platform::SetTimer(m_hStepper, kStepTimer, kStepMs);
        m_pOwner = new GameLoaderWnd(L"{}");
        m_hOwner = m_pOwner->Create(0, L"Kaldrenmoor", 0x10CF0000, 0);
        m_bOwnerQuitTaken = false;
        ASSERT_NE(m_hOwner, 0);
    }
    void TearDown() override {
        Steps().clear();
        if (platform::IsWindow(m_hOwner)) platform::DestroyWindow(m_hOwner);
        Drain();
        platform::DestroyWindow(m_hStepper);
    }
    // Serves what the box's buttons posted to the owner. The launcher window's end posts the
    // quit that would end the launcher; it is taken here, once.
    void Drain() {
        platform::PostMessageW(m_hStepper, platform::WM_NULL, 0, 0);
        platform::QueuedMSG message;
        while (platform::GetMessageW(&message) != 0) {
            platform::DispatchMessageW(&message);
            if (message.message == platform::WM_NULL && message.hwnd == m_hStepper) break;
        }
        if (platform::IsWindow(m_hOwner) || m_bOwnerQuitTaken) return;
        while (platform::GetMessageW(&message) != 0) platform::DispatchMessageW(&message);
        m_bOwnerQuitTaken = true;
    }
    static platform::HWND Box() { return platform::FindWindowW(nullptr, L"CustomMsgBox"); }
    static CustomMsgBox& BoxObject() { return *static_cast<CustomMsgBox*>(platform::GetWindowUserData(Box())); }
    static uikit::CHeadlessDisplay& Headless() { return dynamic_cast<uikit::CHeadlessDisplay&>(uikit::Display()); }

    IsolatedEnvironment m_environment;
    platform::HWND m_hStepper = 0;
    GameLoaderWnd* m_pOwner = nullptr;
    platform::HWND m_hOwner = 0;
    bool m_bOwnerQuitTaken = false;
};

// Each way of closing the box: its code, and whether the owner went with it.
TEST_F(MsgBox, EachWayOfClosingGivesItsCodeAndOnlyTheButtonsCloseTheOwner) {
    struct Row {
        const char* way;
        std::function<void()> close;
        int code;
        bool ownerCloses;
    };
    const Row rows[] = {
        {"OK", [] { Headless().InjectClick(Box(), kOkX, kOkY); }, 1, true},
        {"cross", [] { Headless().InjectClick(Box(), kCloseX, kCloseY); }, 8, true},
        {"Alt+F4", [] { platform::SendMessageW(Box(), platform::WM_SYSCOMMAND, platform::SC_CLOSE, 0); }, 0, false},
    };
    for (const Row& row : rows) {
        if (&row != rows) {
            TearDown();
            SetUp();
        }
        bool ownerDisabled = false;
        Steps().push_back([&] { ownerDisabled = !platform::IsWindowEnabled(m_hOwner); });
        Steps().push_back(row.close);
        EXPECT_EQ(ShowMsgBox(m_hOwner, L"释放文件出错"), row.code) << row.way;
        EXPECT_TRUE(ownerDisabled) << row.way;
        EXPECT_EQ(Box(), 0) << row.way;
        EXPECT_TRUE(platform::IsWindow(m_hOwner)) << row.way << ": the owner's close comes after the box's";
        EXPECT_TRUE(platform::IsWindowEnabled(m_hOwner)) << row.way;
        Drain();
        EXPECT_EQ(platform::IsWindow(m_hOwner), !row.ownerCloses) << row.way;
    }
}

TEST_F(MsgBox, TheTextGoesToTheMessageLineAndTheBoxSitsOverItsOwner) {
    platform::MoveWindow(m_hOwner, 100, 80, 960, 600);
    for (const std::wstring text : {L"网络异常", L""}) {
        std::string line, title;
        platform::RECT box{};
        Steps().push_back([&] {
            box = platform::GetWindowRect(Box());
            line = BoxObject().m_PaintManager.FindControl("labelTip")->GetText();
            const auto* top = BoxObject().m_PaintManager.FindControlAs<uikit::CContainerUI>("verLayout")->GetItemAt(0);
            title = static_cast<const uikit::CContainerUI*>(top)->GetItemAt(0)->GetText();
            platform::SendMessageW(Box(), platform::WM_SYSCOMMAND, platform::SC_CLOSE, 0);
        });
        EXPECT_EQ(ShowMsgBox(m_hOwner, text), 0);
        EXPECT_EQ(line, text.empty() ? "" : "网络异常");
        EXPECT_EQ(title, "提示");
        EXPECT_EQ(box.right - box.left, 440);
        EXPECT_EQ(box.bottom - box.top, 260);
        EXPECT_EQ(box.left, 100 + (960 - 440) / 2);
        EXPECT_EQ(box.top, 80 + (600 - 260) / 2);
    }
}

// An owner that hangs over the desktop's corner: the box is pulled into the work area.
TEST_F(MsgBox, ABoxThatWouldStickOutIsMovedInsideTheWorkArea) {
    const uikit::UIRect work = uikit::Display().WorkArea();
    platform::MoveWindow(m_hOwner, work.right - 200, work.bottom - 100, 960, 600);
    platform::RECT box{};
    Steps().push_back([&] {
        box = platform::GetWindowRect(Box());
        platform::SendMessageW(Box(), platform::WM_SYSCOMMAND, platform::SC_CLOSE, 0);
    });
    ShowMsgBox(m_hOwner, L"网络异常");
    EXPECT_EQ(box.right, work.right);
    EXPECT_EQ(box.bottom, work.bottom);
}

// A click on the disabled owner shakes the box for eight ticks; a second click during the shake
// starts it again from the rest position, and the box ends where it began.
TEST_F(MsgBox, AClickOnTheOwnerShakesTheBoxWhichComesBackToRest) {
    platform::RECT rest{};
    std::vector<platform::RECT> seen;
    Steps().push_back([&] {
        rest = platform::GetWindowRect(Box());
        Headless().InjectClick(m_hOwner, 300, 300);
    });
    const auto sample = [&] { seen.push_back(platform::GetWindowRect(Box())); };
    for (int i = 0; i < 3; ++i) Steps().push_back(sample);
    Steps().push_back([&] {
        sample();
        Headless().InjectClick(m_hOwner, 300, 300);
    });
    for (int i = 0; i < 20; ++i) Steps().push_back(sample);  // 1 s, past the 640 ms of the shake
    Steps().push_back([] { platform::SendMessageW(Box(), platform::WM_SYSCOMMAND, platform::SC_CLOSE, 0); });
    EXPECT_EQ(ShowMsgBox(m_hOwner, L"网络异常"), 0);

    ASSERT_FALSE(seen.empty());
    bool moved = false;
    for (const platform::RECT& at : seen) {
        EXPECT_TRUE(at.left == rest.left || at.left == rest.left - 1) << at.left;
        EXPECT_EQ(at.top - rest.top, at.left - rest.left);
        EXPECT_EQ(at.right - at.left, rest.right - rest.left);
        moved = moved || at.left != rest.left;
    }
    EXPECT_TRUE(moved);
    EXPECT_EQ(seen.back().left, rest.left);
    EXPECT_EQ(seen.back().top, rest.top);
    EXPECT_TRUE(platform::IsWindow(m_hOwner));  // clicks on the owner never reach its buttons
}

// A quit while the box is up ends its loop and is handed on to the loop outside it.
TEST_F(MsgBox, AQuitEndsTheBoxAndIsPostedAgain) {
    Steps().push_back([] { platform::PostQuitMessage(7); });
    EXPECT_EQ(ShowMsgBox(m_hOwner, L"网络异常"), 0);
    EXPECT_EQ(Box(), 0);
    EXPECT_TRUE(platform::IsWindowEnabled(m_hOwner));
    platform::QueuedMSG message;
    EXPECT_EQ(platform::GetMessageW(&message), 0);
    EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
