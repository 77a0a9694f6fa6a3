// Vitrel1: the transparency control on a clock window, created by its class
// identifier (or, when it is not registered, from Vitrel32.ocx beside the
// program), loaded from the clock's stored properties and in-place activated.
#pragma once

#include <windows.h>

#include <string>
#include <memory>

#include "com_ptr.h"

struct IOleObject;

namespace qv::win {

class TransparencyControl {
public:
    // Nothing when no control can be had: the clock then runs opaque, silently.
    static std::unique_ptr<TransparencyControl> Create(HWND container, const std::wstring& programFolder);
    ~TransparencyControl();
    TransparencyControl(const TransparencyControl&) = delete;
    TransparencyControl& operator=(const TransparencyControl&) = delete;

    // Layered colour-key display: TransMode 4, then LayeredFlag 0.
    void SwitchOnTransparency();

    // The control's own window, when in-place active.
    HWND window() const;

    // Only Create makes one.
    class Key {
        friend class TransparencyControl;
        Key() = default;
    };
    TransparencyControl(Key, ComPtr<IOleObject> object);

private:
    void PutShort(long dispid, short value);

    ComPtr<IOleObject> object_;
};

}  // namespace qv::win
