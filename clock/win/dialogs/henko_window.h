// The display settings window HENKO ("設定変更"): its window class and the
// identifiers of its controls, for whoever drives it (tests, the help).
#pragma once

namespace qv::win::henko {

inline constexpr wchar_t kClassName[] = L"QV.HENKO";
inline constexpr wchar_t kTitle[] = L"設定変更";
// What screen readers call the picture path's box GZU.
inline constexpr wchar_t kPictureName[] = L"画像";
// The filter of the picture chooser, in the chooser control's "name|pattern|" form.
inline constexpr wchar_t kPictureFilter[] = L"PICTURE|*.bmp;*.jpg;*.gif;*.wmf|";

enum Control : int {
    Frame1 = 100,
    OP1, OP4, OP2, OP3,        // option buttons, in screen order
    HYO, NHY, STM, SYU,        // colour swatches beside them
    BIRH,                      // "変更"
    BGHEN, GZU,                // picture
    Label1, HYOJ,              // date/time format
    Label2, NH,                // field height
    Label3, NW,                // field width
    Label7, IJ,                // row gap
    CK1,                       // "透明表示"
    BFONT,                     // "ﾌｫﾝﾄ変更"
    Label4, Label5, Label6,    // font captions
    NFON, SFON, STFON,         // font face, size, style
    Help, BSYO, GoVerInfo, BEND,
    CK2,                       // "常に手前に表示", after CK1 in the tab order
};

}  // namespace qv::win::henko
