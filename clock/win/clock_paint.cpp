// Painting of the clock window: button-face background, the picture unscaled
// at the top-left, the three circles with the keyboard's focus rectangle,
// then the windowless labels.
#include "clockwindow.h"

#include "twips.h"
#include "vitrel_contract.h"

namespace qv::win {

COLORREF ToColorRef(std::uint32_t value) {
    if ((value & 0xFF000000u) == 0x80000000u) return GetSysColor(static_cast<int>(value & 0xFFu));
    return static_cast<COLORREF>(value & 0x00FFFFFFu);
}

void ClockWindow::Paint(HDC dc, const RECT& area) const {
    if (transparentDisplay_) {
        UniqueBrush key(CreateSolidBrush(vitrel::contract::kClockKeyColor));
        FillRect(dc, &area, key.get());
    } else {
        FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    }
    picture_.Draw(dc, 0, 0, dpi_);

    // Shape1 (under OP3) first, Shape3 (under OP1) last, so the upper circle
    // lies on top where they overlap, as the button areas are hit-tested.
    UniquePen outline(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    SelectScope pen(dc, outline.get());
    for (int b = 2; b >= 0; --b) {
        UniqueBrush fill(CreateSolidBrush(kButtons[b].fill));
        SelectScope brush(dc, fill.get());
        RECT r = TwipsRect(0, kButtons[b].top, kButtonSize, kButtonSize, dpi_);
        Ellipse(dc, r.left, r.top, r.right, r.bottom);
    }
    if (keyboardUsed_ && focusedButton_ != 0 && GetFocus() == hwnd_) {
        RECT r = TwipsRect(0, kButtons[focusedButton_ - 1].top, kButtonSize, kButtonSize, dpi_);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &r);
    }

    SelectScope font(dc, hfont_.get());
    SetBkMode(dc, TRANSPARENT);
    for (const RowLabel& label : labels_) {
        if (label.caption.empty()) continue;
        RECT r = LabelPixels(label);
        RECT visible;
        if (!IntersectRect(&visible, &r, &area)) continue;
        SetTextColor(dc, label.color);
        DrawTextW(dc, label.caption.c_str(), static_cast<int>(label.caption.size()), &r,
                  DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
    }
    PaintMarkers(dc);
}

void ClockWindow::PaintBuffered(HDC dc, const RECT& area) const {
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    UniqueBitmap bitmap(CreateCompatibleBitmap(dc, width, height));
    if (!memory || !bitmap) {
        Paint(dc, area);
        return;
    }
    {
        SelectScope select(memory.get(), bitmap.get());
        SetViewportOrgEx(memory.get(), -area.left, -area.top, nullptr);
        Paint(memory.get(), area);
        SetViewportOrgEx(memory.get(), 0, 0, nullptr);
        BitBlt(dc, area.left, area.top, width, height, memory.get(), 0, 0, SRCCOPY);
    }
}

}  // namespace qv::win
