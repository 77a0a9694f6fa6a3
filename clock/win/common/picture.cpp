// Loads pictures with OleLoadPicture from a stream over a copy of the bytes.
#include "picture.h"

#include <cstring>
#include <vector>

#include "handles.h"
#include "ole_scope.h"

namespace qv::win {

Picture Picture::FromBytes(const void* data, std::size_t size) {
    Picture result;
    if (!data || size == 0 || size > 0x7fffffff) return result;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return result;
    void* target = GlobalLock(memory);
    if (!target) {
        GlobalFree(memory);
        return result;
    }
    std::memcpy(target, data, size);
    GlobalUnlock(memory);
    ComScope com;  // COM while the picture is decoded, balanced only when we started it
    IStream* stream = nullptr;
    // The stream owns the memory from here on.
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return result;
    }
    IPicture* picture = nullptr;
    HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                reinterpret_cast<void**>(&picture));
    stream->Release();
    if (SUCCEEDED(hr) && picture) result.picture_.reset(picture);
    return result;
}

Picture Picture::FromFile(const std::wstring& file) {
    if (file.empty()) return {};
    UniqueFile handle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) return {};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle.get(), &size) || size.QuadPart <= 0 || size.QuadPart > 256 * 1024 * 1024) return {};
    std::vector<char> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(handle.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size())
        return {};
    return FromBytes(bytes.data(), bytes.size());
}

Picture Picture::FromResource(HMODULE module, int id) { return FromResource(module, MAKEINTRESOURCEW(id)); }

Picture Picture::FromResource(HMODULE module, const wchar_t* name) {
    HRSRC info = FindResourceW(module, name, reinterpret_cast<LPCWSTR>(RT_RCDATA));
    if (!info) return {};
    HGLOBAL loaded = LoadResource(module, info);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    return FromBytes(data, SizeofResource(module, info));
}

SIZE Picture::PixelSize(int dpi) const {
    SIZE size{};
    if (!picture_) return size;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture_->get_Width(&width);
    picture_->get_Height(&height);
    // HIMETRIC is 1/100 mm: 2540 to the inch.
    size.cx = MulDiv(width, dpi, 2540);
    size.cy = MulDiv(height, dpi, 2540);
    return size;
}

void Picture::Draw(HDC dc, int x, int y, int dpi) const {
    if (!picture_) return;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture_->get_Width(&width);
    picture_->get_Height(&height);
    SIZE size = PixelSize(dpi);
    // The source rectangle runs bottom-up in HIMETRIC.
    picture_->Render(dc, x, y, size.cx, size.cy, 0, height, width, -height, nullptr);
}

void Picture::DrawInto(HDC dc, const RECT& target) const {
    if (!picture_) return;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture_->get_Width(&width);
    picture_->get_Height(&height);
    // Above 96 dpi the picture is drawn larger than its pixels: blend, not repeat.
    int oldMode = SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);  // HALFTONE wants the brush origin set after it
    picture_->Render(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, 0, height,
                     width, -height, nullptr);
    if (oldMode) SetStretchBltMode(dc, oldMode);
}

}  // namespace qv::win
