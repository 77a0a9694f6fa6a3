// The module's resources: strings, pictures, type library and version block.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "test_support.h"

namespace vitrel::test {
namespace {

std::wstring StringResource(UINT id) {
    wchar_t text[256] = {};
    LoadStringW(Module::Get().Handle(), id, text, 256);
    return text;
}

TEST(Resources, StringsAndPictures) {
    EXPECT_EQ(StringResource(1), L"Vitrel32 Control");
    EXPECT_EQ(StringResource(2), L"Vitrel32 Property Page");
    EXPECT_EQ(StringResource(100), L"General");
    const std::pair<int, SIZE> pictures[] = {{1, {17, 15}}, {202, {20, 17}}};
    for (const auto& [id, size] : pictures) {
        HRSRC found = FindResourceW(Module::Get().Handle(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2));
        ASSERT_TRUE(found) << id;
        const auto* info = static_cast<const BITMAPINFOHEADER*>(
            LockResource(LoadResource(Module::Get().Handle(), found)));
        ASSERT_TRUE(info);
        EXPECT_EQ(info->biWidth, size.cx) << id;
        EXPECT_EQ(info->biHeight, size.cy) << id;
        EXPECT_EQ(info->biBitCount, 4) << id;  // 16 colours
    }
    EXPECT_TRUE(FindResourceW(Module::Get().Handle(), MAKEINTRESOURCEW(1), L"TYPELIB"));
}

TEST(Resources, VersionBlock) {
    const std::wstring file = ModuleFile();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<unsigned char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, block.data()));
    WORD* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x411);
    EXPECT_EQ(translation[1], 1200);
    const std::pair<const wchar_t*, const wchar_t*> values[] = {
        {L"FileDescription", L"Vitrel32 OLE Control Module"},
        {L"ProductName", L"Vitrel32 OLE Control Module"},
        {L"FileVersion", L"2, 0, 0, 0"},
        {L"ProductVersion", L"2, 0, 0, 0"},
        {L"InternalName", L"Vitrel32"},
        {L"OriginalFilename", L"Vitrel32.OCX"},
        {L"OLESelfRegister", L""},
    };
    for (const auto& [name, expected] : values) {
        wchar_t* text = nullptr;
        UINT chars = 0;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
        ASSERT_TRUE(VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &chars)) << path;
        EXPECT_EQ(std::wstring(text ? text : L""), expected) << path;
    }
}

}  // namespace
}  // namespace vitrel::test
