#include "UIMarkup.h"

#include "SkinArchive.h"
#include "UIContainer.h"
#include "UILabel.h"
#include "UIWebBrowser.h"

#include "Resources.h"
#include "Text.h"

#include <gtest/gtest.h>

namespace {

using uikit::UIRect;

std::string LayoutFromPackage(const std::string& name) {
    const auto package = platform::FindResource(L"ZIPRES", 130);
    uikit::CSkinArchive& archive = uikit::CSkinArchive::Current();
    archive.OpenMemory(package->data, package->size);
    std::string text;
    std::string error;
    EXPECT_TRUE(archive.ReadEntry(name, uikit::kMaxLayoutBytes, text, error)) << error;
    return text;
}

// Answers the launcher's own element name with the browser host control.
class BrowserCallback : public uikit::IDialogBuilderCallback {
public:
    std::unique_ptr<uikit::CControlUI> CreateControl(std::string_view className) override {
        std::string lower(className);
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return lower == "iebrowser" ? std::make_unique<uikit::CWebBrowserUI>() : nullptr;
    }
};

struct Placed {
    std::string kind;
    std::string name;
    UIRect rect;
    bool operator==(const Placed&) const = default;
};

void PrintTo(const Placed& placed, std::ostream* out) {
    *out << placed.kind << " '" << placed.name << "' " << placed.rect.left << "," << placed.rect.top << ","
         << placed.rect.right << "," << placed.rect.bottom;
}

std::vector<Placed> Build(const std::string& layout, uikit::CPaintManagerUI& manager,
                          uikit::IDialogBuilderCallback* callback = nullptr) {
    std::string error;
    manager.AttachDialog(uikit::CDialogBuilder().Create(LayoutFromPackage(layout), manager, callback, error));
    EXPECT_NE(manager.GetRoot(), nullptr) << error;
    std::vector<Placed> placed;
    if (manager.GetRoot() != nullptr) {
        manager.GetRoot()->ForEach([&](uikit::CControlUI& control) {
            placed.push_back({std::string(control.GetClass()), control.GetName(), control.GetPos()});
        });
    }
    return placed;
}

TEST(Layouts, MainWindowControlsSitWhereDesigned) {
    uikit::CPaintManagerUI manager;
    BrowserCallback callback;
    const std::vector<Placed> expected = {
        {"VerticalLayout", "verLayout", {0, 0, 960, 620}},
        {"TabLayout", "wizardTab", {0, 0, 960, 620}},
        {"VerticalLayout", "", {0, 0, 960, 620}},
        {"WebBrowser", "ie", {0, 0, 960, 620}},
        {"VerticalLayout", "vLayoutDownload", {0, 0, 960, 620}},
        {"Button", "btnMin", {902, 6, 926, 30}},
        {"Button", "btnClose", {928, 4, 956, 34}},
        {"Progress", "progress", {320, 320, 850, 333}},
        {"Label", "progTip", {320, 332, 850, 352}},
    };
    EXPECT_EQ(Build("GameLoader.xml", manager, &callback), expected);

    const uikit::WindowAttributes& window = manager.Window();
    EXPECT_EQ(window.size, (uikit::UISize{960, 620}));
    EXPECT_EQ(window.sizebox, (UIRect{6, 6, 6, 6}));
    EXPECT_EQ(window.caption, (UIRect{0, 0, 0, 340}));
    EXPECT_EQ(window.mininfo, (uikit::UISize{960, 620}));
    EXPECT_EQ(window.maxinfo, (uikit::UISize{960, 620}));
    EXPECT_TRUE(window.showShadow);
    EXPECT_EQ(window.shadowImage, "shadow.png");
    EXPECT_EQ(window.shadowCorner, (UIRect{9, 9, 9, 9}));
    ASSERT_EQ(manager.GetFontCount(), 7);
    EXPECT_EQ(manager.GetFont(6).size, 28);
    EXPECT_TRUE(manager.GetFont(1).underline);
    EXPECT_EQ(manager.GetFont(-1).size, 12);  // out of range: the default font
    EXPECT_EQ(manager.GetFont(0).name, "微软雅黑");

    auto* tab = manager.FindControlAs<uikit::CTabLayoutUI>("wizardTab");
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->GetCurSel(), 0);
    EXPECT_TRUE(tab->GetItemAt(0)->IsVisible());
    EXPECT_FALSE(tab->GetItemAt(1)->IsVisible());
    EXPECT_TRUE(tab->SelectItem(1));
    EXPECT_FALSE(tab->GetItemAt(0)->IsVisible());
    EXPECT_FALSE(tab->SelectItem(2));

    auto* tip = manager.FindControlAs<uikit::CLabelUI>("progTip");
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->GetText(), "正在下载游戏文件，请耐心等待.");
    EXPECT_EQ(tip->GetTextColor(), 0xFFEEE8D9u);
    EXPECT_EQ(tip->GetAlign(), uikit::HorizontalAlign::Center);
}

TEST(Layouts, MessageBoxControlsSitWhereDesignedAndTheLaterNameWins) {
    uikit::CPaintManagerUI manager;
    const std::vector<Placed> expected = {
        {"VerticalLayout", "verLayout", {0, 0, 440, 260}},
        {"VerticalLayout", "", {0, 0, 440, 134}},
        {"Label", "labelTip", {14, 11, 114, 39}},
        {"Button", "btnClose", {408, 8, 432, 32}},
        {"Label", "labelIcon", {190, 50, 250, 110}},
        {"HorizontalLayout", "verOnlyTip", {0, 134, 440, 162}},
        {"Control", "", {0, 134, 10, 162}},
        {"Label", "labelTip", {10, 134, 430, 162}},
        {"Control", "", {430, 134, 440, 162}},
        {"VerticalLayout", "", {0, 162, 440, 260}},
        {"Button", "btnOk", {172, 208, 268, 240}},
    };
    EXPECT_EQ(Build("CustomMsgBox.xml", manager), expected);
    auto* tip = manager.FindControlAs<uikit::CLabelUI>("labelTip");
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->GetPos(), (UIRect{10, 134, 430, 162}));  // the message line, not the title
    EXPECT_EQ(tip->GetTextColor(), 0x444444u);
    EXPECT_EQ(manager.Window().caption, (UIRect{0, 0, 0, 260}));
    EXPECT_EQ(manager.Window().sizebox, (UIRect{0, 0, 0, 0}));
}

TEST(Layouts, UnknownElementsAreSkippedWithTheirChildren) {
    uikit::CPaintManagerUI manager;
    const std::vector<Placed> placed = Build("GameLoader.xml", manager);  // no callback for IeBrowser
    EXPECT_EQ(manager.FindControl("ie"), nullptr);
    EXPECT_EQ(placed.size(), 8u);
}

struct MarkupRow {
    const char* name;
    std::string controlMarkup;
    UIRect expected;
};

void PrintTo(const MarkupRow& row, std::ostream* out) { *out << row.name; }

class PositionRows : public ::testing::TestWithParam<MarkupRow> {};

TEST_P(PositionRows, PosWidthAndHeightInEitherOrder) {
    uikit::CPaintManagerUI manager;
    std::string error;
    const std::string markup = "<Window size=\"960,620\"><VerticalLayout>" + GetParam().controlMarkup + "</VerticalLayout></Window>";
    manager.AttachDialog(uikit::CDialogBuilder().Create(markup, manager, nullptr, error));
    ASSERT_NE(manager.FindControl("c"), nullptr) << error;
    EXPECT_EQ(manager.FindControl("c")->GetPos(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PositionRows,
    ::testing::ValuesIn(std::vector<MarkupRow>{
        {"pos_then_size", R"(<Label name="c" float="true" pos="320,320,0,0" width="530" height="13"/>)", {320, 320, 850, 333}},
        {"size_then_pos", R"(<Label name="c" float="true" width="530" height="13" pos="320,320,0,0"/>)", {320, 320, 850, 333}},
        {"pos_sizes_itself", R"(<Label name="c" float="true" pos="902,6,926,30"/>)", {902, 6, 926, 30}},
        {"width_after_pos_wins", R"(<Label name="c" float="true" pos="10,10,20,20" width="50"/>)", {10, 10, 60, 20}},
        {"stacked_shares_the_rest", R"(<Control height="20"/><Label name="c"/><Control/>)", {0, 20, 960, 320}},
        {"hidden_child_takes_no_room", R"(<Control height="20" visible="false"/><Label name="c" height="5"/>)", {0, 0, 960, 5}},
    }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Markup, BrokenLayoutsGiveAnError) {
    std::string deep = "<Window>";
    for (int i = 0; i < 5000; ++i) deep += "<VerticalLayout>";
    for (const std::string& markup : {std::string("<Window><Label></Window>"), std::string("<Dialog><Label/></Dialog>"),
                                      std::string("<Window/>"), std::string(""), deep}) {
        uikit::CPaintManagerUI manager;
        std::string error;
        EXPECT_EQ(uikit::CDialogBuilder().Create(markup, manager, nullptr, error), nullptr);
        EXPECT_FALSE(error.empty());
    }
}

// Found by fuzzing: a UTF-8 lead byte cut off at the very end of an attribute name made the
// XML library read past the end of the text.
TEST(Markup, TruncatedUtf8AtTheEndIsNoOverread) {
    for (const std::string& markup : {std::string("<Window><Label name=\"x\" te\xe6\xad"), std::string("<Window><La\xd3"),
                                      std::string("<Window a\xf0")}) {
        uikit::CPaintManagerUI manager;
        std::string error;
        EXPECT_EQ(uikit::CDialogBuilder().Create(markup, manager, nullptr, error), nullptr);
    }
}

TEST(Progress, ValuesOutsideTheRangeAreIgnoredAndTheFillUsesIntegerDivision) {
    uikit::CProgressUI progress;
    for (const auto& [name, value] : {std::pair{"min", "0"}, {"max", "100"}, {"value", "40"}}) progress.SetAttribute(name, value);
    EXPECT_EQ(progress.GetValue(), 40);
    progress.SetValue(101);
    EXPECT_EQ(progress.GetValue(), 40);
    progress.SetValue(-1);
    EXPECT_EQ(progress.GetValue(), 40);
    EXPECT_EQ(progress.FillExtent(530), 212);
    progress.SetValue(33);
    EXPECT_EQ(progress.FillExtent(530), 174);  // 33 * 530 / 100, rounded down
    progress.SetValue(100);
    EXPECT_EQ(progress.FillExtent(530), 530);

    uikit::CProgressUI inverted;
    inverted.SetAttribute("min", "50");
    inverted.SetAttribute("max", "10");  // raised to min + 1 before painting
    EXPECT_EQ(inverted.FillExtent(100), 0);
}

// A browser that only records where it was sent, where it was put and whether it shows.
class RecordingBrowser : public platform::BrowserControl {
public:
    explicit RecordingBrowser(std::vector<std::string>& visits) : m_visits(visits) {}
    void SetRect(int x, int y, int width, int height) override { rect = {x, y, x + width, y + height}; }
    void SetVisible(bool shown) override { visible = shown; }
    void Navigate(const std::wstring& url) override { m_visits.push_back(platform::WideToUtf8(url)); }
    void SetZoomPercent(int) override {}
    int GetZoomPercent() const override { return 100; }
    void SetSilent(bool) override {}
    void EnableScriptObject(const std::string&) override {}
    UIRect rect;
    bool visible = false;

private:
    std::vector<std::string>& m_visits;
};

TEST(WebBrowser, DelayCreateBeforeAutoNaviNeverVisitsTheHomePage) {
    std::vector<std::string> visits;
    uikit::SetBrowserFactory([&](platform::HWND, platform::IBrowserEvents&) { return std::make_unique<RecordingBrowser>(visits); });
    uikit::CWebBrowserUI layoutOrder;
    for (const auto& [name, value] : {std::pair{"homepage", "https://search.example/"}, {"delaycreate", "false"}, {"autonavi", "true"}}) {
        layoutOrder.SetAttribute(name, value);
    }
    EXPECT_TRUE(layoutOrder.IsCreated());
    layoutOrder.SetPos({0, 0, 10, 10});
    EXPECT_TRUE(visits.empty());

    uikit::CWebBrowserUI otherOrder;
    for (const auto& [name, value] : {std::pair{"homepage", "https://search.example/"}, {"autonavi", "true"}, {"delaycreate", "false"}}) {
        otherOrder.SetAttribute(name, value);
    }
    EXPECT_EQ(visits, std::vector<std::string>{"https://search.example/"});

    uikit::CWebBrowserUI delayed;
    delayed.SetAttribute("homepage", "https://search.example/2");
    delayed.SetAttribute("autonavi", "true");
    EXPECT_FALSE(delayed.IsCreated());
    delayed.SetPos({0, 0, 10, 10});  // created when first placed
    EXPECT_TRUE(delayed.IsCreated());
    EXPECT_EQ(visits.back(), "https://search.example/2");
    uikit::SetBrowserFactory(nullptr);
}

// The browser sits where its control is laid out and shows only while its page shows.
TEST(WebBrowser, TheBrowserFollowsItsControlsPlaceAndVisibility) {
    std::vector<std::string> visits;
    std::vector<RecordingBrowser*> made;
    uikit::SetBrowserFactory([&](platform::HWND, platform::IBrowserEvents&) {
        auto browser = std::make_unique<RecordingBrowser>(visits);
        made.push_back(browser.get());
        return browser;
    });
    uikit::CPaintManagerUI manager;
    BrowserCallback callback;
    Build("GameLoader.xml", manager, &callback);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0]->rect, (UIRect{0, 0, 960, 620}));
    EXPECT_TRUE(made[0]->visible);
    manager.FindControlAs<uikit::CTabLayoutUI>("wizardTab")->SelectItem(1);
    manager.EnsureLayout();
    EXPECT_FALSE(made[0]->visible);
    manager.FindControlAs<uikit::CTabLayoutUI>("wizardTab")->SelectItem(0);
    manager.FindControl("ie")->SetVisible(false);
    EXPECT_FALSE(made[0]->visible);
    manager.FindControl("ie")->SetVisible(true);
    EXPECT_TRUE(made[0]->visible);
    EXPECT_TRUE(visits.empty());  // the placeholder home page is never visited
    uikit::SetBrowserFactory(nullptr);
}

// What a control finds around it at the moment each of its attributes is applied.
struct AttributeMoment {
    std::string control;
    std::string attribute;
    bool hasParent;
    bool parentHasParent;
    bool hasManager;
    bool operator==(const AttributeMoment&) const = default;
};

void PrintTo(const AttributeMoment& moment, std::ostream* out) {
    *out << moment.control << "." << moment.attribute << " parent=" << moment.hasParent
         << " grandparent=" << moment.parentHasParent << " manager=" << moment.hasManager;
}

class ProbeUI : public uikit::CControlUI {
public:
    explicit ProbeUI(std::vector<AttributeMoment>& moments) : m_moments(moments) {}
    void SetAttribute(std::string_view name, std::string_view value) override {
        if (name != "name") {
            m_moments.push_back({GetName(), std::string(name), GetParent() != nullptr,
                                 GetParent() != nullptr && GetParent()->GetParent() != nullptr, GetManager() != nullptr});
        }
        CControlUI::SetAttribute(name, value);
    }

private:
    std::vector<AttributeMoment>& m_moments;
};

class ProbeCallback : public uikit::IDialogBuilderCallback {
public:
    std::unique_ptr<uikit::CControlUI> CreateControl(std::string_view className) override {
        return className == "Probe" ? std::make_unique<ProbeUI>(moments) : nullptr;
    }
    std::vector<AttributeMoment> moments;
};

// Children are built and added first, then the control joins its parent and the manager,
// then its attributes apply; every top-level element becomes a control, the first the tree.
TEST(Markup, AttributesApplyOnceTheControlIsInItsPlace) {
    const std::string markup =
        "<Window size=\"10,10\"><VerticalLayout name=\"root\"><VerticalLayout name=\"inner\">"
        "<Probe name=\"deep\" a=\"1\" /></VerticalLayout></VerticalLayout>"
        "<Font name=\"f\" /><Probe name=\"second\" b=\"2\" /></Window>";
    uikit::CPaintManagerUI manager;
    ProbeCallback callback;
    std::string error;
    std::unique_ptr<uikit::CControlUI> root = uikit::CDialogBuilder().Create(markup, manager, &callback, error);
    ASSERT_NE(root, nullptr) << error;
    EXPECT_EQ(root->GetName(), "root");
    // "inner" is not yet inside "root" while "deep" takes its attributes.
    EXPECT_EQ(callback.moments, (std::vector<AttributeMoment>{{"deep", "a", true, false, true}, {"second", "b", false, false, true}}));
    manager.AttachDialog(std::move(root));
    EXPECT_EQ(manager.FindControl("second"), nullptr);  // outside the tree
    EXPECT_NE(manager.FindControl("deep"), nullptr);
}

}  // namespace
