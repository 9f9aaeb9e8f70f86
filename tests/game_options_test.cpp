// The Game Options dialog's behaviour over real RA2MD.ini files: the load
// step, Save And Close, the switch buttons and the sliders' change events.
#include "settings/game_options.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "settings/cini.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace {

struct Entry {
    std::string section, key, value;
};
using Entries = std::vector<Entry>;

// A settings file with CR LF line breaks. No blank line between sections:
// Wine's kernel32 drops those when it writes a key, Windows keeps them, and
// the tests compare whole files on both.
std::string IniText(const Entries& entries) {
    std::string text, section;
    for (const Entry& e : entries) {
        if (section != e.section) {
            section = e.section;
            text += "[" + section + "]\r\n";
        }
        text += e.key + "=" + e.value + "\r\n";
    }
    return text;
}

// The game's own keys around the nine the dialog edits.
Entries GameFile() {
    return {
        {"Options", "GameSpeed", "2"},
        {"Audio", "SoundVolume", "0.700000"},
        {"Audio", "VoiceVolume", "0.600000"},
        {"Audio", "ScoreVolume", "0.400000"},
        {"Audio", "IsScoreShuffle", "yes"},
        {"Audio", "InGameMusic", "yes"},
        {"Video", "AllowHiResModes", "no"},
        {"Video", "VideoBackBuffer", "yes"},
        {"Video", "AllowVRAMSidebar", "no"},
        {"Video", "ScreenWidth", "800"},
        {"Video", "ScreenHeight", "600"},
        {"Video", "StretchMovies", "yes"},
    };
}

// `entries` with the values of some keys replaced.
Entries With(Entries entries, const Entries& changes) {
    for (const Entry& c : changes)
        for (Entry& e : entries)
            if (e.section == c.section && e.key == c.key) e.value = c.value;
    return entries;
}

// A game folder with RA2MD.ini, and the dialog over a recording window
// whose scroll bar changes run the dialog's change handlers.
struct Dialog {
    TempFolder dir;
    RecordingWindow window;
    GameOptions options{window, dir.path()};

    explicit Dialog(const std::string& ini) {
        dir.Write("RA2MD.ini", ini);
        window.on_change = [this](const char* control) {
            for (const GameOptions::Handler& h : GameOptions::kChanges)
                if (std::strcmp(h.control, control) == 0) (options.*h.run)();
        };
    }
    std::string Ini() const { return dir.Read("RA2MD.ini"); }
};

TEST(GameOptionsLoad, FillsLabelsSlidersBoxesAndResolutionWithoutWriting) {
    struct Case {
        const char* what;
        std::string ini;
        const char* labels[4];  // EHRS, NAS, EVSS, EVBBS
        int values[3];          // HScroll1..3
        const char* boxes[3];   // Text1..3
        const char* combo;
    } cases[] = {
        {"the game's file", IniText(GameFile()),
         {"Off", "Sound On", "Off", "On"}, {70, 60, 40}, {"70", "60", "40"}, "800x600"},
        {"all four switches yes",
         "[Audio]\r\nInGameMusic=yes\r\nSoundVolume=1\r\nVoiceVolume=0.5\r\nScoreVolume=0\r\n"
         "[Video]\r\nAllowHiResModes=yes\r\nAllowVRAMSidebar=yes\r\nVideoBackBuffer=yes\r\n"
         "ScreenWidth=1280\r\nScreenHeight=1024\r\n",
         {"On", "Sound On", "On", "On"}, {100, 50, 0}, {"100", "50", "0"}, "1280x1024"},
        {"capitalised Yes, music no, the rest missing",
         "[Audio]\r\nInGameMusic=no\r\n[Video]\r\nAllowHiResModes=Yes\r\n",
         {"Off", "Sound Off", "Off", "Off"}, {0, 0, 0}, {"", "", ""}, "pxp"},
        {"halves round to the even hundredth",
         "[Audio]\r\nSoundVolume=0.125\r\nVoiceVolume=0.375\r\nScoreVolume=0.8\r\n"
         "[Video]\r\nScreenWidth=1600\r\nScreenHeight=1200\r\n",
         {"Off", "Sound Off", "Off", "Off"}, {12, 38, 80}, {"12", "38", "80"}, "1600x1200"},
        {"empty height, switch values of other forms",
         "[Audio]\r\nInGameMusic=1\r\n[Video]\r\nAllowVRAMSidebar=\r\nVideoBackBuffer= yes\r\n"
         "ScreenWidth=1024\r\nScreenHeight=\r\n",
         {"Off", "Sound Off", "Off", "On"}, {0, 0, 0}, {"", "", ""}, "1024xError"},
        {"only the width", "[Video]\r\nScreenWidth=1024\r\n",
         {"Off", "Sound Off", "Off", "Off"}, {0, 0, 0}, {"", "", ""}, "1024xp"},
        {"volumes that are no numbers, or out of range",
         "[Audio]\r\nSoundVolume=loud\r\nVoiceVolume=\r\nScoreVolume=1.5\r\n",
         {"Off", "Sound Off", "Off", "Off"}, {0, 0, 150}, {"", "", "150"}, "pxp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Dialog d(c.ini);
        d.options.Form_Load();
        const char* labels[] = {"EHRS", "NAS", "EVSS", "EVBBS"};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(d.window.texts[labels[i]], c.labels[i]) << labels[i];
        const char* sliders[] = {"HScroll1", "HScroll2", "HScroll3"};
        const char* boxes[] = {"Text1", "Text2", "Text3"};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(d.window.values[sliders[i]], c.values[i]) << sliders[i];
            EXPECT_EQ(d.window.texts[boxes[i]], c.boxes[i]) << boxes[i];
            // The change event, and with it the range, comes only when the
            // value moved off the scroll bar's starting 0.
            const RecordingWindow::Range& r = d.window.ranges[sliders[i]];
            EXPECT_EQ(r.times, c.values[i] != 0 ? 1 : 0) << sliders[i];
        }
        EXPECT_EQ(d.window.texts["Combo1"], c.combo);
        EXPECT_EQ(d.Ini(), c.ini) << "the load step writes nothing";
        EXPECT_TRUE(d.window.messages.empty());
        EXPECT_FALSE(d.window.closed);
    }
}

TEST(GameOptionsLoad, AMissingFileReadsAsDefaults) {
    TempFolder dir;
    RecordingWindow w;
    GameOptions options(w, dir.path());
    options.Form_Load();
    EXPECT_EQ(w.texts["NAS"], "Sound Off");
    EXPECT_EQ(w.texts["EHRS"], "Off");
    EXPECT_EQ(w.texts["Text1"], "");
    EXPECT_EQ(w.texts["Combo1"], "pxp");
    EXPECT_TRUE(dir.Names().empty());
}

TEST(GameOptionsSave, WritesTheBoxesAndTheResolutionThenCloses) {
    struct Case {
        const char* what;
        const char* boxes[3];  // Text1..3 as typed; null: as loaded
        const char* combo;     // null: as loaded
        Entries changes;       // to GameFile(), as the file should read afterwards
    } cases[] = {
        {"as loaded", {nullptr, nullptr, nullptr}, nullptr,
         {{"Audio", "SoundVolume", "0.7"}, {"Audio", "VoiceVolume", "0.6"},
          {"Audio", "ScoreVolume", "0.4"}}},
        {"ends of the range", {"100", "0", "35"}, "1280x1024",
         {{"Audio", "SoundVolume", "1"}, {"Audio", "VoiceVolume", "0"},
          {"Audio", "ScoreVolume", "0.35"}, {"Video", "ScreenWidth", "1280"},
          {"Video", "ScreenHeight", "1024"}}},
        {"no range check, blanks around", {"150", " 7 ", "12.5"}, "1024x768",
         {{"Audio", "SoundVolume", "1.5"}, {"Audio", "VoiceVolume", "0.07"},
          {"Audio", "ScoreVolume", "0.125"}, {"Video", "ScreenWidth", "1024"},
          {"Video", "ScreenHeight", "768"}}},
        {"typed sizes not in the list", {"80", "80", "80"}, "1600x1200",
         {{"Audio", "SoundVolume", "0.8"}, {"Audio", "VoiceVolume", "0.8"},
          {"Audio", "ScoreVolume", "0.8"}, {"Video", "ScreenWidth", "1600"},
          {"Video", "ScreenHeight", "1200"}}},
        {"eight characters", {"70", "60", "40"}, "1280x960",
         {{"Audio", "SoundVolume", "0.7"}, {"Audio", "VoiceVolume", "0.6"},
          {"Audio", "ScoreVolume", "0.4"}, {"Video", "ScreenWidth", "1280"},
          {"Video", "ScreenHeight", "960"}}},
        {"seven characters", {"70", "60", "40"}, "640x480",
         {{"Audio", "SoundVolume", "0.7"}, {"Audio", "VoiceVolume", "0.6"},
          {"Audio", "ScoreVolume", "0.4"}, {"Video", "ScreenWidth", "640"},
          {"Video", "ScreenHeight", "480"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Dialog d(IniText(GameFile()));
        d.options.Form_Load();
        const char* boxes[] = {"Text1", "Text2", "Text3"};
        for (int i = 0; i < 3; ++i)
            if (c.boxes[i]) d.window.texts[boxes[i]] = c.boxes[i];
        if (c.combo) d.window.texts["Combo1"] = c.combo;
        d.options.Command1_Click();
        EXPECT_EQ(d.Ini(), IniText(With(GameFile(), c.changes)));
        EXPECT_TRUE(d.window.closed);
        EXPECT_TRUE(d.window.messages.empty());
    }
}

TEST(GameOptionsSave, AResolutionNotOfTheListsFormLeavesBothKeys) {
    for (const char* combo : {"", "1024xp", "1024xError", "pxp", "12345x67", "800x6000", "1024 768",
                              "1024x76a", "abcdefgh", "1280x10245"}) {
        SCOPED_TRACE(combo);
        Dialog d(IniText(GameFile()));
        d.options.Form_Load();
        d.window.texts["Combo1"] = combo;
        d.options.Command1_Click();
        EXPECT_EQ(d.Ini(), IniText(With(GameFile(), {{"Audio", "SoundVolume", "0.7"},
                                                      {"Audio", "VoiceVolume", "0.6"},
                                                      {"Audio", "ScoreVolume", "0.4"}})));
        EXPECT_TRUE(d.window.closed);
        EXPECT_TRUE(d.window.messages.empty());
    }
}

TEST(GameOptionsSave, AVolumeThatIsNoNumberStopsThereWithAMessage) {
    struct Case {
        const char* boxes[3];
        const char* message;
        Entries changes;  // the rows written before the bad one
    } cases[] = {
        {{"", "60", "40"}, "\"Sound Volume\" is not a number: \"\".", {}},
        {{"80", "abc", "40"}, "\"Voice Volume\" is not a number: \"abc\".",
         {{"Audio", "SoundVolume", "0.8"}}},
        {{"80", "50", "4,5"}, "\"Music Volume\" is not a number: \"4,5\".",
         {{"Audio", "SoundVolume", "0.8"}, {"Audio", "VoiceVolume", "0.5"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        Dialog d(IniText(GameFile()));
        d.options.Form_Load();
        d.window.texts["Text1"] = c.boxes[0];
        d.window.texts["Text2"] = c.boxes[1];
        d.window.texts["Text3"] = c.boxes[2];
        d.window.texts["Combo1"] = "1024x768";
        d.options.Command1_Click();
        EXPECT_EQ(d.window.messages, std::vector<std::string>{c.message});
        EXPECT_FALSE(d.window.closed) << "the dialog stays open";
        EXPECT_EQ(d.Ini(), IniText(With(GameFile(), c.changes)));
    }
}

TEST(GameOptionsSwitches, EachButtonWritesItsKeyAtOnceAndSetsOnlyItsLabel) {
    struct Case {
        void (GameOptions::*click)();
        const char* section;
        const char* key;
        const char* value;
        const char* label;
        const char* caption;
    } cases[] = {
        {&GameOptions::NA_Click, "Audio", "InGameMusic", "no", "NAS", "Sound Off"},
        {&GameOptions::NAo_Click, "Audio", "InGameMusic", "yes", "NAS", "Sound On"},
        {&GameOptions::EVBB_Click, "Video", "VideoBackBuffer", "no", "EVBBS", "Off"},
        {&GameOptions::EVBBo_Click, "Video", "VideoBackBuffer", "yes", "EVBBS", "On"},
        {&GameOptions::EVS_Click, "Video", "AllowVRAMSidebar", "no", "EVSS", "Off"},
        {&GameOptions::EVSo_Click, "Video", "AllowVRAMSidebar", "yes", "EVSS", "On"},
        {&GameOptions::EHR_Click, "Video", "AllowHiResModes", "no", "EHRS", "Off"},
        {&GameOptions::EHRo_Click, "Video", "AllowHiResModes", "yes", "EHRS", "On"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key + std::string("=") + c.value);
        Dialog d(IniText(GameFile()));
        d.options.Form_Load();
        RecordingWindow before = d.window;
        // Twice: a button always writes its own value.
        for (int click = 0; click < 2; ++click) {
            (d.options.*c.click)();
            EXPECT_EQ(d.Ini(), IniText(With(GameFile(), {{c.section, c.key, c.value}})));
        }
        before.texts[c.label] = c.caption;
        EXPECT_EQ(d.window.texts, before.texts) << "only the row's label changes";
        EXPECT_EQ(d.window.values, before.values);
        EXPECT_FALSE(d.window.closed);
    }

    // A file without the key gets it, in its section.
    Dialog d("[Audio]\r\nSoundVolume=0.5\r\n");
    d.options.NAo_Click();
    Cini ini;
    ini.FileName(d.dir.File("RA2MD.ini"));
    ini.ApplicationKey("Audio");
    EXPECT_EQ(ini.GetValue("InGameMusic", "p"), "yes");
    EXPECT_EQ(ini.GetValue("SoundVolume", "p"), "0.5");
    EXPECT_EQ(d.window.texts["NAS"], "Sound On");
}

TEST(GameOptionsSliders, EveryChangeAppliesTheRangeAndWritesOnlyItsBox) {
    struct Case {
        const char* slider;
        const char* box;
    } cases[] = {{"HScroll1", "Text1"}, {"HScroll2", "Text2"}, {"HScroll3", "Text3"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slider);
        Dialog d(IniText(GameFile()));
        d.options.Form_Load();
        d.window.texts["Text1"] = d.window.texts["Text2"] = d.window.texts["Text3"] = "typed";
        std::map<std::string, RecordingWindow::Range> before = d.window.ranges;
        for (int value : {51, 100, 0}) {
            d.window.SetValue(c.slider, value);
            EXPECT_EQ(d.window.texts[c.box], std::to_string(value));
        }
        const RecordingWindow::Range& r = d.window.ranges[c.slider];
        EXPECT_EQ(r.times, before[c.slider].times + 3) << "applied at every change";
        EXPECT_EQ(r.min, 0);
        EXPECT_EQ(r.max, 100);
        EXPECT_EQ(r.small_step, 1);
        EXPECT_EQ(r.large_step, 10);
        for (const Case& other : cases) {
            if (other.box == c.box) continue;
            EXPECT_EQ(d.window.texts[other.box], "typed") << other.box;
        }
        EXPECT_EQ(d.Ini(), IniText(GameFile())) << "sliders never write the file";
    }
}

}  // namespace
