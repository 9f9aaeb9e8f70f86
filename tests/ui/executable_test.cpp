// What Windows reads from the executable itself: the version record, the
// icon, the manifest and the artwork, straight from its resources.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "tests/ui/panel_process.h"

namespace {

TEST(ExecutableRecord, VersionRecordIsExactlyAsPublished) {
    WString exe = PanelExePath();
    DWORD size = GetFileVersionInfoSizeW(exe.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::string data(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, &data[0]));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", (void**)&fixed, &len));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000003u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00020001u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000003u);
    EXPECT_EQ(fixed->dwFileType, (DWORD)VFT_APP);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", (void**)&translation, &len));
    ASSERT_EQ(len, 4u);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1200);

    struct Field {
        const wchar_t* name;
        const char* value;
    } fields[] = {
        {L"FileVersion", "2.01.0003"},
        {L"ProductVersion", "2.01.0003"},
        {L"ProductName", "The Marrowgate:ZARN Control Panel"},
        {L"InternalName", "ZARN Control Panal"},
        {L"OriginalFilename", "ZARN Control Panal.exe"},
    };
    for (const Field& f : fields) {
        wchar_t* text = nullptr;
        WString path = WString(L"\\StringFileInfo\\040904B0\\") + f.name;
        ASSERT_TRUE(VerQueryValueW(data.data(), path.c_str(), (void**)&text, &len))
            << Narrow(f.name);
        EXPECT_EQ(Narrow(WString(text)), f.value) << Narrow(f.name);
    }
}

// A resource of the executable, as bytes.
std::string Resource(HMODULE exe, const wchar_t* name, const wchar_t* type) {
    HRSRC r = FindResourceW(exe, name, type);
    if (!r) return {};
    HGLOBAL g = LoadResource(exe, r);
    return std::string((const char*)LockResource(g), SizeofResource(exe, r));
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bit_count;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST(ExecutableRecord, IconManifestAndArtwork) {
    HMODULE exe = LoadLibraryExW(PanelExePath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr);

    // One icon image: 32 by 32, 16 colours, 4 bits a pixel.
    std::string group = Resource(exe, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    ASSERT_EQ(group.size(), 6 + sizeof(IconGroupEntry));
    EXPECT_EQ(*(const WORD*)(group.data() + 4), 1);
    IconGroupEntry icon;
    std::memcpy(&icon, group.data() + 6, sizeof icon);
    EXPECT_EQ(icon.width, 32);
    EXPECT_EQ(icon.height, 32);
    EXPECT_EQ(icon.colours, 16);
    EXPECT_EQ(icon.bit_count, 4);

    std::string manifest = Resource(exe, MAKEINTRESOURCEW(1), RT_MANIFEST);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_NE(manifest.find(">PerMonitorV2"), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);

    // Each picture as drawn for 96 dpi, and at 1.5 and 2 times its size.
    struct Picture {
        const wchar_t* name;
        bool gif;
        int width, height;
    } pictures[] = {{L"A", false, 59, 52},        {L"B", false, 43, 43},      {L"C", false, 70, 45},
                    {L"D", true, 67, 68},         {L"E", true, 574, 133},
                    {L"A_150", false, 89, 78},    {L"B_150", false, 65, 65},  {L"C_150", false, 105, 68},
                    {L"D_150", true, 101, 102},   {L"E_150", true, 861, 200},
                    {L"A_200", false, 118, 104},  {L"B_200", false, 86, 86},  {L"C_200", false, 140, 90},
                    {L"D_200", true, 134, 136},   {L"E_200", true, 1148, 266}};
    for (const Picture& p : pictures) {
        std::string bytes = Resource(exe, p.name, p.gif ? RT_RCDATA : RT_BITMAP);
        ASSERT_GE(bytes.size(), 40u) << Narrow(p.name);
        if (p.gif) {
            EXPECT_EQ(bytes.substr(0, 6), "GIF89a") << Narrow(p.name);
            EXPECT_EQ(*(const WORD*)(bytes.data() + 6), p.width) << Narrow(p.name);
            EXPECT_EQ(*(const WORD*)(bytes.data() + 8), p.height) << Narrow(p.name);
            EXPECT_EQ((unsigned char)bytes[10] & 0x87, 0x87) << Narrow(p.name) << ": 256-colour table";
        } else {
            BITMAPINFOHEADER h;
            std::memcpy(&h, bytes.data(), sizeof h);
            EXPECT_EQ(h.biWidth, p.width) << Narrow(p.name);
            EXPECT_EQ(h.biHeight, p.height) << Narrow(p.name);
            EXPECT_EQ(h.biBitCount, 24) << Narrow(p.name);
            EXPECT_EQ(h.biCompression, (DWORD)BI_RGB) << Narrow(p.name);
        }
    }
    FreeLibrary(exe);
}

}  // namespace
