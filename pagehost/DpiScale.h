#pragma once
// The dialog's sizes and zoom from the screen's DPI.

// The scale in percent: 100, 125, 150 and 200 for 96, 120, 144 and 192 DPI, otherwise
// DPI / 96 as a percentage, truncated.
int DpiScalePercent(int dpi);
// The page zoom in percent: the square of the scale, s × s / 100, truncated.
inline int ZoomPercentForScale(int scale) { return scale * scale / 100; }

struct DialogSizes {
    int browserWidth;
    int browserHeight;
    int outerWidth;
    int outerHeight;
};

// The browser area and the outer size for a requested size, computed in single precision
// as the dialog always has: (int)(width × f), and (int)(width × f + 10) and
// (int)(height × f + caption + 10) outside, with f = scale / 100.
DialogSizes ComputeDialogSizes(int width, int height, int scale, int captionHeight);
