// The about box VerInfo: the artwork, the version from the program's version
// resource, the home-page link, OK back to HENKO, and a drag on the picture.
#include "verinfo_window.h"

#include <commctrl.h>
#include <oleacc.h>
#include <shellapi.h>

#include "accessible_name.h"

#include "picture.h"
#include "dialogs.h"
#include "form.h"
#include "program_version.h"
#include "window.h"

namespace qv::win {

namespace verinfo {

void OpenInBrowser(HWND owner, const std::wstring& url) {
    ShellExecuteW(owner, L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace verinfo

namespace {

using namespace verinfo;

constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;

class VerInfoWindow final : public Form {
public:
    VerInfoWindow(AppContext& app, UrlOpener open) : Form(app), open_(std::move(open)) {}

    static void Open(AppContext& app, UrlOpener open) {
        FormStyle style{kClassName, kTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 6690, 4260};
        Form::Open(std::make_unique<VerInfoWindow>(app, std::move(open)), style);
    }

private:
    // OK first: it is first in the keyboard order.
    void BuildControls() override {
        picture_ = Picture::FromResource(ModuleInstance(), L"QV_ABOUT_PICTURE");
        AddControl(L"BUTTON", L"OK", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, OK, {2760, 3360, 1335, 375});
        AddControl(L"STATIC", L"Ver.", kLabel, 0, HVerInfo, {1800, 2760, 300, 180});
        AddControl(L"STATIC", L"URL：", kLabel, 0, URL, {1800, 3000, 420, 180});
        FitToText(HVerInfo);
        FitToText(URL);

        // The system's link control needs common controls 6 (the program's
        // manifest); without it a link-styled label does the same.
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LINK_CLASS};
        InitCommonControlsEx(&icc);
        std::wstring markup = L"<a href=\"" + std::wstring(kHomePage) + L"\">" + kHomePage + L"</a>";
        HWND link = AddControl(WC_LINK, markup, WS_TABSTOP | WS_GROUP | LWS_TRANSPARENT, 0, Hyplex1,
                               {2280, 3000, 3375, 375});
        if (!link) {
            linkFont_ = MakeFormFont(dpi_, true);
            link = AddControl(L"STATIC", kHomePage, kLabel | SS_NOTIFY | WS_GROUP, 0, Hyplex1, {2280, 3000, 3375, 375});
            SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), FALSE);
            plainLink_ = true;
        }
    }

    // Form_Load.
    void Load() override {
        if (auto version = ReadProgramVersion(ModuleInstance())) {
            SetItemText(HVerInfo, VersionCaption(*version));
            FitToText(HVerInfo);
        }
        // A screen reader hears a dialog by its title, then its version as it
        // opens with the focus on OK.
        SetAccessibleRole(hwnd_, ROLE_SYSTEM_DIALOG);
        SetAccessibleDescription(hwnd_, ItemText(HVerInfo));
    }

    HWND FirstFocus() override { return Item(OK); }

    // Enter and Esc are OK; on the link, Enter is the link's own (as a click).
    void OnEnter(HWND focus) override {
        if (focus && focus == Item(Hyplex1)) {
            open_(hwnd_, kHomePage);
            return;
        }
        OK_Click();
    }
    void OnEscape(HWND) override { OK_Click(); }

    // The plain link's underlined face follows the form's to another DPI.
    void Relaid() override {
        if (!plainLink_) return;
        UniqueFont font = MakeFormFont(dpi_, true);
        SendMessageW(Item(Hyplex1), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        linkFont_ = std::move(font);
    }


    void OnCommand(int id, int code, HWND) override {
        if (id == OK && code == BN_CLICKED) {
            OK_Click();
        } else if (id == Hyplex1 && plainLink_ && code == STN_CLICKED) {
            open_(hwnd_, kHomePage);
        }
    }

    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        switch (msg) {
        case WM_LBUTTONDOWN:
            Image1_MouseDown();
            result = 0;
            return true;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lp);
            if (header->idFrom == Hyplex1 && (header->code == NM_CLICK || header->code == NM_RETURN)) {
                open_(hwnd_, kHomePage);
                result = 0;
                return true;
            }
            return false;
        }
        case WM_CTLCOLORSTATIC: {
            // Labels and the link lie on the picture: no background of their own.
            HDC dc = reinterpret_cast<HDC>(wp);
            SetBkMode(dc, TRANSPARENT);
            if (plainLink_ && GetDlgCtrlID(reinterpret_cast<HWND>(lp)) == Hyplex1) SetTextColor(dc, RGB(0, 0, 255));
            result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
            return true;
        }
        case WM_SETCURSOR:
            if (plainLink_ && reinterpret_cast<HWND>(wp) == Item(Hyplex1)) {
                SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // IDC_HAND
                result = TRUE;
                return true;
            }
            return false;
        case WM_ERASEBKGND:
            if (!picture_) return false;
            result = TRUE;  // the picture covers the whole client area
            return true;
        default:
            return false;
        }
    }

    void Paint(HDC dc) override {
        RECT client;
        GetClientRect(hwnd_, &client);
        picture_.DrawInto(dc, client);
    }

    // Image1_MouseDown with the left button: the system moves the window as
    // if its caption had been grabbed. Other buttons never arrive here.
    void Image1_MouseDown() {
        ReleaseCapture();
        SendMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    }

    void OK_Click() {
        AppContext& app = app_;
        app.windows.OpenHenko();
        Close();
    }

    Picture picture_;  // the artwork, an RCDATA resource of the program
    UrlOpener open_;
    UniqueFont linkFont_;
    bool plainLink_ = false;
};

}  // namespace

namespace verinfo {

void Open(AppContext& app, UrlOpener open) {
    VerInfoWindow::Open(app, std::move(open));
}

}  // namespace verinfo

void OpenVerInfoWindow(AppContext& app) {
    verinfo::Open(app, &verinfo::OpenInBrowser);
}

}  // namespace qv::win
