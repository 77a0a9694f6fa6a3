// A minimal owning COM pointer: one reference per ComPtr, released exactly once.
#pragma once

#include <unknwn.h>

#include <utility>

namespace qv::win {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference to p.
    explicit ComPtr(T* p) : p_(p) { if (p_) p_->AddRef(); }
    ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept { std::swap(p_, other.p_); return *this; }
    ~ComPtr() { Reset(); }

    // Takes over a reference the caller already owns (an out-parameter's).
    static ComPtr Adopt(T* p) { ComPtr c; c.p_ = p; return c; }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void Reset() { if (auto* p = std::exchange(p_, nullptr)) p->Release(); }

    // For out-parameters: releases what is held and hands out the slot.
    T** Put() { Reset(); return &p_; }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    template <class U>
    ComPtr<U> As() const {
        ComPtr<U> other;
        if (p_) p_->QueryInterface(__uuidof(U), other.PutVoid());
        return other;
    }

private:
    T* p_ = nullptr;
};

}  // namespace qv::win
