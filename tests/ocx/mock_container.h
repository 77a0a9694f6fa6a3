// A container of the tests' own: a real top-level window that records the
// messages its own procedure receives, a minimal in-place site that records
// its callbacks, and sinks for property notifications and the Paint event.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace vitrel::test {

struct RecordedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A top-level window; its own procedure records every message it sees.
class ContainerWindow {
public:
    ContainerWindow(DWORD style, int x, int y, int width, int height);
    ~ContainerWindow();
    ContainerWindow(const ContainerWindow&) = delete;
    ContainerWindow& operator=(const ContainerWindow&) = delete;

    HWND Handle() const { return window_; }
    WNDPROC OwnProcedure() const;
    int Count(UINT message) const;
    const std::vector<RecordedMessage>& Messages() const { return messages_; }
    void Clear() { messages_.clear(); }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
    std::vector<RecordedMessage> messages_;
};

// A host's own subclass, put on top of whatever procedure the window has;
// it counts the messages it passes on and comes off again when it goes.
class ForeignSubclass {
public:
    explicit ForeignSubclass(HWND window);
    ~ForeignSubclass();
    ForeignSubclass(const ForeignSubclass&) = delete;
    ForeignSubclass& operator=(const ForeignSubclass&) = delete;

    int Seen() const { return seen_; }
    void Clear() { seen_ = 0; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_;
    WNDPROC below_ = nullptr;
    int seen_ = 0;
};

// The overlay window that the control made for this container, or null.
HWND FindOverlay(HWND container);
// A new size for the window, kept where it is; its messages handled.
void Resize(HWND window, int width, int height);
LONG_PTR ExStyle(HWND window);
// NULLREGION, SIMPLEREGION, COMPLEXREGION, or ERROR when there is no region.
int RegionKind(HWND window);

class TestSite final : public qv::win::ComObject<TestSite, IOleClientSite, IOleInPlaceSite, IDispatch> {
public:
    static ComPtr<TestSite> Create(HWND container, RECT rect, bool userMode = true);
    static const qv::win::InterfaceEntry<TestSite> kInterfaces[];

    STDMETHODIMP SaveObject() override { return Record("SaveObject"); }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override { return Record("ShowObject"); }
    STDMETHODIMP OnShowWindow(BOOL) override { return Record("OnShowWindow"); }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP CanInPlaceActivate() override { return Record("CanInPlaceActivate"); }
    STDMETHODIMP OnInPlaceActivate() override { return Record("OnInPlaceActivate"); }
    STDMETHODIMP OnUIActivate() override { return Record("OnUIActivate"); }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return Record("OnUIDeactivate"); }
    STDMETHODIMP OnInPlaceDeactivate() override { return Record("OnInPlaceDeactivate"); }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return Record("OnPosRectChange"); }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) override;

    const std::vector<std::string>& Calls() const { return calls_; }
    // The references held now: AddRef gives one more, and Release says what is left.
    ULONG Refs() {
        AddRef();
        return Release();
    }

private:
    TestSite(HWND container, RECT rect, bool userMode) : container_(container), rect_(rect), userMode_(userMode) {}
    ~TestSite() override = default;
    HRESULT Record(const char* call) {
        calls_.push_back(call);
        return S_OK;
    }

    HWND container_;
    RECT rect_;
    bool userMode_;
    std::vector<std::string> calls_;
};

class NotifySink final : public TestObject<NotifySink, IPropertyNotifySink> {
public:
    STDMETHODIMP OnChanged(DISPID id) override {
        changed.push_back(id);
        return S_OK;
    }
    STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }

    std::vector<DISPID> changed;
};

// Receives _DVitrel32Events; for each Paint it draws a pixel into the given
// device context and remembers whether that worked.
class EventSink final : public qv::win::ComObject<EventSink, IDispatch> {
public:
    static ComPtr<EventSink> Create() { return ComPtr<EventSink>::Adopt(new EventSink()); }
    static const qv::win::InterfaceEntry<EventSink> kInterfaces[];
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                        UINT*) override;

    struct Paint {
        HDC dc;
        HWND window;  // the window the device context belongs to
        bool usable;
    };
    std::vector<Paint> paints;

private:
    EventSink() = default;
    ~EventSink() override = default;
};

// Connects a sink to a control's connection point; disconnects at the end.
class Connection {
public:
    Connection(IUnknown* control, REFIID iid, IUnknown* sink);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    bool Connected() const { return cookie_ != 0; }

private:
    ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

}  // namespace vitrel::test
