// ChooseColorW, ChooseFontW, GetOpenFileNameW and WinHelpW behind Choosers.
#include "system_choosers.h"

#include <commdlg.h>

#include <shellapi.h>

#include <array>
#include <cmath>

#include "handles.h"
#include "twips.h"
#include "dialogs.h"

namespace qv::win {

namespace {

// The default printer's device context, for a font list that includes the
// printer's faces; empty where no printer exists.
UniqueMemoryDc DefaultPrinterDc() {
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!PrintDlgW(&pd)) return UniqueMemoryDc();
    if (pd.hDevMode) GlobalFree(pd.hDevMode);
    if (pd.hDevNames) GlobalFree(pd.hDevNames);
    return UniqueMemoryDc(pd.hDC);
}

class SystemChoosers final : public Choosers {
public:
    std::optional<COLORREF> ChooseColor(HWND owner, COLORREF initial) override {
        CHOOSECOLORW cc{};
        cc.lStructSize = sizeof cc;
        cc.hwndOwner = owner;
        cc.rgbResult = initial;
        cc.lpCustColors = customColours_.data();
        cc.Flags = CC_RGBINIT;
        if (!::ChooseColorW(&cc)) return std::nullopt;
        return cc.rgbResult;
    }

    std::optional<FontChoice> ChooseFont(HWND owner, const FontChoice& initial) override {
        LOGFONTW lf{};
        if (initial.size > 0) lf.lfHeight = -static_cast<LONG>(std::lround(initial.size * ScreenDpi() / 72.0));
        lf.lfWeight = initial.bold ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = initial.italic ? TRUE : FALSE;
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(lf.lfFaceName, initial.name.c_str(), LF_FACESIZE);

        CHOOSEFONTW cf{};
        cf.lStructSize = sizeof cf;
        cf.hwndOwner = owner;
        cf.lpLogFont = &lf;
        UniqueMemoryDc printer = DefaultPrinterDc();
        cf.hDC = printer.get();
        cf.Flags = CF_INITTOLOGFONTSTRUCT | (printer ? CF_BOTH : CF_SCREENFONTS);
        BOOL chosen = ::ChooseFontW(&cf);
        if (!chosen && printer && CommDlgExtendedError() != 0) {
            // The printer's list failed (not a cancel): the screen fonts alone.
            cf.hDC = nullptr;
            cf.Flags = CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS;
            chosen = ::ChooseFontW(&cf);
        }
        if (!chosen) return std::nullopt;

        FontChoice result;
        result.name = lf.lfFaceName;
        result.size = static_cast<float>(cf.iPointSize) / 10.0f;
        result.bold = lf.lfWeight >= FW_BOLD;
        result.italic = lf.lfItalic != 0;
        return result;
    }

    std::optional<std::wstring> ChooseOpenFile(HWND owner, const std::wstring& filter) override {
        std::wstring filters = OpenFileFilter(filter);
        std::wstring file(32768, L'\0');
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = owner;
        ofn.lpstrFilter = filters.c_str();
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = file.data();
        ofn.nMaxFile = static_cast<DWORD>(file.size());
        ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
        if (!GetOpenFileNameW(&ofn)) return std::nullopt;
        file.resize(file.find(L'\0'));
        return file;
    }

    void ShowHelp(HWND owner, const std::wstring& helpFile) override {
        // A missing file or help system is no concern of the caller. Current
        // Windows has no WinHelp: the help page beside it opens in the browser.
        if (GetFileAttributesW(helpFile.c_str()) != INVALID_FILE_ATTRIBUTES &&
            WinHelpW(owner, helpFile.c_str(), HELP_FORCEFILE, 0)) {
            return;
        }
        std::wstring page = JoinPath(ParentFolder(helpFile), L"Qv_help.html");
        if (GetFileAttributesW(page.c_str()) != INVALID_FILE_ATTRIBUTES) {
            ShellExecuteW(owner, L"open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        }
    }

private:
    std::array<COLORREF, 16> customColours_{};
};

}  // namespace

std::wstring OpenFileFilter(std::wstring_view filter) {
    std::wstring result(filter);
    for (wchar_t& c : result) {
        if (c == L'|') c = L'\0';
    }
    if (result.empty() || result.back() != L'\0') result.push_back(L'\0');
    result.push_back(L'\0');
    return result;
}

std::unique_ptr<Choosers> MakeSystemChoosers() {
    return std::make_unique<SystemChoosers>();
}

}  // namespace qv::win
