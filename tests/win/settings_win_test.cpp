// The settings core on Windows (run under Wine): a user's locale does not
// change how numbers are stored, a game folder whose name the ANSI code page
// cannot hold works (the wide profile functions), and a settings file held
// open by another program is read and left as it is.
#include <gtest/gtest.h>
#include <windows.h>

#include <clocale>
#include <string>

#include "settings/cini.h"
#include "settings/convert.h"
#include "settings/game_options.h"
#include "tests/support/held_file.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace {

// Puts the process in a German locale (',' as the decimal separator) and back.
struct GermanLocale {
    LCID thread = GetThreadLocale();
    std::string c = std::setlocale(LC_ALL, nullptr);
    bool active = std::setlocale(LC_ALL, "German") &&
                  SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT));
    ~GermanLocale() {
        std::setlocale(LC_ALL, c.c_str());
        SetThreadLocale(thread);
    }
};

TEST(SettingsWindows, NumbersIgnoreTheUsersLocaleInFoldersOutsideTheAnsiCodePage) {
    GermanLocale german;
    ASSERT_TRUE(german.active);
    char separator[8] = {};
    std::snprintf(separator, sizeof separator, "%.1f", 0.5);
    ASSERT_STREQ(separator, "0,5");  // the C library now writes a comma
    EXPECT_EQ(settings::VolumeFromStored("0,7"), std::nullopt);
    for (const char* leaf : {"Игры", "ゲーム"}) {
        SCOPED_TRACE(leaf);
        TempFolder folder(leaf);
        folder.Write("RA2MD.ini", "[Audio]\r\nSoundVolume=0.700000\r\n");
        Cini ini;
        ini.FileName(folder.File("RA2MD.ini"));
        ini.ApplicationKey("Audio");
        EXPECT_EQ(settings::VolumeFromStored(ini.GetValue("SoundVolume", "p")), 70);
        EXPECT_TRUE(ini.SetValue("VoiceVolume", *settings::StoredFromVolume("80")));
        EXPECT_EQ(folder.Read("RA2MD.ini"),
                  "[Audio]\r\nSoundVolume=0.700000\r\nVoiceVolume=0.8\r\n");
    }
}

// Held by a program that lets others read it but not write it (the game, or an
// editor): the dialog reads the file's values, every write is refused without
// a word while the labels change all the same, Save And Close closes, and the
// file keeps its bytes.
TEST(SettingsWindows, AFileHeldWithoutWriteSharingIsReadAndLeftAsItIs) {
    const std::string text = "[Audio]\r\nSoundVolume=0.7\r\nInGameMusic=yes\r\n[Video]\r\n"
                             "AllowHiResModes=no\r\nScreenWidth=800\r\nScreenHeight=600\r\n";
    TempFolder dir;
    dir.Write("RA2MD.ini", text);
    Held held(dir.File("RA2MD.ini"));
    ASSERT_TRUE(held.ok());
    RecordingWindow w;
    GameOptions options(w, dir.path());
    options.Form_Load();
    EXPECT_EQ(w.values["HScroll1"], 70);
    EXPECT_EQ(w.texts["NAS"] + w.texts["EHRS"] + w.texts["Combo1"], "Sound OnOff800x600");
    options.EHRo_Click();
    options.NA_Click();
    EXPECT_EQ(w.texts["NAS"] + w.texts["EHRS"], "Sound OffOn");
    for (const char* box : {"Text1", "Text2", "Text3"}) w.texts[box] = "20";
    options.Command1_Click();
    EXPECT_TRUE(w.closed);
    EXPECT_TRUE(w.messages.empty());
    held.Release();
    EXPECT_EQ(dir.Read("RA2MD.ini"), text);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"RA2MD.ini"});
}

}  // namespace
