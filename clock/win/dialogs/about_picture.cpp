// Decoding the about JPEG through IPicture: the resource is copied into a
// movable global block, wrapped in a stream and handed to OleLoadPicture.
#include "about_picture.h"

#include <olectl.h>

#include <cstring>

#include "../common/twips.h"

namespace qv::win {

namespace {

// COM for this thread while the picture is decoded; balanced only when this
// call started it.
class ComScope {
public:
    ComScope() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() { if (initialized_) CoUninitialize(); }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialized_;
};

// HIMETRIC (0.01 mm) to pixels.
int HimetricToPixels(OLE_XSIZE_HIMETRIC value, int dpi) {
    return MulDiv(value, dpi, 2540);
}

}  // namespace

AboutPicture AboutPicture::Load(HMODULE module, const wchar_t* resourceName) {
    AboutPicture result;
    HRSRC info = FindResourceW(module, resourceName, MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!info) return result;
    HGLOBAL loaded = LoadResource(module, info);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    DWORD size = SizeofResource(module, info);
    if (!bytes || size == 0) return result;

    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) return result;
    void* target = GlobalLock(block);
    if (!target) {
        GlobalFree(block);
        return result;
    }
    std::memcpy(target, bytes, size);
    GlobalUnlock(block);

    ComScope com;
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {  // the stream frees the block
        GlobalFree(block);
        return result;
    }
    IPicture* picture = nullptr;
    HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                reinterpret_cast<void**>(&picture));
    stream->Release();
    if (SUCCEEDED(hr) && picture) result.picture_.reset(picture);
    return result;
}

SIZE AboutPicture::PixelSize() const {
    if (!picture_) return {0, 0};
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture_->get_Width(&width);
    picture_->get_Height(&height);
    int dpi = ScreenDpi();
    return {HimetricToPixels(width, dpi), HimetricToPixels(height, dpi)};
}

void AboutPicture::Render(HDC dc, const RECT& target) const {
    if (!picture_) return;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture_->get_Width(&width);
    picture_->get_Height(&height);
    // Above 96 dpi the card is drawn larger than its pixels: blend, not repeat.
    int oldMode = SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    // HIMETRIC runs bottom-up: start at the bottom edge with a negative height.
    picture_->Render(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, 0, height,
                     width, -height, nullptr);
    if (oldMode) SetStretchBltMode(dc, oldMode);
}

}  // namespace qv::win
