// Pictures through the system's picture loader (OleLoadPicture): bitmap, JPEG,
// GIF, icon and metafile, from a file or from a resource of the program: the
// clock's background, the splash and the about box artwork.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>
#include <memory>

namespace qv::win {

class Picture {
public:
    Picture() = default;
    // An empty picture when the file is missing or not a picture the loader knows.
    static Picture FromFile(const std::wstring& file);
    // An RCDATA resource, by number or by name.
    static Picture FromResource(HMODULE module, int id);
    static Picture FromResource(HMODULE module, const wchar_t* name);
    static Picture FromBytes(const void* data, std::size_t size);

    explicit operator bool() const { return picture_ != nullptr; }
    // Natural size in device pixels at the given dots per inch.
    SIZE PixelSize(int dpi) const;
    // Draws unscaled with its top-left corner at (x, y).
    void Draw(HDC dc, int x, int y, int dpi) const;
    // Draws scaled to fill a rectangle.
    void DrawInto(HDC dc, const RECT& target) const;

private:
    struct Release {
        void operator()(IPicture* p) const { p->Release(); }
    };
    std::unique_ptr<IPicture, Release> picture_;
};

}  // namespace qv::win
