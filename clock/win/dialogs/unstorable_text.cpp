// The question before a save that would turn characters into '?'.
#include "unstorable_text.h"

#include "sjis.h"
#include "text.h"

namespace qv::win {

std::wstring UnstorableMessage(const std::vector<SavedText>& texts) {
    std::wstring list;
    for (const SavedText& saved : texts) {
        const std::string characters = CharactersWithoutSjis(saved.text);
        if (!characters.empty()) list += L"　" + saved.field + L": " + Widen(characters) + L"\r\n";
    }
    if (list.empty()) return {};
    return L"次の項目には設定ファイルに保存できない文字があります。\r\n\r\n" + list +
           L"\r\n入力に戻りますか?\r\n"
           L"「はい」 入力に戻る (入力した内容はそのまま)\r\n"
           L"「いいえ」 その文字を「?」にして保存する";
}

bool MaySave(AppContext& app, HWND owner, const std::vector<SavedText>& texts) {
    const std::wstring message = UnstorableMessage(texts);
    if (message.empty()) return true;
    const int answer =
        app.messages.Show(owner, message, L"保存できない文字", MB_YESNO | MB_DEFBUTTON1 | MB_ICONEXCLAMATION);
    if (answer == IDNO) return true;
    for (const SavedText& saved : texts) {
        if (CharactersWithoutSjis(saved.text).empty()) continue;
        if (saved.control) SetFocus(saved.control);
        break;
    }
    return false;
}

std::wstring BadDiffMessage(const std::vector<BadDiff>& rows) {
    // A long search is shown by its start: the row is what the user looks for.
    constexpr std::size_t kShown = 40;
    std::wstring list;
    for (const BadDiff& bad : rows) {
        std::wstring shown = bad.text;
        if (shown.size() > kShown) {
            // Not half a surrogate pair at the cut.
            const bool pairCut = shown[kShown - 1] >= 0xD800 && shown[kShown - 1] <= 0xDBFF;
            shown = shown.substr(0, pairCut ? kShown - 1 : kShown) + L"…";
        }
        list += L"　時差 (" + std::to_wstring(bad.row) + L"行目): 「" + shown + L"」\r\n";
    }
    return L"次の時差は数値でも一覧のタイムゾーンでもありません。\r\n\r\n" + list +
           L"\r\n入力に戻りますか?\r\n"
           L"「はい」 入力に戻る (入力した内容はそのまま)\r\n"
           L"「いいえ」 その行の時差を開いたときのまま保存する";
}

std::string StorablePicturePath(const std::string& path) {
    if (CharactersWithoutSjis(path).empty()) return path;
    const std::wstring wide = Widen(path);
    const DWORD needed = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (needed == 0) return path;
    std::wstring shortPath(needed, L'\0');
    const DWORD length = GetShortPathNameW(wide.c_str(), shortPath.data(), needed);
    if (length == 0 || length >= needed) return path;
    shortPath.resize(length);
    std::string narrow = Narrow(shortPath);
    return CharactersWithoutSjis(narrow).empty() ? narrow : path;
}

}  // namespace qv::win
