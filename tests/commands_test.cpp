// The main window's buttons over real temporary game folders, on both builds:
// what each leaves on disk, its messages, and the program it starts.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "panel/frm1.h"
#include "tests/standin.h"
#include "tests/support/game_files.h"
#include "tests/support/recording_window.h"
#include "tests/support/remedies.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace game_files;
using Folder = std::map<std::string, std::string>;  // names as stored, and contents
using Click = void (Frm1::*)();

const char kUntouched[] = "(as loaded)";  // the state label before a command
const char kIsFolder[] = "(a folder)";

// Entries of the mod file table, numbered from 1, in one of their two forms.
Folder Mod(std::initializer_list<int> entries, bool disabled) {
    Folder f;
    for (int n : entries) f[kModFiles[n - 1] + (disabled ? ".Zarn" : "")] = Data(kModFiles[n - 1]);
    return f;
}
Folder Enabled(std::initializer_list<int> e) { return Mod(e, false); }
Folder Disabled(std::initializer_list<int> e) { return Mod(e, true); }
Folder operator+(Folder a, const Folder& b) {
    a.insert(b.begin(), b.end());
    return a;
}
const std::initializer_list<int> kAll = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

void Fill(const TempFolder& dir, const Folder& f) {
    for (auto& [name, bytes] : f) bytes == kIsFolder ? dir.MakeFolder(name) : dir.Write(name, bytes);
}

Folder Contents(const TempFolder& dir) {
    Folder f;
    for (const std::string& name : dir.Names())
        f[name] = std::filesystem::is_directory(std::filesystem::u8path(dir.File(name)))
                      ? kIsFolder : dir.Read(name);
    return f;
}

// Names first, for readable failures, then the bytes.
void ExpectFolder(const TempFolder& dir, const Folder& expected) {
    Folder after = Contents(dir);
    std::vector<std::string> names, expected_names;
    for (auto& e : after) names.push_back(e.first);
    for (auto& e : expected) expected_names.push_back(e.first);
    EXPECT_EQ(names, expected_names);
    EXPECT_TRUE(after == expected) << "contents differ";
}

struct Window : RecordingWindow {
    Window() { texts["visual"] = kUntouched; }
};

TEST(EnableDisable, BringEveryPresentFileToTheOtherForm) {
    const Click kEnable = &Frm1::Command2_Click, kDisable = &Frm1::Command3_Click;
    const Folder kFolders = {{"ra2md.csf", kIsFolder}, {"ecachemd80.mix.Zarn.Zarn", kIsFolder}};
    const std::initializer_list<int> kAllBut4 = {1, 2, 3, 5, 6, 7, 8, 9, 10};
    struct Case {
        const char* what;
        Click press;
        Folder before, after;
        const char* label;
    } cases[] = {
        {"all disabled, Enable", kEnable, Disabled(kAll), Enabled(kAll), "Enabled"},
        {"all enabled, Disable", kDisable, Enabled(kAll), Disabled(kAll), "Disabled"},
        {"Disable pressed again", kDisable, Disabled(kAll), Disabled(kAll), "Disabled"},
        {"mixed, Enable", kEnable, Enabled({1, 3, 5, 7, 9}) + Disabled({2, 4, 6, 8, 10}),
         Enabled(kAll), "Enabled"},
        {"some present, the marker not", kEnable, Disabled({1, 2, 10}) + Enabled({4}),
         Enabled({1, 2, 4, 10}), "Disabled"},
        {"both forms: the moved one wins", kEnable,
         Folder{{"ra2md.csf", "replaced by Enable"}} + Disabled({4}), Enabled({4}), "Disabled"},
        {"names in capitals, the suffix in lower case", kEnable,
         Folder{{"EXPANDMD81.MIX.ZARN", Data("expandmd81.mix")}, {"rzarn.yro.zarn", "r"}},
         Folder{{"expandmd81.mix", Data("expandmd81.mix")}, {"rzarn.yro", "r"}}, "Enabled"},
        {"a capitalised target is replaced under its own name", kDisable,
         Folder{{"RA2MD.CSF.ZARN", "old"}} + Enabled({4}),
         Folder{{"RA2MD.CSF.ZARN", Data("ra2md.csf")}}, "Disabled"},
        {"folders named like mod files are left alone", kDisable,
         Enabled(kAllBut4) + kFolders, Disabled(kAllBut4) + kFolders, "Disabled"},
        {"a large file, in several pieces", kDisable,
         Folder{{"expandmd80.mix", Data("expandmd80.mix", 9u << 20)}},
         Folder{{"expandmd80.mix.Zarn", Data("expandmd80.mix", 9u << 20)}}, "Disabled"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir;
        Fill(dir, c.before);
        Window w;
        Frm1 frm1(w, dir.path());
        (frm1.*c.press)();
        ExpectFolder(dir, c.after);
        EXPECT_EQ(w.texts["visual"], c.label);
        EXPECT_TRUE(w.messages.empty());
        EXPECT_FALSE(w.closed);
        EXPECT_EQ(w.busy_depth, 0);
    }
}

// The system's own refusals: the command stops at that entry with the
// system's reason and the remedy, and nothing after it is touched. (The
// native fault sweep refuses every step of every command in turn.)
TEST(Commands, ARefusalBySystemStopsTheCommandThere) {
    const std::string kReadOnly = DeniedReason() + "\n" + remedies::kClearReadOnly;
    struct Case {
        const char* what;
        Click press;
        Folder before;
        const char* read_only;
        Folder after;
        std::vector<std::string> messages;
    } cases[] = {
        {"read-only target, Enable", &Frm1::Command2_Click,
         Disabled(kAll) + Folder{{"glslmd.shp", "old"}}, "glslmd.shp",
         Enabled({1}) + Disabled({2, 3, 4, 5, 6, 7, 8, 9, 10}) + Folder{{"glslmd.shp", "old"}},
         {"Could not copy \"glslmd.shp.Zarn\" to \"glslmd.shp\": " + kReadOnly}},
        {"read-only source, Disable", &Frm1::Command3_Click, Enabled(kAll), "ra2md.csf",
         Disabled({1, 2, 3, 4}) + Enabled({4, 5, 6, 7, 8, 9, 10}),
         {"Could not delete \"ra2md.csf\": " + kReadOnly}},
        {"read-only entry, Uninstall", &Frm1::Uninstall_Click,
         Enabled({1, 2}) + Folder{{"RockPatch.exe", "patch"}}, "glslmd.shp",
         Enabled({2}) + Folder{{"RockPatch.exe", "patch"}},
         {kQuestion, "Could not delete \"glslmd.shp\": " + kReadOnly}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir;
        Fill(dir, c.before);
        dir.SetReadOnly(c.read_only);
        Window w;
        Frm1 frm1(w, dir.path());
        (frm1.*c.press)();
        ExpectFolder(dir, c.after);
        EXPECT_EQ(w.messages, c.messages);
        EXPECT_EQ(w.texts["visual"], kUntouched);
        EXPECT_FALSE(w.closed);
    }
}

// Every name of the uninstall table, the disabled "rzarn.yro" as Disable
// writes it, and files Uninstall must not touch.
Folder EverythingInstalled() {
    Folder f;
    for (const std::string& name : kUninstallFiles) f[name] = Data(name);
    f.erase("rzarn.yro.zarn");
    f["rzarn.yro.Zarn"] = Data("rzarn.yro");
    return f;
}
const Folder kNotOurs = {{"Register.exe", "installer"}, {"RA2MD.ini", "[Audio]\r\n"},
                         {"ecachemd98.mix", "98"},      {"expandmd82.mix", "not ours"},
                         {"RA2MD.exe", "the game"}};

// The 26 go whatever their state, then the patch program runs normally before
// "You done yet???", and the panel closes; without it, it says so.
TEST(Uninstall, DeletesBothFormsRunsThePatchProgramAndCloses) {
    enum Patch { kStandIn, kMissing, kFolder };
    struct Case {
        const char* what;
        Folder before;
        Patch patch;
    } cases[] = {
        {"everything present", EverythingInstalled() + kNotOurs, kStandIn},
        {"half switched", Enabled({1, 2, 3}) + Disabled({4, 5, 6, 7, 8, 9, 10}) + kNotOurs, kStandIn},
        {"patch program missing", EverythingInstalled() + kNotOurs, kMissing},
        {"a folder named like the patch program", EverythingInstalled() + kNotOurs, kFolder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir("Red Alert 2");
        Fill(dir, c.before);
        if (c.patch == kStandIn) PlaceStandIn(dir, "RockPatch.exe");
        if (c.patch == kFolder) dir.MakeFolder("RockPatch.exe");
        Window w;
        bool started_before_box = false;
        Started started;
        w.on_message = [&](const std::string& text) {
            if (text != kPatchDone) return;
            started_before_box = WaitStarted(dir, "RockPatch.exe", &started);
            WaitEnded("RockPatch.exe");
        };
        Frm1 frm1(w, dir.path());
        frm1.Uninstall_Click();
        EXPECT_EQ(w.texts["visual"], kUntouched);
        EXPECT_EQ(w.busy_at_message, std::vector<int>(w.messages.size(), 0));
        Folder expected = kNotOurs;
        if (c.patch == kFolder) expected["RockPatch.exe"] = kIsFolder;
        if (c.patch == kStandIn)
            expected["RockPatch.exe.started.txt"] = dir.Read("RockPatch.exe.started.txt");
        ExpectFolder(dir, expected);
        if (c.patch != kStandIn) {
            EXPECT_EQ(w.messages, (std::vector<std::string>{kQuestion, kNotInGameFolder}));
            EXPECT_FALSE(w.closed);
            continue;
        }
        EXPECT_EQ(w.messages, (std::vector<std::string>{kQuestion, kPatchDone}));
        EXPECT_TRUE(w.closed);
        ASSERT_TRUE(started_before_box) << "not started before the box";
        EXPECT_EQ(started.command_line, dir.File("RockPatch.exe"));
        EXPECT_EQ(started.show, ShowStateRecorded() ? "1" : "none");
        EXPECT_EQ(started.directory, WorkingDirectory());
    }
}

TEST(Clean, DeletesTheInstallerLeftoversOnlyAndSaysNothing) {
    const Folder kKept = Enabled(kAll) + Disabled({1}) +
                         Folder{{"ecachemarrowgate80.mix.Zarn", "z"}, {"merged01.pkt", "m"}};
    Folder leftovers;
    for (const std::string& name : kCleanFiles) leftovers[name] = Data(name);
    TempFolder dir;
    Fill(dir, leftovers + kKept);
    for (int press = 1; press <= 2; ++press) {
        Window w;
        Frm1 frm1(w, dir.path());
        frm1.Clean_Click();
        ExpectFolder(dir, kKept);
        EXPECT_TRUE(w.messages.empty());
        EXPECT_EQ(w.texts["visual"], kUntouched);
        EXPECT_FALSE(w.closed);
        EXPECT_EQ(w.busy_depth, 0);
    }
}

// Launch gives the game its full path as its whole command line, minimized,
// in the panel's working directory, and closes the panel; else it says why.
TEST(Launch, StartsTheGameByItsFullPathOrSaysWhyNot) {
    enum Game { kStandIn, kMissing, kFolder, kNotAProgram };
    struct Case {
        const char* leaf;
        Game game;
        std::string message;
    } cases[] = {
        {"game folder", kStandIn, ""},
        {"Red Alert 2", kStandIn, ""},
        {"Игры Red Alert 2 Юрий", kStandIn, ""},
        {"game folder", kMissing, kNotInGameFolder},
        {"game folder", kFolder, kNotInGameFolder},
        {"game folder", kNotAProgram, "Could not start \"RA2MD.exe\": " + NotAProgramReason()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.leaf) + " " + c.message);
        TempFolder dir(c.leaf);
        Fill(dir, Disabled(kAll));  // the state is neither tested nor changed
        if (c.game == kStandIn) PlaceStandIn(dir, "RA2MD.exe");
        if (c.game == kFolder) dir.MakeFolder("RA2MD.exe");
        if (c.game == kNotAProgram) PlaceNotAProgram(dir, "RA2MD.exe");
        Folder before = Contents(dir);
        Window w;
        Frm1 frm1(w, dir.path());
        frm1.Command1_Click();
        EXPECT_EQ(w.texts["visual"], kUntouched);
        EXPECT_EQ(w.closed, c.game == kStandIn);
        EXPECT_EQ(w.messages, std::vector<std::string>(!c.message.empty(), c.message));
        if (c.game == kStandIn) {
            Started started;
            ASSERT_TRUE(WaitStarted(dir, "RA2MD.exe", &started));
            EXPECT_EQ(started.command_line, dir.File("RA2MD.exe"));
            EXPECT_EQ(started.show, ShowStateRecorded() ? "2" : "none");
            EXPECT_EQ(started.directory, WorkingDirectory());
            WaitEnded("RA2MD.exe");
            before["RA2MD.exe.started.txt"] = dir.Read("RA2MD.exe.started.txt");
        }
        ExpectFolder(dir, before);
    }
}

// Exit closes without a question; Info, Help and Game Options open their
// windows, Game Options only beside a settings file.
TEST(Frm1Buttons, ExitClosesAndTheOthersOpenTheirWindows) {
    struct Case {
        Click press;
        bool settings_file, closed;
        std::vector<ui::Form> opened;
        std::vector<std::string> messages;
    } cases[] = {
        {&Frm1::Command5_Click, true, true, {}, {}},
        {&Frm1::Command4_Click, false, false, {ui::Form::kAbout}, {}},
        {&Frm1::Command6_Click, false, false, {ui::Form::kHelp}, {}},
        {&Frm1::Command7_Click, true, false, {ui::Form::kGameOptions}, {}},
        {&Frm1::Command7_Click, false, false, {}, {"Please Place Controll Panal Exe into Yr Folder"}},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        dir.Write("expandmd81.mix", "x");
        if (c.settings_file) dir.Write("ra2md.INI", "[Audio]\r\n");
        Folder before = Contents(dir);
        Window w;
        Frm1 frm1(w, dir.path());
        (frm1.*c.press)();
        EXPECT_EQ(w.opened, c.opened);
        EXPECT_EQ(w.messages, c.messages);
        EXPECT_EQ(w.closed, c.closed);
        ExpectFolder(dir, before);
    }
}

}  // namespace
