// CVitrel32PropPage, the control's "General" page: TransMode, LayeredAlpha and
// LayeredFlag of the controls it is given, reached by property name.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <vector>

#include "com_object.h"
#include "dialog.h"
#include "module.h"

namespace vitrel {

class CVitrel32PropPage final : public qv::win::ComObject<CVitrel32PropPage, IPropertyPage> {
public:
    static HRESULT Create(REFIID iid, void** out);
    CVitrel32PropPage() = default;

    static const qv::win::InterfaceEntry<CVitrel32PropPage> kInterfaces[];
    // The page's dialog, through the one dialog procedure.
    INT_PTR DialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    STDMETHODIMP SetPageSite(IPropertyPageSite* site) override;
    STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL modal) override;
    STDMETHODIMP Deactivate() override;
    STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override;
    STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override;
    STDMETHODIMP Show(UINT show) override;
    STDMETHODIMP Move(LPCRECT rect) override;
    STDMETHODIMP IsPageDirty() override;
    STDMETHODIMP Apply() override;
    STDMETHODIMP Help(LPCOLESTR helpDir) override;
    STDMETHODIMP TranslateAccelerator(MSG* msg) override;

private:
    ~CVitrel32PropPage();
    CVitrel32PropPage(const CVitrel32PropPage&) = delete;
    CVitrel32PropPage& operator=(const CVitrel32PropPage&) = delete;

    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    // Properties to fields to items, or items to fields to properties.
    void ExchangeFromControls();
    void ExchangeToControls();
    void SetDirty();

    ModuleLock moduleLock_;
    ComPtr<IPropertyPageSite> site_;
    std::vector<ComPtr<IDispatch>> objects_;
    HWND dialog_ = nullptr;
    bool dirty_ = false;
    bool initializing_ = false;

    // The page's fields, bound to the items of the dialog.
    int transMode_ = 1;
    int layeredAlpha_ = 255;
    int layeredFlag_ = 1;
};

}  // namespace vitrel
