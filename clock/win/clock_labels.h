// The clock window's windowless row labels and its design constants: label
// and button geometry in twips, circle colours, the design font.
#pragma once

#include <windows.h>

#include <string>

namespace qv::win {

// One windowless label: caption, text colour, position and size in twips.
struct RowLabel {
    std::wstring caption;
    COLORREF color = RGB(0, 0, 0);
    double left = 0, top = 0, width = 1180, height = 165;
};

struct LabelFont {
    std::wstring face = L"ＭＳ Ｐゴシック";
    double size = 8.25;  // points
    bool bold = true;
    bool italic = false;
};

// The three buttons OP1..OP3 and the circles under them (Shape3, Shape2, Shape1).
struct ClockButton {
    double top;          // twips; left is 0
    COLORREF fill;       // &HBBGGRR
    const wchar_t* tip;
};
inline constexpr double kButtonSize = 135;
inline constexpr ClockButton kButtons[3] = {
    {0, 0xC0C0FF, L"終了"},           // OP1 over Shape3
    {120, 0xFFFFC0, L"画面切り替え"},  // OP2 over Shape2
    {240, 0xC0FFFF, L"設定変更"},      // OP3 over Shape1
};

// A model colour (decimal BGR) as a COLORREF; a system colour number
// (&H800000nn) gives that system colour.
COLORREF ToColorRef(std::uint32_t value);

}  // namespace qv::win
