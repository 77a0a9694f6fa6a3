// The initial setup window SYOKI ("初期設定"): its window class and the
// identifiers of its controls. Row n (1 to 10) of each column is base + n.
#pragma once

#include <string>

namespace qv::win::syoki {

inline constexpr wchar_t kClassName[] = L"QV.SYOKI";
inline constexpr wchar_t kTitle[] = L"初期設定";
// Asked when Esc would leave the window with edits in it.
inline constexpr wchar_t kDiscardQuestion[] = L"入力した内容を破棄しますか？";

// What screen readers call row n's field of a column: the column's caption and the row.
inline std::wstring RowFieldName(const std::wstring& column, int row) {
    return column + L" (" + std::to_wstring(row) + L"行目)";
}

// What screen readers call row n's summer-time box ("Checkn" on the screen).
inline std::wstring SummerTimeName(int row) {
    return RowFieldName(L"サマータイム", row);
}

enum Control : int {
    Frame1 = 200,
    Label1, Label2, Label3, Label4, Label15,  // column headings
    BOK, BCH,
    RowNumber = 220,  // Label5 .. Label14 are RowNumber + 1 .. + 10
    L = 240,          // place names L1 .. L10
    J = 260,          // time differences J1 .. J10
    S = 280,          // business start S1 .. S10
    E = 300,          // business end E1 .. E10
    Check = 320,      // summer time Check1 .. Check10
};

}  // namespace qv::win::syoki
