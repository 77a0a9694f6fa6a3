// The clock window as screen readers and magnifiers see it: the IAccessible
// of its client area, whose children are the three buttons and the places'
// labels, all drawn by the window itself.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include "com_object.h"
#include "settings_model.h"

namespace qv::win {

class ClockWindow;

// The children's fixed ids: the buttons OP1..OP3 are 1..3, then each place's
// name label and time label in turn (place n: 2n + 2 and 2n + 3).
namespace clock_child {
inline constexpr long kLastButton = 3;
constexpr long NameLabel(int place) { return 2 * place + 2; }
constexpr long TimeLabel(int place) { return 2 * place + 3; }
inline constexpr long kCount = TimeLabel(kPlaceCount);
constexpr bool IsButton(long child) { return child >= 1 && child <= kLastButton; }
}  // namespace clock_child

class ClockAccessible final : public ComObject<ClockAccessible, IAccessible> {
public:
    static const InterfaceEntry<ClockAccessible> kInterfaces[];

    explicit ClockAccessible(const ClockWindow& clock) : clock_(&clock) {}
    // The window is going: from now on every call answers that the object is gone.
    void Detach() { clock_ = nullptr; }

    // IDispatch: no type information; clients use the IAccessible methods.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

    STDMETHODIMP get_accParent(IDispatch** parent) override;
    STDMETHODIMP get_accChildCount(long* count) override;
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override;
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override;
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override;
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override;
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    STDMETHODIMP get_accFocus(VARIANT* focus) override;
    STDMETHODIMP get_accSelection(VARIANT* selection) override;
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override;
    STDMETHODIMP accSelect(long flags, VARIANT child) override;
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override;
    STDMETHODIMP accHitTest(long x, long y, VARIANT* child) override;
    STDMETHODIMP accDoDefaultAction(VARIANT child) override;
    STDMETHODIMP put_accName(VARIANT child, BSTR name) override;
    STDMETHODIMP put_accValue(VARIANT child, BSTR value) override;

private:
    ~ClockAccessible() override = default;

    const ClockWindow* clock_;
};

}  // namespace qv::win
