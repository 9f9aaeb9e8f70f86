// The main window's buttons over real temporary game folders, on both builds:
// what each leaves on disk, its messages, the program it starts, and the
// progress of Enable and Disable on the task bar button.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <map>
#include <sstream>

#include "panel/frm1.h"
#include "panel/progress.h"
#include "tests/standin.h"
#include "tests/support/game_files.h"
#include "tests/support/recording_window.h"
#include "tests/support/remedies.h"
#include "tests/support/services.h"
#ifdef _WIN32
#include "platform/win/wide.h"
const std::string kDenied = remedies::Reason(ERROR_ACCESS_DENIED);
const std::string kBadProgram = remedies::Reason(ERROR_BAD_EXE_FORMAT);
const char kIntoFolder[] = "8198/40990";  // the copy is made, then its rename refused
#else
const std::string kDenied = "Access is denied.", kBadProgram = kDenied;
const char kIntoFolder[] = "4099/40990";  // refused before the copy
#endif

namespace {

using namespace game_files;
using Folder = std::map<std::string, std::string>;  // names as stored, and contents

const char kIsFolder[] = "(a folder)", kStandIn[] = "(the stand-in, or its record)";

// Entries of the mod file table, numbered from 1, in one of their two forms.
Folder Enabled(std::initializer_list<int> entries, const char* suffix = "") {
    Folder f;
    for (int n : entries) f[kModFiles[n - 1] + suffix] = Data(kModFiles[n - 1]);
    return f;
}
Folder Disabled(std::initializer_list<int> entries) { return Enabled(entries, ".Zarn"); }
Folder operator+(Folder a, const Folder& b) {  // a's entries win
    a.insert(b.begin(), b.end());
    return a;
}
struct Taskbar : platform::Taskbar {  // every call: "done/total" or "clear"
    std::vector<std::string> calls;
    void SetProgress(std::uint64_t done, std::uint64_t total) override {
        calls.push_back(std::to_string(done) + "/" + std::to_string(total));
    }
    void ClearProgress() override { calls.push_back("clear"); }
};
struct Clock : platform::Clock {  // reads `now`, stepped by `step` at every reading
    std::uint64_t now = 0, step = 0;
    std::uint64_t Milliseconds() override { return now += step; }
};

// The decision at its edges; steps: "c" copied, "f" file done, "e" end; clock reading; bytes.
TEST(Progress, ShowsFromHalfASecondNeverBeyondTheTotalAndNothingAfterTheEnd) {
    struct Case {
        std::uint64_t total;
        const char* steps;
        std::vector<std::string> calls;
    } cases[] = {
        {300, "c 100 100  f 100 100  c 499 200  e 499 0", {}},
        {300, "c 100 100  f 100 100  c 500 50  c 800 200  f 800 200  e 900 0",
         {"150/300", "300/300", "clear"}},
        {100, "c 600 100  f 600 100  c 700 50  e 800 0  c 900 9", {"100/100", "100/100", "clear"}},
        {0, "c 900 0  e 900 0", {}},
    };
    for (const Case& c : cases) {
        Taskbar taskbar;
        Clock clock;
        std::uint64_t bytes = 0;
        {
            core::Progress p(&taskbar, clock, c.total);
            std::istringstream steps(c.steps);
            for (char op; steps >> op >> clock.now >> bytes;)
                op == 'c' ? p.Copied(bytes) : op == 'f' ? p.FileDone(bytes) : p.End();
        }
        EXPECT_EQ(taskbar.calls, c.calls) << c.steps;
    }
}

const std::initializer_list<int> kAll = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

Folder Contents(const TempFolder& dir) {
    Folder f;
    for (const std::string& name : dir.Names())
        f[name] = std::filesystem::is_directory(std::filesystem::u8path(dir.File(name)))
                      ? kIsFolder : dir.Read(name);
    return f;
}

Folder Of(const std::vector<std::string>& names) {  // the names, with their own data
    Folder f;
    for (const std::string& name : names) f[name] = Data(name);
    return f;
}
const Folder kNotOurs = {{"Register.exe", "installer"}, {"RA2MD.ini", "[Audio]\r\n"},
                         {"expandmd82.mix", "not ours"}, {"RA2MD.exe", "the game"}};
const Folder kFolders = {{"ra2md.csf", kIsFolder}, {"ecachemd80.mix.Zarn.Zarn", kIsFolder}};
const Folder kSettings = {{"ra2md.INI", "[Audio]\r\n"}};
const std::string kBig = Data("expandmd80.mix", 9u << 20);  // copied in several pieces
const std::string kReadOnly = ": " + kDenied + "\n" + remedies::kClearReadOnly;

struct Case {
    const char* what;
    void (core::Frm1::*press)();
    Folder before, after;
    std::vector<std::string> messages;
    const char* progress = "";  // the last bytes shown on the task bar, of the total
    const char* label = "";  // the state label; "" when not refreshed
    bool closed = false;
    std::vector<platform::Form> opened = {};
    const char* read_only = nullptr;
    const char* started = nullptr;  // the program started, and its show state
    const char* show = nullptr;
} const kCases[] = {
    // Enable and Disable bring every file present to the other form; the
    // label then shows whether the marker file is there.
    {"mixed, in capitals, the suffix in lower case", &core::Frm1::Command2_Click,
     Enabled({1, 3, 5}) + Disabled({2, 4, 6, 8, 10}) +
         Folder{{"EXPANDMD81.MIX.ZARN", Data("expandmd81.mix")}, {"rzarn.yro.zarn", "r"}},
     Enabled({1, 2, 3, 4, 5, 6, 7, 8, 10}) + Folder{{"rzarn.yro", "r"}}, {}, "24595/24595",
     "Enabled"},
    {"both forms: the moved one wins; no marker", &core::Frm1::Command2_Click,
     Folder{{"ra2md.csf", "replaced"}} + Disabled({1, 2, 4, 10}), Enabled({1, 2, 4, 10}), {},
     "16396/16396", "Disabled"},
    {"a large file, a capitalised target, folders named like mod files", &core::Frm1::Command3_Click,
     Folder{{"expandmd80.mix", kBig}, {"GLSMD.PAL.ZARN", "old"}} +
         Enabled({1, 2, 3, 5, 7, 8, 9, 10}) + kFolders,
     Folder{{"expandmd80.mix.Zarn", kBig}, {"GLSMD.PAL.ZARN", Data("glsmd.pal")}} +
         Disabled({1, 2, 3, 7, 8, 9, 10}) + kFolders,
     {}, "9469976/9469976", "Disabled"},
    // A refusal by the system stops the command there, with the system's reason
    // and the remedy (the native fault sweep refuses every step in turn).
    {"read-only target, Enable", &core::Frm1::Command2_Click,
     Disabled(kAll) + Folder{{"glslmd.shp", "old"}},
     Enabled({1}) + Disabled({2, 3, 4, 5, 6, 7, 8, 9, 10}) + Folder{{"glslmd.shp", "old"}},
     {"Could not copy \"glslmd.shp.Zarn\" to \"glslmd.shp\"" + kReadOnly}, "4099/40990",
     "", false, {}, "glslmd.shp"},
    {"a folder in the target's place, Enable: no remedy", &core::Frm1::Command2_Click,
     Disabled(kAll) + Folder{{"glslmd.shp", kIsFolder}},
     Enabled({1}) + Disabled({2, 3, 4, 5, 6, 7, 8, 9, 10}) + Folder{{"glslmd.shp", kIsFolder}},
     {"Could not copy \"glslmd.shp.Zarn\" to \"glslmd.shp\": " + kDenied}, kIntoFolder},
    {"read-only source, Disable", &core::Frm1::Command3_Click, Enabled(kAll),
     Disabled({1, 2, 3, 4}) + Enabled({4, 5, 6, 7, 8, 9, 10}),
     {"Could not delete \"ra2md.csf\"" + kReadOnly}, "16396/40990", "", false, {},
     "ra2md.csf"},
    // Uninstall deletes the 26 whatever their state, runs the patch program
    // before "You done yet???", deletes it and closes; without it, it says so.
    {"Uninstall", &core::Frm1::Uninstall_Click,
     Of(kUninstallFiles) + kNotOurs + Folder{{"RockPatch.exe", kStandIn}},
     kNotOurs + Folder{{"RockPatch.exe.started.txt", kStandIn}},
     {kQuestion, kPatchDone}, "", "", true, {}, nullptr, "RockPatch.exe", "1"},
    {"Uninstall, half switched, no patch program", &core::Frm1::Uninstall_Click,
     Enabled({1, 2, 3}) + Disabled({4, 5, 6, 7, 8, 9, 10}) + kNotOurs, kNotOurs,
     {kQuestion, kNotInGameFolder}},
    {"Clean deletes the leftovers only, silently", &core::Frm1::Clean_Click,
     Of(kCleanFiles) + Enabled(kAll) + Disabled({1}) + Folder{{"ecachemarrowgate80.mix.Zarn", "z"}},
     Enabled(kAll) + Disabled({1}) + Folder{{"ecachemarrowgate80.mix.Zarn", "z"}}, {}},
    // Launch gives the game its full path as its whole command line,
    // minimized, in the panel's working directory, and closes the panel.
    {"Launch", &core::Frm1::Command1_Click, Disabled(kAll) + Folder{{"RA2MD.exe", kStandIn}},
     Disabled(kAll) + Folder{{"RA2MD.exe", kStandIn}, {"RA2MD.exe.started.txt", kStandIn}}, {},
     "", "", true, {}, nullptr, "RA2MD.exe", "2"},
    {"Launch without the game", &core::Frm1::Command1_Click, Enabled({1}), Enabled({1}),
     {kNotInGameFolder}},
    {"Launch, not a program", &core::Frm1::Command1_Click, {{"RA2MD.exe", "MZ not really a program"}},
     {{"RA2MD.exe", "MZ not really a program"}}, {"Could not start \"RA2MD.exe\": " + kBadProgram}},
    // Exit closes without a question; Info, Help and Game Options open their
    // windows, Game Options only beside a settings file.
    {"Exit", &core::Frm1::Command5_Click, kSettings, kSettings, {}, "", "", true},
    {"Info", &core::Frm1::Command4_Click, {}, {}, {}, "", "", false, {platform::Form::kAbout}},
    {"Help", &core::Frm1::Command6_Click, {}, {}, {}, "", "", false, {platform::Form::kHelp}},
    {"Game Options", &core::Frm1::Command7_Click, kSettings, kSettings, {}, "", "", false,
     {platform::Form::kGameOptions}},
    {"Game Options without a settings file", &core::Frm1::Command7_Click, Enabled({7}), Enabled({7}),
     {"Please Place Controll Panal Exe into Yr Folder"}},
};

TEST(Commands, LeaveTheFolderAndSayWhatTheyShould) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        TempFolder dir("Игры Red Alert 2 Юрий");  // paths with spaces and Cyrillic
        for (auto& [name, bytes] : c.before)
            bytes == kIsFolder ? dir.MakeFolder(name)
                : bytes == kStandIn ? PlaceStandIn(dir, name) : dir.Write(name, bytes);
        if (c.read_only) dir.SetReadOnly(c.read_only);
        Folder expected = c.after;
        RecordingWindow w;
        Started started;
        Taskbar taskbar;
        w.on_message = [&](const std::string& text) {
            EXPECT_EQ(w.busy_depth, 0) << "shown while busy";
            EXPECT_TRUE(taskbar.calls.empty() || taskbar.calls.back() == "clear") << "not cleared";
            if (text != kPatchDone) return;
            EXPECT_TRUE(WaitStarted(dir, c.started, &started)) << "not started before the box";
            WaitEnded(c.started);
        };
        RealServices real(dir.path());
        Clock clock;
        clock.step = 500;
        core::Frm1 frm1(w, real.folder, real.files, real.programs, &taskbar, clock);
        (frm1.*c.press)();
        if (c.started) {
            ASSERT_TRUE(!started.show.empty() || WaitStarted(dir, c.started, &started));
            WaitEnded(c.started);
            EXPECT_EQ(started.command_line, dir.File(c.started));
            EXPECT_EQ(started.show, kStandInKnowsShowState ? c.show : "none");
            EXPECT_EQ(started.directory, std::filesystem::current_path().u8string());
        }
        for (auto& [name, bytes] : expected)
            if (bytes == kStandIn) bytes = dir.Read(name);
        Folder after = Contents(dir);
        std::vector<std::string> names, expected_names;  // first, for readable failures
        for (auto& e : after) names.push_back(e.first);
        for (auto& e : expected) expected_names.push_back(e.first);
        EXPECT_EQ(names, expected_names);
        EXPECT_TRUE(after == expected) << "contents differ";
        EXPECT_EQ(w.messages, c.messages);
        EXPECT_EQ(w.busy_depth, 0);
        EXPECT_EQ(w.texts["visual"], c.label);
        EXPECT_EQ(w.closed, c.closed);
        EXPECT_EQ(w.opened, c.opened);
        // The task bar: the bytes copied last, cleared at the end and before a box.
        std::vector<std::string>& shown = taskbar.calls;
        EXPECT_TRUE(shown.empty() || shown.back() == "clear") << shown.back();
        EXPECT_EQ(shown.size() < 2 ? "" : shown.end()[-2], c.progress);
    }
}

}  // namespace
