// Twips (1/1440 inch) to device pixels with the screen's real DPI.
#pragma once

#include <windows.h>

namespace qv::win {

// Pixels per inch of the screen as the system DPI (96 at 100 %): the DPI of
// windows where the system knows no other, and of the stored positions.
int ScreenDpi();
// Rounded to the nearest pixel; 15 twips are one pixel at 96 dpi.
int TwipsToPixels(double twips, int dpi = ScreenDpi());
double PixelsToTwips(int pixels, int dpi = ScreenDpi());
// A rectangle given as left, top, width, height in twips.
RECT TwipsRect(double left, double top, double width, double height, int dpi = ScreenDpi());

}  // namespace qv::win
