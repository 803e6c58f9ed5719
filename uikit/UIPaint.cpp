#include "UIPaint.h"

#include "SkinArchive.h"
#include "UIControl.h"
#include "UIFonts.h"
#include "UIImageCache.h"

#include <algorithm>
#include <cairo.h>
#include <pango/pangocairo.h>

namespace uikit {
namespace {

void SetSourceArgb(cairo_t* cr, std::uint32_t argb, bool useAlpha) {
    const double alpha = useAlpha ? ((argb >> 24) & 0xFF) / 255.0 : 1.0;
    cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0, alpha);
}

UIRect Intersect(const UIRect& a, const UIRect& b) {
    UIRect out{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (out.right < out.left) out.right = out.left;
    if (out.bottom < out.top) out.bottom = out.top;
    return out;
}

// Draws the source part of the image stretched (or tiled) into the destination.
void DrawPart(cairo_t* cr, cairo_surface_t* image, const UIRect& source, const UIRect& dest, double alpha, bool xtiled,
              bool ytiled) {
    if (source.Width() <= 0 || source.Height() <= 0 || dest.Width() <= 0 || dest.Height() <= 0) return;
    cairo_save(cr);
    cairo_rectangle(cr, dest.left, dest.top, dest.Width(), dest.Height());
    cairo_clip(cr);
    cairo_translate(cr, dest.left, dest.top);
    const double scaleX = xtiled ? 1.0 : double(dest.Width()) / source.Width();
    const double scaleY = ytiled ? 1.0 : double(dest.Height()) / source.Height();
    cairo_scale(cr, scaleX, scaleY);
    cairo_surface_t* part = cairo_surface_create_for_rectangle(image, source.left, source.top, source.Width(), source.Height());
    cairo_set_source_surface(cr, part, 0, 0);
    cairo_pattern_t* pattern = cairo_get_source(cr);
    if (xtiled || ytiled) cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
    else cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    if (alpha >= 1.0) cairo_paint(cr);
    else cairo_paint_with_alpha(cr, alpha);
    cairo_surface_destroy(part);
    cairo_restore(cr);
}

void PaintTree(CControlUI& control, CPaintContext& paint) {
    if (!control.IsVisible()) return;
    control.DoPaint(paint);
}

}  // namespace

CPaintContext::CPaintContext(cairo_t* cr, const CPaintManagerUI& manager, const CSkinArchive& archive)
    : m_cr(cr), m_manager(manager), m_archive(archive) {}

void CPaintContext::FillRect(const UIRect& rect, std::uint32_t argb) {
    if (!IsVisibleFill(argb)) return;
    SetSourceArgb(m_cr, argb, true);
    cairo_rectangle(m_cr, rect.left, rect.top, rect.Width(), rect.Height());
    cairo_fill(m_cr);
}

cairo_surface_t* CPaintContext::Image(const std::string& file) { return CImageCache::Instance().Get(m_archive, file, std::nullopt); }

bool CPaintContext::DrawImage(const UIRect& controlRect, const std::string& imageString) {
    if (imageString.empty()) return false;
    return DrawImage(controlRect, ParseImageString(imageString));
}

bool CPaintContext::DrawImage(const UIRect& controlRect, const ImageDrawSpec& drawing) {
    cairo_surface_t* image = CImageCache::Instance().Get(m_archive, drawing.file, drawing.mask);
    if (image == nullptr) return false;
    const int imageWidth = cairo_image_surface_get_width(image);
    const int imageHeight = cairo_image_surface_get_height(image);
    UIRect dest = controlRect;
    if (drawing.dest) {
        dest = UIRect{controlRect.left + drawing.dest->left, controlRect.top + drawing.dest->top,
                      controlRect.left + drawing.dest->right, controlRect.top + drawing.dest->bottom};
        dest = Intersect(dest, controlRect);
    }
    UIRect source{0, 0, imageWidth, imageHeight};
    if (drawing.source) source = Intersect(*drawing.source, source);
    const double alpha = drawing.fade / 255.0;
    const UIRect& c = drawing.corner;
    if (drawing.xtiled || drawing.ytiled) {
        DrawPart(m_cr, image, source, dest, alpha, drawing.xtiled, drawing.ytiled);
        return true;
    }
    // Nine parts: corners keep their size, edges stretch one way, the centre both ways.
    const int sx[4] = {source.left, source.left + c.left, source.right - c.right, source.right};
    const int sy[4] = {source.top, source.top + c.top, source.bottom - c.bottom, source.bottom};
    const int dx[4] = {dest.left, dest.left + c.left, dest.right - c.right, dest.right};
    const int dy[4] = {dest.top, dest.top + c.top, dest.bottom - c.bottom, dest.bottom};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            if (drawing.hole && row == 1 && column == 1) continue;
            DrawPart(m_cr, image, UIRect{sx[column], sy[row], sx[column + 1], sy[row + 1]},
                     UIRect{dx[column], dy[row], dx[column + 1], dy[row + 1]}, alpha, false, false);
        }
    }
    return true;
}

void CPaintContext::DrawText(const std::string& text, const UIRect& rect, int fontIndex, std::uint32_t rgb,
                             HorizontalAlign align, VerticalAlign valign) {
    if (text.empty() || rect.Width() <= 0 || rect.Height() <= 0) return;
    const FontSpec& font = m_manager.GetFont(fontIndex);
    PangoLayout* layout = pango_cairo_create_layout(m_cr);
    PangoFontDescription* description = CreateFontDescription(font);
    pango_layout_set_font_description(layout, description);
    pango_font_description_free(description);
    if (font.underline) {
        PangoAttrList* attributes = pango_attr_list_new();
        pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        pango_layout_set_attributes(layout, attributes);
        pango_attr_list_unref(attributes);
    }
    // A single line: line breaks are not followed, and what does not fit is cut off.
    std::string line = text;
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::replace(line.begin(), line.end(), '\r', ' ');
    pango_layout_set_text(layout, line.c_str(), -1);
    pango_layout_set_single_paragraph_mode(layout, TRUE);
    int width = 0;
    int height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    int x = rect.left;
    if (align == HorizontalAlign::Center) x = rect.left + (rect.Width() - width) / 2;
    if (align == HorizontalAlign::Right) x = rect.right - width;
    int y = rect.top;
    if (valign == VerticalAlign::Center) y = rect.top + (rect.Height() - height) / 2;
    if (valign == VerticalAlign::Bottom) y = rect.bottom - height;
    cairo_save(m_cr);
    cairo_rectangle(m_cr, rect.left, rect.top, rect.Width(), rect.Height());
    cairo_clip(m_cr);
    SetSourceArgb(m_cr, rgb, false);  // text ignores the alpha byte
    cairo_move_to(m_cr, x, y);
    pango_cairo_show_layout(m_cr, layout);
    cairo_restore(m_cr);
    g_object_unref(layout);
}

void CPaintContext::PushClip(const UIRect& rect) {
    cairo_save(m_cr);
    cairo_rectangle(m_cr, rect.left, rect.top, rect.Width(), rect.Height());
    cairo_clip(m_cr);
}

void CPaintContext::PopClip() { cairo_restore(m_cr); }

void PaintWindow(cairo_t* cr, CPaintManagerUI& manager, const CSkinArchive& archive) {
    if (manager.GetRoot() == nullptr) return;
    manager.EnsureLayout();
    CPaintContext paint(cr, manager, archive);
    PaintTree(*manager.GetRoot(), paint);
}

UIRect ShadowCorners(const CPaintManagerUI& manager) {
    const WindowAttributes& window = manager.Window();
    return window.showShadow && !window.shadowImage.empty() ? window.shadowCorner : UIRect{};
}

void PaintShadow(cairo_t* cr, const CPaintManagerUI& manager, const CSkinArchive& archive, const UIRect& shadowRect) {
    const WindowAttributes& window = manager.Window();
    if (!window.showShadow || window.shadowImage.empty()) return;
    CPaintContext paint(cr, manager, archive);
    ImageDrawSpec drawing = ParseImageString(window.shadowImage);
    drawing.corner = window.shadowCorner;
    drawing.hole = true;
    paint.DrawImage(shadowRect, drawing);
}

cairo_surface_t* RenderWindowWithShadow(CPaintManagerUI& manager, const CSkinArchive& archive) {
    const UIRect corner = ShadowCorners(manager);
    const UISize size = manager.Window().size;
    const int width = size.cx + corner.left + corner.right;
    const int height = size.cy + corner.top + corner.bottom;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    PaintShadow(cr, manager, archive, UIRect{0, 0, width, height});
    cairo_translate(cr, corner.left, corner.top);
    cairo_rectangle(cr, 0, 0, size.cx, size.cy);
    cairo_clip(cr);
    PaintWindow(cr, manager, archive);
    cairo_destroy(cr);
    return surface;
}

}  // namespace uikit
