// The about box VerInfo: its window class, the identifiers of its controls,
// the home-page address it links to, and an opening that takes the way the
// address is opened (the browser, or a test's recorder).
#pragma once

#include <functional>
#include <string>

#include "app_context.h"

namespace qv::win::verinfo {

inline constexpr wchar_t kClassName[] = L"QV.VerInfo";
inline constexpr wchar_t kHomePage[] = L"https://qv.example.org/";
// The about box's title: its Alt+Tab entry and its name for screen readers.
inline constexpr wchar_t kTitle[] = L"ﾊﾞｰｼﾞｮﾝ情報";

enum Control : int {
    OK = 400,
    HVerInfo,
    URL,
    Hyplex1,
};

using UrlOpener = std::function<void(HWND owner, const std::wstring& url)>;

// Opens the address in the user's browser (ShellExecuteW "open").
void OpenInBrowser(HWND owner, const std::wstring& url);

// The about box, opening its link through `open`.
void Open(AppContext& app, UrlOpener open);

}  // namespace qv::win::verinfo
