// Scope guards for the thread's COM and OLE initialisation.
#pragma once

#include <ole2.h>

namespace qv::win {

// CoInitializeEx (apartment) ... CoUninitialize, when the first succeeded.
class ComScope {
public:
    ComScope() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (initialized_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialized_;
};

// OleInitialize ... OleUninitialize, when the first succeeded.
class OleScope {
public:
    OleScope() : initialized_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleScope() {
        if (initialized_) OleUninitialize();
    }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;
    bool ok() const { return initialized_; }

private:
    bool initialized_;
};

}  // namespace qv::win
