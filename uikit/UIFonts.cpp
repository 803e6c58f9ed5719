#include "UIFonts.h"

#include <fontconfig/fontconfig.h>
#include <pango/pango.h>

namespace uikit {
namespace {

constexpr char kFontAliases[] = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <alias binding="same">
    <family>微软雅黑</family>
    <prefer><family>Noto Sans CJK SC</family></prefer>
  </alias>
</fontconfig>
)";

}  // namespace

void EnsureFontAliases() {
    static const bool registered = [] {
        FcConfig* config = FcConfigGetCurrent();
        return FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kFontAliases), FcTrue) == FcTrue;
    }();
    (void)registered;
}

PangoFontDescription* CreateFontDescription(const FontSpec& font) {
    EnsureFontAliases();
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, font.name.empty() ? "sans-serif" : font.name.c_str());
    pango_font_description_set_absolute_size(description, font.size * PANGO_SCALE);
    if (font.bold) pango_font_description_set_weight(description, PANGO_WEIGHT_BOLD);
    if (font.italic) pango_font_description_set_style(description, PANGO_STYLE_ITALIC);
    return description;
}

}  // namespace uikit
