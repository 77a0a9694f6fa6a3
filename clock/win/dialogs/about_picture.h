// The about box artwork: a JPEG resource of the program, decoded by the
// system's picture object (OleLoadPicture) and drawn stretched into a rectangle.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <memory>

namespace qv::win {

// The resource name of the artwork in the program's resources (RCDATA).
inline constexpr wchar_t kAboutPictureResource[] = L"QV_ABOUT_PICTURE";

class AboutPicture {
public:
    // An empty picture when the resource is missing or cannot be decoded.
    static AboutPicture Load(HMODULE module, const wchar_t* resourceName = kAboutPictureResource);

    explicit operator bool() const { return picture_ != nullptr; }
    // Size in pixels at the screen's DPI; {0, 0} when empty.
    SIZE PixelSize() const;
    void Render(HDC dc, const RECT& target) const;

private:
    struct Releaser {
        void operator()(IUnknown* p) const { p->Release(); }
    };
    std::unique_ptr<IPicture, Releaser> picture_;
};

}  // namespace qv::win
