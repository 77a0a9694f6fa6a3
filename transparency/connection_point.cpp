// IConnectionPoint: Advise and Unadvise of sinks.
#include "connection_point.h"

#include <olectl.h>

#include "com_object.h"
#include "module.h"

namespace vitrel {
namespace {

class PointEnumerator final : public qv::win::ComObject<PointEnumerator, IEnumConnectionPoints> {
public:
    static constexpr ULONG kCount = 2;
    PointEnumerator(IConnectionPoint* first, IConnectionPoint* second, ULONG position)
        : points_{ComPtr<IConnectionPoint>(first), ComPtr<IConnectionPoint>(second)}, position_(position) {}

    static const qv::win::InterfaceEntry<PointEnumerator> kInterfaces[];

    STDMETHODIMP Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override {
        if (fetched) *fetched = 0;
        if (!points) return E_POINTER;
        if (count > 1 && !fetched) return E_INVALIDARG;
        ULONG n = 0;
        for (; n < count && position_ < kCount; ++n, ++position_) points_[position_].CopyTo(&points[n]);
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    // S_OK when all count were skipped; a count past the end stops there.
    STDMETHODIMP Skip(ULONG count) override {
        const ULONG left = kCount - position_;
        position_ += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        position_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumConnectionPoints** out) override {
        return qv::win::CreateComObject<PointEnumerator>(IID_IEnumConnectionPoints, reinterpret_cast<void**>(out),
                                                         points_[0].Get(), points_[1].Get(), position_);
    }

private:
    ~PointEnumerator() = default;

    ModuleLock lock_;
    ComPtr<IConnectionPoint> points_[kCount];
    ULONG position_;
};

const qv::win::InterfaceEntry<PointEnumerator> PointEnumerator::kInterfaces[] = {
    {&IID_IUnknown, &qv::win::As<PointEnumerator, IEnumConnectionPoints>},
    {&IID_IEnumConnectionPoints, &qv::win::As<PointEnumerator, IEnumConnectionPoints>},
    {},
};

}  // namespace

HRESULT CreatePointEnumerator(IConnectionPoint* first, IConnectionPoint* second, IEnumConnectionPoints** out) {
    return qv::win::CreateComObject<PointEnumerator>(IID_IEnumConnectionPoints, reinterpret_cast<void**>(out), first,
                                                     second, ULONG{0});
}

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IConnectionPoint) return E_NOINTERFACE;
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = iid_;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
    if (!out) return E_POINTER;
    *out = &owner_;
    owner_.AddRef();
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    ComPtr<IUnknown> typed;
    HRESULT hr = sink->QueryInterface(iid_, typed.PutVoid());
    if (FAILED(hr) && acceptDispatch_) hr = sink->QueryInterface(IID_IDispatch, typed.PutVoid());
    if (FAILED(hr)) return CONNECT_E_CANNOTCONNECT;
    try {
        sinks_.emplace_back(nextCookie_, std::move(typed));
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    *cookie = nextCookie_++;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
        if (it->first != cookie) continue;
        // Released after the erase, in case the sink calls back into us.
        ComPtr<IUnknown> sink = std::move(it->second);
        sinks_.erase(it);
        return S_OK;
    }
    return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return E_NOTIMPL;
}

}  // namespace vitrel
