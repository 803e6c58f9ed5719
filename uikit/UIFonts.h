#pragma once
// Fonts of the layouts, through fontconfig and pango. The layouts name the face "微软雅黑";
// it is mapped to an installed CJK sans-serif face, so every machine draws the same.
#include "UIManager.h"

typedef struct _PangoFontDescription PangoFontDescription;

namespace uikit {

// Registers the face mapping with fontconfig once per process, before the first text.
void EnsureFontAliases();
// A new description for the font; the caller frees it with pango_font_description_free.
PangoFontDescription* CreateFontDescription(const FontSpec& font);

}  // namespace uikit
