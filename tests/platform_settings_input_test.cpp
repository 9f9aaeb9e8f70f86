// RA2MD.ini as players' machines may have it: a folder of that name, an empty
// file, a read-only file (the Windows tests add one held open by another
// program). The dialog does what it does without a file or with a refused
// write: reads give their defaults, a failed write goes unreported while the
// label changes all the same, Save And Close closes, nothing crashes and no
// other file is touched. A read-only medium needs a mount, so the writers'
// decision is tested over every combination instead.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "panel/frm1.h"
#include "settings/game_options.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(SettingsWrite, RefusedForAFolderAReadOnlyFileOrAReadOnlyMedium) {
    struct Case {
        const char* what;
        bool exists, regular, read_only, read_only_medium;
        bool may;
    } cases[] = {
        {"ordinary file", true, true, false, false, true},
        {"no file yet: created", false, true, false, false, true},
        {"a folder of that name", true, false, false, false, false},
        {"read-only file", true, true, true, false, false},
        {"file on a read-only medium", true, true, false, true, false},
        {"no file, on a read-only medium", false, true, false, true, false},
        {"read-only file on a read-only medium", true, true, true, true, false},
    };
    for (const Case& c : cases) {
        profile::WriteTarget t;
        t.exists = c.exists;
        t.regular = c.regular;
        t.read_only = c.read_only;
        t.read_only_medium = c.read_only_medium;
        EXPECT_EQ(profile::MayWrite(t), c.may) << c.what;
    }
}

// Everything the dialog shows, to compare one load with another.
struct Shown {
    std::map<std::string, std::string> texts;
    std::map<std::string, int> values;
    bool operator==(const Shown& o) const { return texts == o.texts && values == o.values; }
};

// Loads the dialog over `dir`, clicks "1" of High Resolutions and "0" of the
// music, types volumes and a screen size, then Save And Close; what it
// showed after loading and at the end.
struct DialogRun {
    Shown loaded, clicked;
    bool closed = false;
    std::vector<std::string> messages;
};
DialogRun RunDialog(const TempFolder& dir) {
    RecordingWindow w;
    GameOptions options(w, dir.path());
    w.on_change = [&](const char* control) {
        for (const GameOptions::Handler& h : GameOptions::kChanges)
            if (std::strcmp(h.control, control) == 0) (options.*h.run)();
    };
    DialogRun run;
    options.Form_Load();
    run.loaded = {w.texts, w.values};
    options.EHRo_Click();
    options.NA_Click();
    for (const char* box : {"Text1", "Text2", "Text3"}) w.texts[box] = "50";
    w.texts["Combo1"] = "800x600";
    options.Command1_Click();
    run.clicked = {w.texts, w.values};
    run.closed = w.closed;
    run.messages = w.messages;
    return run;
}

TEST(SettingsInput, BadSettingsFilesNeitherCrashNorTouchOtherFiles) {
    // The dialog without a file: the defaults, and the labels after the clicks.
    TempFolder none;
    DialogRun without = RunDialog(none);
    const std::string kOther = "[Audio]\r\nSoundVolume=0.5\r\n";
    enum Kind { kFolder, kEmpty, kReadOnly };
    struct Case {
        const char* what;
        Kind kind;
        bool game_options_opens;
    } cases[] = {
        {"a folder named RA2MD.ini", kFolder, false},
        {"an empty RA2MD.ini", kEmpty, true},
        {"a read-only RA2MD.ini", kReadOnly, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir;
        dir.Write("other.ini", kOther);
        if (c.kind == kFolder) dir.MakeFolder("RA2MD.ini");
        if (c.kind == kEmpty) dir.Write("RA2MD.ini", "");
        if (c.kind == kReadOnly) {
            dir.Write("RA2MD.ini", "");
            dir.SetReadOnly("RA2MD.ini");
        }
        // The main window's check: a folder is no file.
        RecordingWindow main;
        Frm1 frm1(main, dir.path());
        frm1.Command7_Click();
        EXPECT_EQ(main.opened.size(), c.game_options_opens ? 1u : 0u);
        EXPECT_EQ(main.messages, c.game_options_opens ? std::vector<std::string>{}
                                 : std::vector<std::string>{
                                       "Please Place Controll Panal Exe into Yr Folder"});

        DialogRun run = RunDialog(dir);
        EXPECT_TRUE(run.loaded == without.loaded) << "reads give their defaults";
        EXPECT_TRUE(run.clicked == without.clicked) << "labels change whatever the write did";
        EXPECT_TRUE(run.closed);
        EXPECT_TRUE(run.messages.empty());
        EXPECT_EQ(dir.Read("other.ini"), kOther);
        std::vector<std::string> names = dir.Names();
        EXPECT_EQ(names, (std::vector<std::string>{"RA2MD.ini", "other.ini"}));
        if (c.kind == kFolder) {
            EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::u8path(dir.File("RA2MD.ini"))));
        }
        if (c.kind == kReadOnly) {
            EXPECT_EQ(dir.Read("RA2MD.ini"), "");
            dir.SetReadOnly("RA2MD.ini", false);
        }
        // An empty file is written as a missing one would be.
        if (c.kind == kEmpty) {
            EXPECT_EQ(dir.Read("RA2MD.ini"), none.Read("RA2MD.ini"));
        }
    }
}

}  // namespace
