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
