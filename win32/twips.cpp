// Twips to pixels at a DPI; the system DPI when none is given.
#include "twips.h"

#include <cmath>

#include "handles.h"

namespace qv::win {

int ScreenDpi() {
    const WindowDc screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
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
