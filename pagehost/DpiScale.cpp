#include "DpiScale.h"

int DpiScalePercent(int dpi) {
    switch (dpi) {
    case 96: return 100;
    case 120: return 125;
    case 144: return 150;
    case 192: return 200;
    default: return static_cast<int>(dpi / 96.0 * 100.0);
    }
}

DialogSizes ComputeDialogSizes(int width, int height, int scale, int captionHeight) {
    const float factor = static_cast<float>(scale) / 100.0f;
    const float scaledWidth = static_cast<float>(width) * factor;
    const float scaledHeight = static_cast<float>(height) * factor;
    return DialogSizes{static_cast<int>(scaledWidth), static_cast<int>(scaledHeight),
                       static_cast<int>(scaledWidth + 10.0f),
                       static_cast<int>(scaledHeight + static_cast<float>(captionHeight) + 10.0f)};
}
