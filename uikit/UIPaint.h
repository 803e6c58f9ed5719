#pragma once
// Drawing a control tree: colours, image strings and single-line text, onto a cairo target.
#include "UIGeometry.h"
#include "UIImageString.h"
#include "UILabel.h"
#include "UIManager.h"

#include <cstdint>
#include <string>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace uikit {

class CSkinArchive;

class CPaintContext {
public:
    CPaintContext(cairo_t* cr, const CPaintManagerUI& manager, const CSkinArchive& archive);

    // Fills the rectangle when the colour has an alpha above 0.
    void FillRect(const UIRect& rect, std::uint32_t argb);
    // Draws an image string into the control's rectangle; false when its image cannot be read.
    bool DrawImage(const UIRect& controlRect, const std::string& imageString);
    // The same with a parsed description.
    bool DrawImage(const UIRect& controlRect, const ImageDrawSpec& drawing);
    // One line of text, drawn transparently; "&" is shown as itself.
    void DrawText(const std::string& text, const UIRect& rect, int fontIndex, std::uint32_t rgb, HorizontalAlign align,
                  VerticalAlign valign);

    // Restricts drawing to the rectangle until the matching PopClip.
    void PushClip(const UIRect& rect);
    void PopClip();

    // The decoded image for an entry name (no mask); null when it cannot be read.
    cairo_surface_t* Image(const std::string& file);

private:
    cairo_t* m_cr;
    const CPaintManagerUI& m_manager;
    const CSkinArchive& m_archive;
};

// Paints the window's whole tree into cr, at the origin.
// A tree that a change left unplaced is placed first.
void PaintWindow(cairo_t* cr, CPaintManagerUI& manager, const CSkinArchive& archive);

// How far the window's drop shadow reaches beyond each side (all 0 without a shadow).
UIRect ShadowCorners(const CPaintManagerUI& manager);
// The shadow image as a nine-patch over shadowRect, its centre left undrawn.
void PaintShadow(cairo_t* cr, const CPaintManagerUI& manager, const CSkinArchive& archive, const UIRect& shadowRect);

// The window as an image with its drop shadow around it (when it shows one): the shadow
// image as a nine-patch over the window's rectangle grown by the shadow corners, centre
// left undrawn, and the window drawn at the corners' offset.
cairo_surface_t* RenderWindowWithShadow(CPaintManagerUI& manager, const CSkinArchive& archive);

}  // namespace uikit
