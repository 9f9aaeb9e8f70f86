// RA2MD.ini held open by another program that lets others read it but not
// write it (the game, or an editor): the dialog reads the file's values,
// every write is refused without a word while the labels change all the
// same, Save And Close closes, and the file keeps its bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "settings/game_options.h"
#include "tests/support/held_file.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(SettingsHeldWin, AFileHeldWithoutWriteSharingIsReadAndLeftAsItIs) {
    const std::string text =
        "[Audio]\r\nSoundVolume=0.7\r\nInGameMusic=yes\r\n[Video]\r\nAllowHiResModes=no\r\n"
        "ScreenWidth=800\r\nScreenHeight=600\r\n";
    TempFolder dir;
    dir.Write("RA2MD.ini", text);
    Held held(dir.File("RA2MD.ini"));
    ASSERT_TRUE(held.ok());
    RecordingWindow w;
    GameOptions options(w, dir.path());
    w.on_change = [&](const char* control) {
        for (const GameOptions::Handler& h : GameOptions::kChanges)
            if (std::strcmp(h.control, control) == 0) (options.*h.run)();
    };
    options.Form_Load();
    EXPECT_EQ(w.texts["Text1"], "70");
    EXPECT_EQ(w.texts["NAS"], "Sound On");
    EXPECT_EQ(w.texts["EHRS"], "Off");
    EXPECT_EQ(w.texts["Combo1"], "800x600");
    options.EHRo_Click();
    options.NA_Click();
    EXPECT_EQ(w.texts["EHRS"], "On");
    EXPECT_EQ(w.texts["NAS"], "Sound Off");
    for (const char* box : {"Text1", "Text2", "Text3"}) w.texts[box] = "20";
    options.Command1_Click();
    EXPECT_TRUE(w.closed);
    EXPECT_TRUE(w.messages.empty());
    held.Release();
    EXPECT_EQ(dir.Read("RA2MD.ini"), text);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"RA2MD.ini"});
}

}  // namespace
