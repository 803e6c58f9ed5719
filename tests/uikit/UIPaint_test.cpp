// Pixel checks on headless renders of both layouts.
#include "UIPaint.h"

#include "DownloadBackground.h"
#include "SkinArchive.h"
#include "UIContainer.h"
#include "UIImageCache.h"
#include "UILabel.h"
#include "UIMarkup.h"

#include "Resources.h"

#include <cairo.h>
#include <gtest/gtest.h>

namespace {

struct Pixel {
    int a, r, g, b;
};

class Render {
public:
    explicit Render(const std::string& layout) {
        const auto package = platform::FindResource(L"ZIPRES", 130);
        uikit::CSkinArchive::Current().OpenMemory(package->data, package->size);
        std::string markup;
        std::string error;
        uikit::CSkinArchive::Current().ReadEntry(layout, uikit::kMaxLayoutBytes, markup, error);
        m_manager.AttachDialog(uikit::CDialogBuilder().Create(markup, m_manager, nullptr, error));
    }
    ~Render() {
        if (m_surface != nullptr) cairo_surface_destroy(m_surface);
    }
    uikit::CPaintManagerUI& Manager() { return m_manager; }
    template <typename Control>
    Control& Find(const std::string& name) {
        auto* control = m_manager.FindControlAs<Control>(name);
        EXPECT_NE(control, nullptr) << name;
        return *control;
    }
    void Draw() {
        if (m_surface != nullptr) cairo_surface_destroy(m_surface);
        m_manager.Layout(m_manager.Window().size);
        m_surface = uikit::RenderWindowWithShadow(m_manager, uikit::CSkinArchive::Current());
        cairo_surface_flush(m_surface);
    }
    // A pixel of the surface (window coordinates when `window` is true), alpha unpremultiplied.
    Pixel At(int x, int y, bool window = true) const {
        if (window) {
            x += 9;
            y += 9;
        }
        const auto* row = cairo_image_surface_get_data(m_surface) + y * cairo_image_surface_get_stride(m_surface);
        const std::uint32_t value = reinterpret_cast<const std::uint32_t*>(row)[x];
        const int a = value >> 24;
        const auto channel = [&](int shift) { return a == 0 ? 0 : int(((value >> shift) & 0xFF) * 255 / a); };
        return Pixel{a, channel(16), channel(8), channel(0)};
    }
    int Width() const { return cairo_image_surface_get_width(m_surface); }
    int Height() const { return cairo_image_surface_get_height(m_surface); }

private:
    uikit::CPaintManagerUI m_manager;
    cairo_surface_t* m_surface = nullptr;
};

bool IsWhite(const Pixel& p) { return p.a == 255 && p.r == 255 && p.g == 255 && p.b == 255; }
bool IsFill(const Pixel& p) { return p.a == 255 && p.r > 200 && p.b < 120; }   // the orange fill
bool IsTrack(const Pixel& p) { return p.a == 255 && p.r < 120 && p.b < 140; }  // the dark track

// The minimise and close buttons show on the page's white, and their hot state shows too.
TEST(Paint, DownloadPageButtonsShowOnItsBackgroundAndWhenHot) {
    Render render("GameLoader.xml");
    render.Find<uikit::CTabLayoutUI>("wizardTab").SelectItem(1);
    for (const char* name : {"btnMin", "btnClose"}) {
        auto& button = render.Find<uikit::CButtonUI>(name);
        render.Draw();
        const uikit::UIRect rect = button.GetPos();
        std::vector<int> normal;
        int dark = 0;
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) {
                const Pixel p = render.At(x, y);
                normal.push_back(p.r + p.g + p.b);
                if (p.r < 140 && p.g < 140 && p.b < 140) ++dark;
            }
        }
        EXPECT_GE(dark, 12) << name << ": its mark does not show on white";
        button.SetState(uikit::CButtonUI::State::Hot);
        render.Draw();
        int changed = 0;
        std::size_t i = 0;
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) {
                const Pixel p = render.At(x, y);
                if (std::abs(p.r + p.g + p.b - normal[i++]) > 60) ++changed;
            }
        }
        EXPECT_GE(changed, 50) << name << ": the hot state changes nothing";
        button.SetState(uikit::CButtonUI::State::Normal);
    }
}

TEST(Paint, DownloadPageOfThisGameIsPlainWhiteWithTheBar) {
    Render render("GameLoader.xml");
    EXPECT_TRUE(DownloadBackgroundFor("vornakel").empty());
    render.Find<uikit::CTabLayoutUI>("wizardTab").SelectItem(1);
    render.Draw();
    EXPECT_EQ(render.Width(), 960 + 18);
    EXPECT_EQ(render.Height(), 620 + 18);
    for (const auto& [x, y] : {std::pair{5, 5}, {480, 100}, {950, 610}, {319, 326}}) EXPECT_TRUE(IsWhite(render.At(x, y))) << x << "," << y;
    EXPECT_TRUE(IsTrack(render.At(330, 326)));  // value 0: no fill
}

TEST(Paint, ProgressFillFollowsTheValue) {
    const std::pair<int, int> rows[] = {{0, 0}, {40, 212}, {100, 530}};
    for (const auto& [value, fill] : rows) {
        Render render("GameLoader.xml");
        render.Find<uikit::CTabLayoutUI>("wizardTab").SelectItem(1);
        render.Find<uikit::CProgressUI>("progress").SetValue(value);
        render.Draw();
        if (fill > 6) {
            EXPECT_TRUE(IsFill(render.At(320 + fill - 4, 326))) << value;
        }
        if (fill < 524) {
            EXPECT_TRUE(IsTrack(render.At(320 + fill + 4, 326))) << value;
        }
    }
}

TEST(Paint, ButtonsAndBackgroundOfAnotherGame) {
    Render render("GameLoader.xml");
    render.Find<uikit::CTabLayoutUI>("wizardTab").SelectItem(1);
    render.Find<uikit::CControlUI>("vLayoutDownload").SetBkImage(std::string(DownloadBackgroundFor("mirt")));
    render.Draw();
    const Pixel background = render.At(914, 40);
    EXPECT_FALSE(IsWhite(background));
    // On a dark picture the dark marks stand on their pale discs.
    const Pixel minus = render.At(914, 18);  // the line of the minimise image
    EXPECT_LT(minus.r + minus.g + minus.b, 3 * 140);
    const Pixel disc = render.At(914, 12);  // above the line, inside its disc
    EXPECT_GT(disc.r + disc.g + disc.b, 3 * 230);
    const Pixel cross = render.At(942, 19);  // the centre of the close cross, stretched to 28x30
    EXPECT_LT(cross.r + cross.g + cross.b, 3 * 140);

    auto& close = render.Find<uikit::CButtonUI>("btnClose");
    close.SetState(uikit::CButtonUI::State::Hot);
    render.Draw();
    const Pixel hot = render.At(942, 10);  // above the cross: the red hover disc
    EXPECT_GT(hot.r, 200);
    EXPECT_LT(hot.g, 100);
}

TEST(Paint, TextColoursIgnoreAlpha) {
    Render render("CustomMsgBox.xml");
    render.Find<uikit::CLabelUI>("labelTip").SetText("网络连接异常");
    render.Draw();
    int dark = 0;
    for (int y = 134; y < 162; ++y) {
        for (int x = 10; x < 430; ++x) {
            const Pixel p = render.At(x, y);
            if (p.r == 0x44 && p.g == 0x44 && p.b == 0x44) ++dark;
        }
    }
    EXPECT_GT(dark, 10);  // "#444444" has no alpha byte, yet draws opaque dark grey
    EXPECT_TRUE(IsWhite(render.At(5, 200)));
    const Pixel ok = render.At(172, 224);  // the confirm button's blue border
    EXPECT_LT(ok.r, 80);
    EXPECT_GT(ok.b, 200);
}

TEST(Paint, ShadowFadesOutwards) {
    Render render("CustomMsgBox.xml");
    render.Draw();
    const int middle = render.Height() / 2;
    int previous = -1;
    for (int x = 0; x < 9; ++x) {
        const int alpha = render.At(x, middle, false).a;
        EXPECT_GE(alpha, previous) << x;
        previous = alpha;
    }
    EXPECT_LT(render.At(0, middle, false).a, 10);
    EXPECT_GT(render.At(8, middle, false).a, 40);
    EXPECT_LT(render.At(8, middle, false).a, 255);
    EXPECT_EQ(render.At(9, middle, false).a, 255);  // the window itself
}

TEST(Paint, NoImageIsDecodedTwice) {
    Render first("GameLoader.xml");
    first.Find<uikit::CTabLayoutUI>("wizardTab").SelectItem(1);
    first.Draw();
    const int decodes = uikit::CImageCache::Instance().DecodeCount();
    first.Draw();
    Render second("GameLoader.xml");
    second.Find<uikit::CTabLayoutUI>("wizardTab").SelectItem(1);
    second.Draw();
    EXPECT_EQ(uikit::CImageCache::Instance().DecodeCount(), decodes);
}

TEST(Paint, EveryImageHasTheSizeItsLayoutExpects) {
    Render render("GameLoader.xml");  // opens the package
    const std::tuple<const char*, int, int> rows[] = {
        {"shadow.png", 58, 58},          {"gmin_normal.png", 24, 24},     {"gmin_hover.png", 24, 24},
        {"gclose_normal.png", 28, 28},   {"gclose_hover.png", 28, 28},    {"gprogress_bk.png", 530, 13},
        {"gprogress_fore.png", 530, 13}, {"dovr_download_bk.jpg", 960, 620}, {"mirt_download_bk.jpg", 960, 620},
        {"osse_download_bk.jpg", 960, 620}, {"btn_close.png", 24, 24},   {"btn_close_hover.png", 24, 24},
        {"icon_warning.png", 60, 60},    {"confirm.png", 96, 32},
    };
    for (const auto& [file, width, height] : rows) {
        cairo_surface_t* image = uikit::CImageCache::Instance().Get(uikit::CSkinArchive::Current(), file, std::nullopt);
        ASSERT_NE(image, nullptr) << file;
        EXPECT_EQ(cairo_image_surface_get_width(image), width) << file;
        EXPECT_EQ(cairo_image_surface_get_height(image), height) << file;
    }
}

TEST(Paint, AMissingImageDrawsNothing) {
    Render render("CustomMsgBox.xml");
    render.Find<uikit::CControlUI>("labelIcon").SetBkImage("no_such_image.png");
    render.Draw();
    EXPECT_TRUE(IsWhite(render.At(220, 80)));
}

}  // namespace
