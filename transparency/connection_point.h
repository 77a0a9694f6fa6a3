// One connection point of the control: the sinks of one outgoing interface.
// It lives inside the control and shares the control's reference count.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <utility>
#include <vector>

#include "com_ptr.h"

namespace vitrel {

using qv::win::ComPtr;

class ConnectionPoint final : public IConnectionPoint {
public:
    // sinkIid: what Advise asks of a sink; an IDispatch sink is accepted for
    // a dispinterface when acceptDispatch is set.
    ConnectionPoint(IConnectionPointContainer& owner, REFIID sinkIid, bool acceptDispatch)
        : owner_(owner), iid_(sinkIid), acceptDispatch_(acceptDispatch) {}
    ConnectionPoint(const ConnectionPoint&) = delete;
    ConnectionPoint& operator=(const ConnectionPoint&) = delete;
    ~ConnectionPoint() = default;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return owner_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return owner_.Release(); }

    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** out) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** out) override;

    const IID& Iid() const { return iid_; }
    void Clear() { sinks_.clear(); }

    // Calls fn with each sink, on a copy of the list, since a sink may
    // unadvise while it is called. Without memory for the copy nobody is called.
    template <class Sink, class Fn>
    void ForEach(Fn fn) const noexcept {
        std::vector<std::pair<DWORD, ComPtr<IUnknown>>> sinks;
        try {
            sinks = sinks_;
        } catch (...) {
            return;
        }
        for (const auto& entry : sinks) fn(static_cast<Sink*>(entry.second.Get()));
    }

private:
    IConnectionPointContainer& owner_;
    IID iid_;
    bool acceptDispatch_;
    DWORD nextCookie_ = 1;
    std::vector<std::pair<DWORD, ComPtr<IUnknown>>> sinks_;
};

// IEnumConnectionPoints over the control's points, each handed out with a
// reference (which keeps the control alive while the enumerator is).
[[nodiscard]] HRESULT CreatePointEnumerator(IConnectionPoint* first, IConnectionPoint* second,
                                            IEnumConnectionPoints** out);

}  // namespace vitrel
