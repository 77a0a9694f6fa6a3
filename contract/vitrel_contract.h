// What the transparency control and its hosts agree on: the class and interface
// identifiers, the dispatch ids, the transparency modes, the clock's key colour
// and the 26-byte stream the control's properties are stored in.
#pragma once

#include <windows.h>
#include <ole2.h>

namespace vitrel::contract {

// {6E31C4A0-52B7-11D0-B3F4-7A91D2C5E8B6}: the type library.
inline constexpr GUID kLibraryId = {0x6E31C4A0, 0x52B7, 0x11D0, {0xB3, 0xF4, 0x7A, 0x91, 0xD2, 0xC5, 0xE8, 0xB6}};
// _DVitrel32, the dispatch interface.
inline constexpr IID kDispatchId = {0x6E31C4A1, 0x52B7, 0x11D0, {0xB3, 0xF4, 0x7A, 0x91, 0xD2, 0xC5, 0xE8, 0xB6}};
// _DVitrel32Events, the event interface.
inline constexpr IID kEventsId = {0x6E31C4A2, 0x52B7, 0x11D0, {0xB3, 0xF4, 0x7A, 0x91, 0xD2, 0xC5, 0xE8, 0xB6}};
// Vitrel32Ctrl, the control.
inline constexpr CLSID kControlClass = {0x6E31C4A3, 0x52B7, 0x11D0, {0xB3, 0xF4, 0x7A, 0x91, 0xD2, 0xC5, 0xE8, 0xB6}};
// Vitrel32PropPage, the control's own property page.
inline constexpr CLSID kPropertyPageClass = {
    0x6E31C4A4, 0x52B7, 0x11D0, {0xB3, 0xF4, 0x7A, 0x91, 0xD2, 0xC5, 0xE8, 0xB6}};

// The file the control ships in, found beside a program that does not register it.
inline constexpr wchar_t kModuleFile[] = L"Vitrel32.ocx";

// Dispatch ids of _DVitrel32 (and of its vtable twin).
inline constexpr DISPID kDispTransModeDefault = 0;  // _TransMode, the value property
inline constexpr DISPID kDispTransMode = 1;
inline constexpr DISPID kDispLayeredColor = 2;
inline constexpr DISPID kDispLayeredAlpha = 3;
inline constexpr DISPID kDispLayeredFlag = 4;
inline constexpr DISPID kDispIsLayered = 5;

// The values of TransMode (0 to 4) and of the engine's active mode. Mode 5 is
// outside TransMode's range, so only an engine set to it directly reaches it:
// it erases like the wallpaper mode and moves the overlay without recomposing
// the overlay's frame.
enum TransMode : short {
    TransOff = 0,
    TransClient = 1,
    TransWallpaper = 2,
    TransWindow = 3,
    TransLayered = 4,
    TransWallpaperNoFrame = 5,
};

// LayeredFlag: 0 keys out one colour, anything else blends with LayeredAlpha.
inline constexpr short kLayeredColorKey = 0;

// The colour every clock window paints where it is to be see-through, and
// stores as its control's LayeredColor.
inline constexpr COLORREF kClockKeyColor = 0x00E3DFE0;

// The stream form of the control's properties: little-endian, no padding; a
// header the reader checks first, then the four properties.
#pragma pack(push, 1)
struct StreamHeader {
    LONG version;    // kStreamVersion
    LONG extentX;    // HIMETRIC
    LONG extentY;
    LONG stockMask;  // the control has no stock properties: 0
};
struct StreamProperties {
    short transMode;
    short layeredAlpha;
    short layeredFlag;
    DWORD layeredColor;  // an OLE_COLOR
};
struct StreamLayout {
    StreamHeader header;
    StreamProperties properties;
};
#pragma pack(pop)
static_assert(sizeof(StreamLayout) == 26);

// Format version 1.0.
inline constexpr LONG kStreamVersion = 0x10000;
// 28 x 28 pixels at 96 dpi, in HIMETRIC.
inline constexpr LONG kDefaultExtent = 741;

}  // namespace vitrel::contract
