// Settings on both builds: the Game Options dialog over real RA2MD.ini files,
// the profile code (natively ours, under Wine kernel32), Cini, the conversions.
#include "settings/game_options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bench/ini_cases.h"
#include "platform/profile.h"
#include "settings/cini.h"
#include "settings/convert.h"
#include "tests/support/recording_window.h"
#include "tests/support/services.h"
#include "tests/support/temp_folder.h"

namespace {

// No blank line between sections: Wine's kernel32 drops those when it writes.
const char kGame[] =
    "[Options]\r\nGameSpeed=2\r\n"
    "[Audio]\r\nSoundVolume=0.700000\r\nVoiceVolume=0.600000\r\nScoreVolume=0.400000\r\n"
    "IsScoreShuffle=yes\r\nInGameMusic=yes\r\n"
    "[Video]\r\nAllowHiResModes=no\r\nVideoBackBuffer=yes\r\nAllowVRAMSidebar=no\r\n"
    "ScreenWidth=800\r\nScreenHeight=600\r\nStretchMovies=yes\r\n";
const std::string kSaved = "SoundVolume=0.7 VoiceVolume=0.6 ScoreVolume=0.4";  // as loaded

// kGame with the lines of `changes` ("SoundVolume=0.8 ScreenWidth=1024") in place of its own.
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

struct Dialog {
    TempFolder dir;
    RealServices real{dir.path()};
    RecordingWindow window;
    core::GameOptions options{window, real.folder};

    explicit Dialog(const std::string& ini = "") {  // "": no file
        if (!ini.empty()) dir.Write("RA2MD.ini", ini);
        window.on_change = [this](const char* control) { Run(core::GameOptions::kChanges, control); };
        options.Form_Load();
    }
    template <size_t N> void Run(const core::GameOptions::Handler (&handlers)[N], const char* control) {
        for (const core::GameOptions::Handler& h : handlers)
            if (std::strcmp(h.control, control) == 0) (options.*h.run)();
    }
    void Type(const char* text) { window.texts["Text1"] = window.texts["Text2"] = window.texts["Text3"] = text; }
    std::string Ini() const { return dir.Read("RA2MD.ini"); }
    std::string Shown() {
        std::string s;
        for (const char* label : {"EHRS", "NAS", "EVSS", "EVBBS"}) s += window.texts[label] + ",";
        for (std::string n : {"1", "2", "3"})
            s += std::to_string(window.values["HScroll" + n]) + ":" + window.texts["Text" + n] + " ";
        return s + window.texts["Combo1"];
    }
};

TEST(GameOptions, LoadFillsLabelsSlidersBoxesAndResolution) {
    const std::pair<std::string, std::string> cases[] = {  // the file, what the dialog shows
        {kGame, "Off,Sound On,Off,On,70:70 60:60 40:40 800x600"},
        {"[Audio]\nInGameMusic=yes\nSoundVolume=1\nVoiceVolume=0.5\nScoreVolume=0\n[Video]\n"
         "AllowHiResModes=yes\nAllowVRAMSidebar=yes\nVideoBackBuffer=yes\nScreenWidth=1280\n"
         "ScreenHeight=1024\n", "On,Sound On,On,On,100:100 50:50 0:0 1280x1024"},
        {"[Audio]\nInGameMusic=no\n[Video]\nAllowHiResModes=Yes\n", "Off,Sound Off,Off,Off,0: 0: 0: pxp"},
        {"[Audio]\nInGameMusic=1\nSoundVolume=0.125\n[Video]\nAllowVRAMSidebar=\n"
         "VideoBackBuffer= yes\nScreenWidth=1024\nScreenHeight=\n", "Off,Sound Off,Off,On,12:12 0: 0: 1024xError"},
        {"[Audio]\nSoundVolume=loud\nVoiceVolume=-0.25\nScoreVolume=1.5\n",
         "Off,Sound Off,Off,Off,0: -25:-25 150:150 pxp"},
    };
    for (const auto& [ini, shown] : cases) {
        Dialog d(ini);
        EXPECT_EQ(d.Shown(), shown);
        EXPECT_EQ(d.Ini(), ini) << "loading writes nothing";
    }
}

TEST(GameOptions, SaveWritesVolumesAndResolutionOrStopsAtAVolumeThatIsNoNumber) {
    struct Case { std::vector<const char*> boxes; const char* combo; std::string changes, message; } cases[] = {
        {{"100", "0", "35"}, "1280x1024",
         "SoundVolume=1 VoiceVolume=0 ScoreVolume=0.35 ScreenWidth=1280 ScreenHeight=1024", ""},
        {{"150", " 7 ", "12.5"}, "1024x768",
         "SoundVolume=1.5 VoiceVolume=0.07 ScoreVolume=0.125 ScreenWidth=1024 ScreenHeight=768", ""},
        {{}, "640x480", kSaved + " ScreenWidth=640 ScreenHeight=480", ""},
        {{"", "60", "40"}, "1024x768", "", "\"Sound Volume\" is not a number: \"\"."},
        {{"8", "abc"}, "800x600", "SoundVolume=0.08", "\"Voice Volume\" is not a number: \"abc\"."},
        {{"8", "5", "4,5"}, "", "SoundVolume=0.08 VoiceVolume=0.05", "\"Music Volume\" is not a number: \"4,5\"."},
        {{}, "800x600", kSaved + " ScreenWidth=800 ScreenHeight=600", ""},
        {{}, "1920x1080", kSaved + " ScreenWidth=1920 ScreenHeight=1080", ""},
        {{}, "12345x67", kSaved, ""}, {{}, "1024x76a", kSaved, ""}, {{}, "1280x10245", kSaved, ""},
        {{}, "a1024x768", kSaved, ""}, {{}, "1024x768a", kSaved, ""}, {{}, "10240x768", kSaved, ""},
        {{}, "1024xp", kSaved, ""},   {{}, "800X600", kSaved, ""},  {{}, "8OOx600", kSaved, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.combo << " " << c.message);
        Dialog d(kGame);
        for (size_t i = 0; i < c.boxes.size(); ++i) d.window.texts["Text" + std::to_string(i + 1)] = c.boxes[i];
        d.window.texts["Combo1"] = c.combo;
        d.options.Command1_Click();
        EXPECT_EQ(d.Ini(), With(c.changes));
        EXPECT_EQ(d.window.closed, c.message.empty());
        EXPECT_EQ(d.window.messages, std::vector<std::string>(!c.message.empty(), c.message));
    }
}

TEST(GameOptions, SwitchesAndSlidersChangeOnlyTheirOwnRow) {
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
    for (const auto& press : presses) {
        d.Run(core::GameOptions::kClicks, press[0]);
        EXPECT_EQ(d.Ini() + d.Shown(), With(press[1]) + press[2] + ",70:70 60:60 40:40 800x600");
    }
    d.Type("typed");
    d.window.SetValue("HScroll1", 100);
    EXPECT_EQ(d.Shown(), "Off,Sound On,Off,On,100:100 60:typed 40:typed 800x600");
    d.window.SetValue("HScroll2", 0);
    d.window.SetValue("HScroll3", 51);
    EXPECT_EQ(d.Shown(), "Off,Sound On,Off,On,100:100 0:0 51:51 800x600");
    for (const char* slider : {"HScroll1", "HScroll2", "HScroll3"}) {
        const RecordingWindow::Range& r = d.window.ranges[slider];
        EXPECT_EQ(std::vector<int>({r.min, r.max, r.small_step, r.large_step}), std::vector<int>({0, 100, 1, 10}));
    }
    EXPECT_EQ(d.Ini(), kGame);
}

// RA2MD.ini missing, a folder, empty or read-only: a failed write goes unreported.
TEST(GameOptions, BadFilesNeitherCrashNorTouchOtherFiles) {
    enum Kind { kNone, kFolder, kEmpty, kReadOnly };
    for (Kind kind : {kNone, kFolder, kEmpty, kReadOnly}) {
        SCOPED_TRACE(kind);
        Dialog d;
        d.dir.Write("other.ini", kGame);
        if (kind == kFolder) d.dir.MakeFolder("RA2MD.ini");
        if (kind >= kEmpty) d.dir.Write("RA2MD.ini", "");
        if (kind == kReadOnly) d.dir.SetReadOnly("RA2MD.ini");
        d.options.Form_Load();
        EXPECT_EQ(d.Shown(), "Off,Sound Off,Off,Off,0: 0: 0: pxp");
        d.options.EHRo_Click();
        d.options.NA_Click();
        d.Type("50");
        d.window.texts["Combo1"] = "800x600";
        d.options.Command1_Click();
        EXPECT_EQ(d.Shown(), "On,Sound Off,Off,Off,0:50 0:50 0:50 800x600");
        EXPECT_TRUE(d.window.closed && d.window.messages.empty());
        EXPECT_EQ(d.dir.Read("other.ini"), kGame);
        EXPECT_EQ(d.dir.Names(), (std::vector<std::string>{"RA2MD.ini", "other.ini"}));
        EXPECT_TRUE(kind != kFolder || std::filesystem::is_empty(d.dir.File("RA2MD.ini")));
        const bool unwritten = kind == kFolder || kind == kReadOnly;
        EXPECT_EQ(kind == kFolder ? "" : d.Ini(),
                  unwritten ? "" : "[Video]\r\nAllowHiResModes=yes\r\nScreenWidth=800\r\nScreenHeight=600\r\n[Audio]\r\n"
                                   "InGameMusic=no\r\nSoundVolume=0.5\r\nVoiceVolume=0.5\r\nScoreVolume=0.5\r\n");
    }
}

// As kernel32 under Wine gave them; tools/ini_diff.sh 500 shows lines that differ.
TEST(Profile, GeneratedCasesMatchKernel32) {
    TempFolder folder;
    uint64_t fingerprint = ini_cases::Fingerprint("");
    for (uint64_t number = 0; number < 500; ++number) {
        std::string path = folder.File("case" + std::to_string(number) + ".ini");
        fingerprint = ini_cases::Fingerprint(ini_cases::Run(ini_cases::Make(number), number, path), fingerprint);
    }
    EXPECT_EQ(fingerprint, 1112368944351744658ull);
}

TEST(Cini, NamesAndValues) {
    platform::SystemSettingsFile settings_file;
    platform::UseSettingsFile use(settings_file);
    core::Cini ini;
    ini.FileName("  C:\\Red Alert 2\\RA2MD.ini  ");
    ini.ApplicationKey(" \tAudio\t ");
    EXPECT_EQ(ini.FileName() + "|" + ini.ApplicationKey(), "C:\\Red Alert 2\\RA2MD.ini|\tAudio\t");
    ini.ApplicationKey("   ");
    EXPECT_EQ(ini.ApplicationKey(), "");
    const std::string cases[][4] = {  // the line in [Audio], key, default, value read
        {"InGameMusic=yes", "InGameMusic", "p", "yes"}, {"", "InGameMusic", "p", "p"},
        {"", "InGameMusic", "", "Error"}, {"InGameMusic=", "InGameMusic", "p", "Error"},
        {"", "k", "   ", ""},  // kernel32 places one space
        {"k=\"  x y \"", "k", "p", "x y "}, {"k=a\x01\x1F\x7F" "b~\xE9", "k", "p", "ab~"},
        {"k=" + std::string(150, 'z'), "k", "p", std::string(99, 'z')}, {"Zk=z", "zK", "p", "z"},  // A to Z alike
    };
    for (const auto& c : cases) {
        TempFolder folder;
        folder.Write("RA2MD.ini", "[Audio]\r\n" + c[0] + "\r\n");
        ini.FileName(folder.File("RA2MD.ini"));
        ini.ApplicationKey("Audio");
        EXPECT_EQ(ini.GetValue(c[1], c[2]), c[3]) << c[0];
    }
}

TEST(Convert, VolumesAtTheirEdges) {
    const std::pair<const char*, std::optional<int>> stored[] = {
        {"0.700000", 70}, {"1.000000", 100}, {"0", 0}, {"0.125", 12}, {"0.375", 38}, {"0.285", 28}, {"0.295", 30},
        {"0.2851", 29}, {"0.005", 0}, {"0.015", 2}, {"0.994999", 99}, {"0.995", 100}, {".5", 50}, {"5.", 500},
        {" 0.8 ", 80}, {"+0.25", 25}, {"-0.125", -12}, {"0.00000000000000000001", 0}, {"000000000001", 100},
        {"21474836.47", 2147483647}, {"21474836.48", 2147483647}, {"99999999999999999999", 2147483647},
        {"-99999999999", -2147483647}, {"p", {}}, {"", {}},
        {"1,5", {}}, {"0.8x", {}}, {".", {}}, {"-", {}}, {"1e-1", {}}, {"0..8", {}}, {"0 .8", {}},
    };
    for (const auto& [text, position] : stored)
        EXPECT_EQ(core::VolumeFromStored(text), position) << "[" << text << "]";
    const std::pair<const char*, std::optional<std::string>> typed[] = {
        {"100", "1"}, {"35", "0.35"}, {"7", "0.07"}, {"0", "0"}, {"12.5", "0.125"}, {"0000000000000000080", "0.8"},
        {"80.000", "0.8"}, {" 80 ", "0.8"}, {"-0", "0"}, {"-5", "-0.05"}, {".5", "0.005"}, {"1000", "10"},
        {"33.33333333333333333", "0.333333333333333"}, {"99.99999999999999999", "1"},
        {"66.66666666666666666", "0.666666666666667"}, {"0.000001", "0.00000001"},
        {"123456789012345678", "1234567890123460"}, {"p", {}}, {"", {}}, {"8O", {}}, {"1,5", {}},
    };
    for (const auto& [text, volume] : typed)
        EXPECT_EQ(core::StoredFromVolume(text), volume) << "[" << text << "]";
}

}  // namespace
