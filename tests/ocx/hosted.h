// A control in-place active on a container of the tests' own, through the
// tests' own site, with its Paint events recorded.
#pragma once

#include <memory>
#include <utility>

#include <gtest/gtest.h>

#include "mock_container.h"

namespace vitrel::test {

// TransMode set through the dispatch interface, and what it brings handled.
inline void SetMode(IDispatch* control, short mode) {
    EXPECT_EQ(PutShort(control, 1, mode), S_OK);
    PumpMessages();
}

// A control of the given mode, in-place active on a container.
class Hosted {
public:
    Hosted(HWND container, short mode, bool userMode = true, RECT rect = RECT{-28, -28, 0, 0})
        : Hosted(NewControl<IOleObject>(), container, mode, userMode, rect) {}
    // A control made elsewhere (by COM, from the registration).
    Hosted(ComPtr<IOleObject> object, HWND container, short mode, bool userMode = true,
           RECT rect = RECT{-28, -28, 0, 0}) {
        object_ = std::move(object);
        EXPECT_TRUE(object_);
        object_.As(dispatch_);
        if (mode != 1) PutShort(dispatch_.Get(), 1, mode);
        site_ = TestSite::Create(container, rect, userMode);
        events_ = EventSink::Create();
        connection_ = std::make_unique<Connection>(object_.Get(), DIID__DVitrel32Events, events_.Get());
        object_->SetClientSite(site_.Get());
        activated_ = object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, container, &rect);
        PumpMessages();
    }
    ~Hosted() { Close(); }

    void Close() {
        if (!object_) return;
        ComPtr<IOleInPlaceObject> inPlace;
        if (SUCCEEDED(object_.As(inPlace))) inPlace->InPlaceDeactivate();
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
        connection_.reset();
        dispatch_.Reset();
        object_.Reset();
        PumpMessages();
    }

    HRESULT Activated() const { return activated_; }
    IDispatch* Dispatch() const { return dispatch_.Get(); }
    IOleObject* Object() const { return object_.Get(); }
    EventSink& Events() const { return *events_.Get(); }
    TestSite& Site() const { return *site_.Get(); }
    HWND Window() const {
        ComPtr<IOleInPlaceObject> inPlace;
        HWND window = nullptr;
        if (SUCCEEDED(object_.As(inPlace))) inPlace->GetWindow(&window);
        return window;
    }
    void SetMode(short mode) { test::SetMode(dispatch_.Get(), mode); }

private:
    ComPtr<IOleObject> object_;
    ComPtr<IDispatch> dispatch_;
    ComPtr<TestSite> site_;
    ComPtr<EventSink> events_;
    std::unique_ptr<Connection> connection_;
    HRESULT activated_ = E_FAIL;
};

}  // namespace vitrel::test
