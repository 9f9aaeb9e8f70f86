// The Game Options dialog's behaviour over real RA2MD.ini files: the load
// step, Save And Close, the switch buttons and the sliders' change events.
#include "settings/game_options.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

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

const char kNoFile[] = "\x01(no file)";

// A game folder with RA2MD.ini, and the dialog over a recording window
// whose scroll bar changes run the dialog's change handlers.
struct Dialog {
    TempFolder dir;
    RecordingWindow window;
    GameOptions options{window, dir.path()};

    explicit Dialog(const std::string& ini) {
        if (ini != kNoFile) dir.Write("RA2MD.ini", ini);
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
        {"no settings file", kNoFile, {"Off", "Sound Off", "Off", "Off"}, {0, 0, 0}, {"", "", ""},
         "pxp"},
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
        EXPECT_EQ(d.dir.Names().size(), c.ini == kNoFile ? 0u : 1u) << "no file created";
        EXPECT_EQ(d.Ini(), c.ini == kNoFile ? std::string() : c.ini) << "loading writes nothing";
        EXPECT_TRUE(d.window.messages.empty());
        EXPECT_FALSE(d.window.closed);
    }
}

// Save writes the three volumes, then the resolution when it is of the
// list's form (4 or 3 digits, "x", 4 or 3 digits, the height not longer),
// and closes; a volume that is no number stops it there with a message.
TEST(GameOptionsSave, WritesVolumesAndResolutionOrStopsAtAVolumeThatIsNoNumber) {
    struct Case {
        const char* boxes[3];  // Text1..3 as typed; null: as loaded
        const char* combo;
        const char* volumes[3];      // as written; null: left
        const char *width, *height;  // as written; null: left
        const char* message;         // null: none, and the dialog closes
    } cases[] = {
        {{nullptr, nullptr, nullptr}, "800x600", {"0.7", "0.6", "0.4"}, "800", "600", nullptr},
        {{"100", "0", "35"}, "1280x1024", {"1", "0", "0.35"}, "1280", "1024", nullptr},
        {{"150", " 7 ", "12.5"}, "1024x768", {"1.5", "0.07", "0.125"}, "1024", "768", nullptr},
        {{"80", "80", "80"}, "1600x1200", {"0.8", "0.8", "0.8"}, "1600", "1200", nullptr},
        {{nullptr, nullptr, nullptr}, "1280x960", {"0.7", "0.6", "0.4"}, "1280", "960", nullptr},
        {{nullptr, nullptr, nullptr}, "640x480", {"0.7", "0.6", "0.4"}, "640", "480", nullptr},
        {{"", "60", "40"}, "1024x768", {}, nullptr, nullptr,
         "\"Sound Volume\" is not a number: \"\"."},
        {{"80", "abc", "40"}, "1024x768", {"0.8"}, nullptr, nullptr,
         "\"Voice Volume\" is not a number: \"abc\"."},
        {{"80", "50", "4,5"}, "1024x768", {"0.8", "0.5"}, nullptr, nullptr,
         "\"Music Volume\" is not a number: \"4,5\"."},
    };
    std::vector<Case> all(std::begin(cases), std::end(cases));
    for (const char* combo : {"", "1024xp", "1024xError", "pxp", "12345x67", "800x6000",
                              "1024 768", "1024x76a", "abcdefgh", "1280x10245", "1x2", "p024x768"})
        all.push_back({{}, combo, {"0.7", "0.6", "0.4"}, nullptr, nullptr, nullptr});
    for (const Case& c : all) {
        SCOPED_TRACE(testing::Message() << c.combo << " " << (c.message ? c.message : ""));
        Dialog d(IniText(GameFile()));
        d.options.Form_Load();
        const char* boxes[] = {"Text1", "Text2", "Text3"};
        const char* keys[] = {"SoundVolume", "VoiceVolume", "ScoreVolume"};
        Entries changes;
        for (int i = 0; i < 3; ++i) {
            if (c.boxes[i]) d.window.texts[boxes[i]] = c.boxes[i];
            if (c.volumes[i]) changes.push_back({"Audio", keys[i], c.volumes[i]});
        }
        d.window.texts["Combo1"] = c.combo;
        d.options.Command1_Click();
        if (c.width) changes.push_back({"Video", "ScreenWidth", c.width});
        if (c.height) changes.push_back({"Video", "ScreenHeight", c.height});
        EXPECT_EQ(d.Ini(), IniText(With(GameFile(), changes)));
        EXPECT_EQ(d.window.closed, c.message == nullptr);
        EXPECT_EQ(d.window.messages,
                  c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
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
