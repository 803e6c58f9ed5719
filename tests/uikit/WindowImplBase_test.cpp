#include "WindowImplBase.h"

#include "IsolatedEnvironment.h"
#include "UIContainer.h"
#include "display/HeadlessDisplay.h"

#include <cairo.h>
#include <gtest/gtest.h>

namespace {

using platform::LRESULT;

class TestWindow : public uikit::WindowImplBase {
public:
    TestWindow(std::wstring layout, int page, int resource = 130)
        : m_strLayout(std::move(layout)), m_nPage(page), m_nResource(resource) {}
    const wchar_t* GetWindowClassName() const override { return L"TestSkinnedWindow"; }
    std::wstring GetSkinFolder() const override { return L""; }
    std::wstring GetSkinFile() const override { return m_strLayout; }
    int GetResourceID() const override { return m_nResource; }

    std::vector<std::string> clicks;
    bool initialised = false;

protected:
    void InitWindow() override {
        initialised = true;
        if (auto* tab = m_PaintManager.FindControlAs<uikit::CTabLayoutUI>("wizardTab")) tab->SelectItem(m_nPage);
    }
    void OnClick(uikit::TNotifyUI& msg) override { clicks.push_back(msg.pSender->GetName()); }

private:
    std::wstring m_strLayout;
    int m_nPage;
    int m_nResource;
};

class SkinnedWindow : public ::testing::Test {
protected:
    uikit::CHeadlessDisplay& Headless() { return dynamic_cast<uikit::CHeadlessDisplay&>(uikit::Display()); }
    IsolatedEnvironment m_environment;
};

TEST_F(SkinnedWindow, MainLayoutWindowTakesItsSizeAndHitTests) {
    TestWindow window(L"GameLoader.xml", 1);
    const platform::HWND hwnd = window.Create(0, L"Kaldrenmoor", 0x10CF0000, 0);
    ASSERT_NE(hwnd, 0);
    EXPECT_TRUE(window.initialised);
    window.CenterWindow();
    const platform::RECT rect = platform::GetWindowRect(hwnd);
    EXPECT_EQ(rect.right - rect.left, 960);
    EXPECT_EQ(rect.bottom - rect.top, 620);
    const uikit::UIRect work = uikit::CHeadlessDisplay::kWorkArea;
    EXPECT_EQ(rect.left, (work.Width() - 960) / 2);
    EXPECT_EQ(rect.top, (work.Height() - 620) / 2);

    const std::tuple<int, int, LRESULT> rows[] = {
        {100, 100, platform::HTCAPTION},    {914, 18, platform::HTCLIENT},      {942, 19, platform::HTCLIENT},
        {400, 326, platform::HTCAPTION},    {100, 400, platform::HTCLIENT},     {2, 2, platform::HTTOPLEFT},
        {958, 2, platform::HTTOPRIGHT},     {2, 618, platform::HTBOTTOMLEFT},   {958, 618, platform::HTBOTTOMRIGHT},
        {480, 2, platform::HTTOP},          {2, 300, platform::HTLEFT},         {958, 300, platform::HTRIGHT},
        {480, 618, platform::HTBOTTOM},     {954, 300, platform::HTRIGHT},      {953, 300, platform::HTCAPTION},
        {480, 614, platform::HTBOTTOM},     {480, 613, platform::HTCLIENT},     {954, 614, platform::HTBOTTOMRIGHT},
    };
    for (const auto& [x, y, expected] : rows) {
        EXPECT_EQ(platform::SendMessageW(hwnd, platform::WM_NCHITTEST, 0, platform::MAKELPARAM(x, y)), expected) << x << "," << y;
    }
    platform::DestroyWindow(hwnd);
}

TEST_F(SkinnedWindow, ClicksReachTheWindowWithTheSender) {
    TestWindow window(L"GameLoader.xml", 1);
    const platform::HWND hwnd = window.Create(0, L"Clicks", 0x10CF0000, 0);
    Headless().InjectClick(hwnd, 942, 19);
    Headless().InjectClick(hwnd, 914, 18);
    Headless().InjectClick(hwnd, 500, 500);  // no button there
    EXPECT_EQ(window.clicks, (std::vector<std::string>{"btnClose", "btnMin"}));

    // Pressed on one button, released elsewhere: no click.
    platform::SendMessageW(hwnd, platform::WM_LBUTTONDOWN, 1, platform::MAKELPARAM(942, 19));
    platform::SendMessageW(hwnd, platform::WM_LBUTTONUP, 0, platform::MAKELPARAM(600, 600));
    EXPECT_EQ(window.clicks.size(), 2u);
    platform::DestroyWindow(hwnd);
}

TEST_F(SkinnedWindow, MessageBoxLayoutAndItsShadowWindow) {
    TestWindow window(L"CUSTOMMSGBOX.XML", 0);  // entry names ignore case
    const platform::HWND hwnd = window.Create(0, L"Box", 0, 0);  // created hidden
    ASSERT_TRUE(window.initialised);
    EXPECT_EQ(platform::SendMessageW(hwnd, platform::WM_NCHITTEST, 0, platform::MAKELPARAM(2, 2)), platform::HTCAPTION);
    EXPECT_EQ(platform::SendMessageW(hwnd, platform::WM_NCHITTEST, 0, platform::MAKELPARAM(200, 220)), platform::HTCLIENT);

    EXPECT_FALSE(Headless().IsVisible(hwnd));
    platform::ShowWindow(hwnd, platform::SW_SHOWNORMAL);
    EXPECT_TRUE(Headless().IsVisible(hwnd));
    EXPECT_TRUE(Headless().IsShadowVisible(hwnd));
    platform::ShowWindow(hwnd, platform::SW_SHOWMAXIMIZED);
    EXPECT_TRUE(Headless().IsVisible(hwnd));
    EXPECT_FALSE(Headless().IsShadowVisible(hwnd));
    platform::ShowWindow(hwnd, platform::SW_RESTORE);
    EXPECT_TRUE(Headless().IsShadowVisible(hwnd));
    cairo_surface_t* snapshot = Headless().Snapshot(hwnd);
    ASSERT_NE(snapshot, nullptr);
    EXPECT_EQ(cairo_image_surface_get_width(snapshot), 440 + 18);
    cairo_surface_destroy(snapshot);
    platform::ShowWindow(hwnd, platform::SW_MINIMIZE);
    EXPECT_FALSE(Headless().IsVisible(hwnd));
    EXPECT_FALSE(Headless().IsShadowVisible(hwnd));
    platform::DestroyWindow(hwnd);
    EXPECT_EQ(Headless().Snapshot(hwnd), nullptr);
}

// Hiding the message line lets the part below it move up, with nothing but the change.
TEST_F(SkinnedWindow, AVisibleChangeIsPlacedAndRepaintedByItself) {
    TestWindow window(L"CustomMsgBox.xml", 0);
    const platform::HWND hwnd = window.Create(0, L"Box", 0, 0);
    std::vector<uikit::UIRect> repainted;
    window.m_PaintManager.SetInvalidateHandler([&](const uikit::UIRect& rect) { repainted.push_back(rect); });
    const auto hitAt = [&](int x, int y) { return platform::SendMessageW(hwnd, platform::WM_NCHITTEST, 0, platform::MAKELPARAM(x, y)); };
    EXPECT_EQ(hitAt(200, 185), platform::HTCAPTION);
    EXPECT_EQ(hitAt(200, 215), platform::HTCLIENT);  // the OK button

    window.m_PaintManager.FindControl("verOnlyTip")->SetVisible(false);
    EXPECT_EQ(repainted, (std::vector<uikit::UIRect>{{0, 0, 440, 260}}));
    EXPECT_EQ(hitAt(200, 185), platform::HTCLIENT);  // the button moved up by the line's 28 pixels
    EXPECT_EQ(hitAt(200, 215), platform::HTCAPTION);
    EXPECT_EQ(window.m_PaintManager.FindControl("btnOk")->GetPos(), (uikit::UIRect{172, 180, 268, 212}));
    platform::DestroyWindow(hwnd);
}

TEST_F(SkinnedWindow, WithoutItsPackageTheWindowStaysEmptyAndUninitialised) {
    TestWindow window(L"GameLoader.xml", 0, 131);
    const platform::HWND hwnd = window.Create(0, L"Empty", 0, 0);
    ASSERT_NE(hwnd, 0);
    EXPECT_FALSE(window.initialised);
    EXPECT_EQ(window.m_PaintManager.GetRoot(), nullptr);
    platform::DestroyWindow(hwnd);
}

}  // namespace
