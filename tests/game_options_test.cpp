// The Game Options dialog's behaviour over real RA2MD.ini files: the load
// step, Save And Close, the switch buttons, the sliders' change events, and
// settings files as players' machines may have them.
#include "settings/game_options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "panel/frm1.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace {

// The game's own keys around the nine the dialog edits, CR LF breaks. No
// blank line between sections: Wine's kernel32 drops those when it writes a
// key, Windows keeps them, and the tests compare whole files on both.
const char kGame[] =
    "[Options]\r\nGameSpeed=2\r\n"
    "[Audio]\r\nSoundVolume=0.700000\r\nVoiceVolume=0.600000\r\nScoreVolume=0.400000\r\n"
    "IsScoreShuffle=yes\r\nInGameMusic=yes\r\n"
    "[Video]\r\nAllowHiResModes=no\r\nVideoBackBuffer=yes\r\nAllowVRAMSidebar=no\r\n"
    "ScreenWidth=800\r\nScreenHeight=600\r\nStretchMovies=yes\r\n";

// kGame with the lines of `changes` ("SoundVolume=0.8 ScreenWidth=1024") in
// place of its own.
std::string With(const std::string& changes) {
    std::string text = kGame;
    for (size_t from = 0, to; from < changes.size(); from = to + 1) {
        to = std::min(changes.find(' ', from), changes.size());
        std::string line = changes.substr(from, to - from);
        size_t at = text.find("\n" + line.substr(0, line.find('=') + 1)) + 1;
        text.replace(at, text.find('\r', at) - at, line);
    }
    return text;
}
const std::string kSaved = "SoundVolume=0.7 VoiceVolume=0.6 ScoreVolume=0.4";  // as loaded

// A game folder with RA2MD.ini, and the dialog over a recording window
// whose scroll bar changes run the dialog's change handlers.
struct Dialog {
    TempFolder dir;
    RecordingWindow window;
    GameOptions options{window, dir.path()};

    explicit Dialog(const std::string& ini = "") {  // "": no file
        if (!ini.empty()) dir.Write("RA2MD.ini", ini);
        window.on_change = [this](const char* control) {
            for (const GameOptions::Handler& h : GameOptions::kChanges)
                if (std::strcmp(h.control, control) == 0) (options.*h.run)();
        };
    }
    std::string Ini() const { return dir.Read("RA2MD.ini"); }
    // The four labels, each slider's value and its box, the resolution box.
    std::string Shown() {
        std::string s;
        for (const char* label : {"EHRS", "NAS", "EVSS", "EVBBS"}) s += window.texts[label] + ",";
        for (const char* n : {"1", "2", "3"})
            s += std::to_string(window.values["HScroll" + std::string(n)]) + ":" +
                 window.texts["Text" + std::string(n)] + " ";
        return s + window.texts["Combo1"];
    }
};

TEST(GameOptionsLoad, FillsLabelsSlidersBoxesAndResolution) {
    const std::pair<std::string, std::string> cases[] = {  // the file, what the dialog shows
        {kGame, "Off,Sound On,Off,On,70:70 60:60 40:40 800x600"},
        {"[Audio]\nInGameMusic=yes\nSoundVolume=1\nVoiceVolume=0.5\nScoreVolume=0\n[Video]\n"
         "AllowHiResModes=yes\nAllowVRAMSidebar=yes\nVideoBackBuffer=yes\nScreenWidth=1280\n"
         "ScreenHeight=1024\n", "On,Sound On,On,On,100:100 50:50 0:0 1280x1024"},
        {"[Audio]\nInGameMusic=no\n[Video]\nAllowHiResModes=Yes\n",
         "Off,Sound Off,Off,Off,0: 0: 0: pxp"},
        {"[Audio]\nInGameMusic=1\nSoundVolume=0.125\n[Video]\nAllowVRAMSidebar=\n"
         "VideoBackBuffer= yes\nScreenWidth=1024\nScreenHeight=\n",
         "Off,Sound Off,Off,On,12:12 0: 0: 1024xError"},
        {"[Audio]\nSoundVolume=loud\nVoiceVolume=-0.25\nScoreVolume=1.5\n",
         "Off,Sound Off,Off,Off,0: -25:-25 150:150 pxp"},
    };
    for (const auto& [ini, shown] : cases) {
        Dialog d(ini);
        d.options.Form_Load();
        EXPECT_EQ(d.Shown(), shown);
        EXPECT_EQ(d.Ini(), ini) << "loading writes nothing";
    }
}

// Save writes the three volumes, then the resolution when it is of the
// list's form (4 or 3 digits, "x", 4 or 3 digits, the height not longer),
// and closes; a volume that is no number stops it there with a message.
TEST(GameOptionsSave, WritesVolumesAndResolutionOrStopsAtAVolumeThatIsNoNumber) {
    struct Case {
        const char* boxes[3];  // Text1..3 as typed; null: as loaded
        const char* combo;
        std::string changes, message;  // no message: the dialog closes
    } cases[] = {
        {{"100", "0", "35"}, "1280x1024",
         "SoundVolume=1 VoiceVolume=0 ScoreVolume=0.35 ScreenWidth=1280 ScreenHeight=1024", ""},
        {{"150", " 7 ", "12.5"}, "1024x768",
         "SoundVolume=1.5 VoiceVolume=0.07 ScoreVolume=0.125 ScreenWidth=1024 ScreenHeight=768",
         ""},
        {{}, "640x480", kSaved + " ScreenWidth=640 ScreenHeight=480", ""},
        {{"", "60", "40"}, "1024x768", "", "\"Sound Volume\" is not a number: \"\"."},
        {{"8", "abc"}, "800x600", "SoundVolume=0.08", "\"Voice Volume\" is not a number: \"abc\"."},
        {{"8", "5", "4,5"}, "", "SoundVolume=0.08 VoiceVolume=0.05",
         "\"Music Volume\" is not a number: \"4,5\"."},
    };
    std::vector<Case> all(std::begin(cases), std::end(cases));
    for (const char* combo : {"", "1024xp", "1024xError", "pxp", "12345x67", "800x6000",
                              "1024 768", "1024x76a", "abcdefgh", "1280x10245", "1x2", "p024x768"})
        all.push_back({{}, combo, kSaved, ""});
    for (const Case& c : all) {
        SCOPED_TRACE(testing::Message() << c.combo << " " << c.message);
        Dialog d(kGame);
        d.options.Form_Load();
        for (int i = 0; i < 3; ++i)
            if (c.boxes[i]) d.window.texts["Text" + std::to_string(i + 1)] = c.boxes[i];
        d.window.texts["Combo1"] = c.combo;
        d.options.Command1_Click();
        EXPECT_EQ(d.Ini(), With(c.changes));
        EXPECT_EQ(d.window.closed, c.message.empty());
        EXPECT_EQ(d.window.messages, std::vector<std::string>(!c.message.empty(), c.message));
    }
}

// Each button, pressed by its control's name, writes its key at once and sets
// only its row's label; the rows are switched one way and back.
TEST(GameOptionsSwitches, EachButtonWritesItsKeyAtOnceAndSetsOnlyItsLabel) {
    const char* const presses[][3] = {  // control, the line written, the four labels
        {"NA", "InGameMusic=no", "Off,Sound Off,Off,On"},
        {"NAo", "InGameMusic=yes", "Off,Sound On,Off,On"},
        {"EVBB", "VideoBackBuffer=no", "Off,Sound On,Off,Off"},
        {"EVBBo", "VideoBackBuffer=yes", "Off,Sound On,Off,On"},
        {"EVSo", "AllowVRAMSidebar=yes", "Off,Sound On,On,On"},
        {"EVS", "AllowVRAMSidebar=no", "Off,Sound On,Off,On"},
        {"EHRo", "AllowHiResModes=yes", "On,Sound On,Off,On"},
        {"EHR", "AllowHiResModes=no", "Off,Sound On,Off,On"},
    };
    Dialog d(kGame);
    d.options.Form_Load();
    for (const auto& press : presses) {
        for (const GameOptions::Handler& h : GameOptions::kClicks)
            if (std::strcmp(h.control, press[0]) == 0) (d.options.*h.run)();
        EXPECT_EQ(d.Ini(), With(press[1])) << press[0];
        EXPECT_EQ(d.Shown(), press[2] + std::string(",70:70 60:60 40:40 800x600")) << press[0];
    }
}

TEST(GameOptionsSliders, EveryChangeAppliesTheRangeAndWritesOnlyItsBox) {
    Dialog d(kGame);
    d.options.Form_Load();
    d.window.texts["Text1"] = d.window.texts["Text2"] = d.window.texts["Text3"] = "typed";
    d.window.SetValue("HScroll1", 100);
    EXPECT_EQ(d.Shown(), "Off,Sound On,Off,On,100:100 60:typed 40:typed 800x600");
    d.window.SetValue("HScroll2", 0);
    d.window.SetValue("HScroll3", 51);
    EXPECT_EQ(d.Shown(), "Off,Sound On,Off,On,100:100 0:0 51:51 800x600");
    for (const char* slider : {"HScroll1", "HScroll2", "HScroll3"}) {
        const RecordingWindow::Range& r = d.window.ranges[slider];
        EXPECT_EQ(std::vector<int>({r.min, r.max, r.small_step, r.large_step}),
                  std::vector<int>({0, 100, 1, 10})) << slider;
    }
}

// RA2MD.ini as players' machines may have it: none, a folder of that name, an
// empty file, a read-only file (the Windows tests add one held open by another
// program). Reads give their defaults, a failed write goes unreported while
// the label changes all the same, Save And Close closes, nothing crashes and
// no other file is touched; an empty file is written as a missing one is.
TEST(GameOptionsBadFiles, NeitherCrashNorTouchOtherFiles) {
    enum Kind { kNone, kFolder, kEmpty, kReadOnly };
    for (Kind kind : {kNone, kFolder, kEmpty, kReadOnly}) {
        SCOPED_TRACE(kind);
        Dialog d;
        d.dir.Write("other.ini", kGame);
        if (kind == kFolder) d.dir.MakeFolder("RA2MD.ini");
        if (kind >= kEmpty) d.dir.Write("RA2MD.ini", "");
        if (kind == kReadOnly) d.dir.SetReadOnly("RA2MD.ini");
        RecordingWindow main;  // the main window's check: a folder is no file
        Frm1(main, d.dir.path()).Command7_Click();
        EXPECT_EQ(main.opened.size(), kind >= kEmpty ? 1u : 0u);

        d.options.Form_Load();
        EXPECT_EQ(d.Shown(), "Off,Sound Off,Off,Off,0: 0: 0: pxp");
        d.options.EHRo_Click();
        d.options.NA_Click();
        for (const char* box : {"Text1", "Text2", "Text3"}) d.window.texts[box] = "50";
        d.window.texts["Combo1"] = "800x600";
        d.options.Command1_Click();
        EXPECT_EQ(d.Shown(), "On,Sound Off,Off,Off,0:50 0:50 0:50 800x600");
        EXPECT_TRUE(d.window.closed && d.window.messages.empty());
        EXPECT_EQ(d.dir.Read("other.ini"), kGame);
        EXPECT_EQ(d.dir.Names(), (std::vector<std::string>{"RA2MD.ini", "other.ini"}));
        if (kind == kFolder) {
            EXPECT_TRUE(std::filesystem::is_empty(d.dir.File("RA2MD.ini")));
        } else {
            EXPECT_EQ(d.Ini(), kind == kReadOnly ? ""
                               : "[Video]\r\nAllowHiResModes=yes\r\nScreenWidth=800\r\n"
                                 "ScreenHeight=600\r\n[Audio]\r\nInGameMusic=no\r\n"
                                 "SoundVolume=0.5\r\nVoiceVolume=0.5\r\nScoreVolume=0.5\r\n");
        }
    }
}

}  // namespace
