// Twips to pixels. The program is system DPI aware, so one DPI serves all windows.
#include "twips.h"

#include <cmath>

namespace qv::win {

int ScreenDpi() {
    HDC dc = GetDC(nullptr);
    int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

int TwipsToPixels(double twips, int dpi) {
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

double PixelsToTwips(int pixels, int dpi) {
    return pixels * 1440.0 / dpi;
}

RECT TwipsRect(double left, double top, double width, double height, int dpi) {
    RECT r;
    r.left = TwipsToPixels(left, dpi);
    r.top = TwipsToPixels(top, dpi);
    r.right = r.left + TwipsToPixels(width, dpi);
    r.bottom = r.top + TwipsToPixels(height, dpi);
    return r;
}

}  // namespace qv::win
