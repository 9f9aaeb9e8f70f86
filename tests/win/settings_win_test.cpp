// The settings core on Windows (run under Wine): a user's locale does not
// change how numbers are stored, and a game folder whose name the ANSI code
// page cannot hold still works.
#include <gtest/gtest.h>
#include <windows.h>

#include <clocale>
#include <string>

#include "settings/cini.h"
#include "settings/convert.h"
#include "tests/support/temp_folder.h"

namespace {

// Puts the process in a German locale (',' as the decimal separator) and back.
class GermanLocale {
public:
    GermanLocale() : thread_(GetThreadLocale()) {
        const char* old = std::setlocale(LC_ALL, nullptr);
        c_ = old ? old : "C";
        german_ = std::setlocale(LC_ALL, "German") != nullptr;
        SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT));
    }
    ~GermanLocale() {
        std::setlocale(LC_ALL, c_.c_str());
        SetThreadLocale(thread_);
    }
    bool active() const { return german_; }

private:
    LCID thread_;
    std::string c_;
    bool german_ = false;
};

TEST(SettingsWindows, NumbersIgnoreTheUsersLocale) {
    GermanLocale german;
    ASSERT_TRUE(german.active());
    char separator[8] = {};
    std::snprintf(separator, sizeof separator, "%.1f", 0.5);
    ASSERT_STREQ(separator, "0,5");  // the C library now writes a comma

    EXPECT_EQ(settings::StoredFromVolume("80"), "0.8");
    EXPECT_EQ(settings::VolumeFromStored("0.700000"), 70);
    EXPECT_EQ(settings::VolumeFromStored("0,7"), std::nullopt);

    TempFolder folder;
    Cini ini;
    ini.FileName(folder.File("RA2MD.ini"));
    ini.ApplicationKey("Audio");
    EXPECT_TRUE(ini.SetValue("SoundVolume", *settings::StoredFromVolume("80")));
    EXPECT_EQ(settings::VolumeFromStored(ini.GetValue("SoundVolume", "p")), 80);
    EXPECT_EQ(folder.Read("RA2MD.ini"), "[Audio]\r\nSoundVolume=0.8\r\n");
}

TEST(SettingsWindows, FolderNamesOutsideTheAnsiCodePage) {
    for (const char* leaf : {"Игры", "ゲーム"}) {
        SCOPED_TRACE(leaf);
        TempFolder folder(leaf);
        folder.Write("RA2MD.ini", "[Video]\r\nScreenWidth=800\r\n");
        std::string path = folder.File("RA2MD.ini");
        Cini ini;
        ini.FileName(path);
        ini.ApplicationKey("Video");
        EXPECT_EQ(ini.GetValue("ScreenWidth", "p"), "800");
        EXPECT_TRUE(ini.SetValue("ScreenHeight", "600"));
        EXPECT_EQ(ini.GetValue("ScreenHeight", "p"), "600");
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"RA2MD.ini"});

        // Through the A function the same path cannot even be named: its
        // letters become '?' in the ANSI code page.
        if (GetACP() != CP_UTF8) {
            int n = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
            std::wstring wide(n, L'\0');
            MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, &wide[0], n);
            char ansi[MAX_PATH * 2] = {};
            WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, ansi, sizeof ansi, nullptr, nullptr);
            char buffer[100];
            GetPrivateProfileStringA("Video", "ScreenWidth", "p", buffer, 100, ansi);
            EXPECT_STREQ(buffer, "p");
        }
    }
}

}  // namespace
