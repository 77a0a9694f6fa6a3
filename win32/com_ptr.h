// ComPtr: owns exactly one reference to a COM interface and releases it once.
// (mingw's WRL ComPtr::Attach adds a reference and leaks, so we keep our own.)
#pragma once

#include <unknwn.h>

#include <cstddef>
#include <utility>

namespace qv::win {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Shares the caller's pointer: adds a reference of its own.
    explicit ComPtr(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    // Takes over a reference the caller already owns (an out-parameter's): no AddRef.
    static ComPtr Adopt(T* p) {
        ComPtr result;
        result.p_ = p;
        return result;
    }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // For out-parameters: drops the current reference first.
    T** Put() {
        Reset();
        return &p_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    T* Detach() { return std::exchange(p_, nullptr); }
    void Reset() {
        if (T* old = std::exchange(p_, nullptr)) old->Release();
    }

    // The same object as another interface; empty when it has none.
    template <class U>
    ComPtr<U> As() const {
        ComPtr<U> other;
        if (p_) p_->QueryInterface(__uuidof(U), other.PutVoid());
        return other;
    }
    template <class U>
    HRESULT As(ComPtr<U>& out) const {
        if (!p_) {
            out.Reset();
            return E_POINTER;
        }
        return p_->QueryInterface(__uuidof(U), out.PutVoid());
    }
    HRESULT As(REFIID iid, void** out) const {
        if (!out) return E_POINTER;
        *out = nullptr;
        return p_ ? p_->QueryInterface(iid, out) : E_POINTER;
    }

    // Hands a new reference to a caller's out-parameter.
    HRESULT CopyTo(T** out) const {
        if (!out) return E_POINTER;
        *out = p_;
        if (p_) p_->AddRef();
        return S_OK;
    }

private:
    T* p_ = nullptr;
};

}  // namespace qv::win
