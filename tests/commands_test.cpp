// The game-folder commands of the main window (Enable, Disable, Launch,
// Uninstall, Clean) over real temporary game folders, on both builds.
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

const char kUntouched[] = "(as loaded)";  // "visual" before a command, to see a refresh

// Names as stored in the folder, and their contents.
using Folder = std::map<std::string, std::string>;

// Entries of ModFiles (numbered from 1) under their own names, or disabled.
Folder Enabled(std::initializer_list<int> entries) {
    Folder f;
    for (int n : entries) f[kModFiles[n - 1]] = Data(kModFiles[n - 1]);
    return f;
}
Folder Disabled(std::initializer_list<int> entries) {
    Folder f;
    for (int n : entries)
        f[kModFiles[n - 1] + ".Zarn"] = Data(kModFiles[n - 1]);
    return f;
}
Folder operator+(Folder a, const Folder& b) {
    a.insert(b.begin(), b.end());
    return a;
}
const std::initializer_list<int> kAll = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

const char kIsFolder[] = "(a folder)";

// The system's reason for refusing a read-only file, and the line below it.
std::string DeniedReadOnly() {
    return DeniedReason() + "\n" + remedies::kClearReadOnly;
}

void Fill(const TempFolder& dir, const Folder& f) {
    for (auto& [name, bytes] : f) {
        if (bytes == kIsFolder) {
            dir.MakeFolder(name);
        } else {
            dir.Write(name, bytes);
        }
    }
}

Folder Contents(const TempFolder& dir) {
    Folder f;
    for (const std::string& name : dir.Names())
        f[name] = std::filesystem::is_directory(std::filesystem::u8path(dir.File(name)))
                      ? kIsFolder
                      : dir.Read(name);
    return f;
}

// The folder holds exactly `expected`: names first, for readable failures.
void ExpectFolder(const TempFolder& dir, const Folder& expected) {
    Folder after = Contents(dir);
    std::vector<std::string> names, expected_names;
    for (auto& e : after) names.push_back(e.first);
    for (auto& e : expected) expected_names.push_back(e.first);
    EXPECT_EQ(names, expected_names);
    EXPECT_TRUE(after == expected) << "contents differ";
}

// Records, besides the messages, whether the window was busy when each box
// came up and while the files were worked on.
class WatchingWindow : public RecordingWindow {
public:
    std::vector<int> busy_at_message;
    int painted = 0;
    int painted_while_idle = 0;
    WatchingWindow() { texts["visual"] = kUntouched; }
    ui::Answer Message(const std::string& text, ui::Buttons buttons) override {
        busy_at_message.push_back(busy_depth);
        return RecordingWindow::Message(text, buttons);
    }
    void KeepPainted() override {
        ++painted;
        if (busy_depth <= 0) ++painted_while_idle;
    }
};

using Click = void (Frm1::*)();
const Click kEnable = &Frm1::Command2_Click;
const Click kDisable = &Frm1::Command3_Click;

TEST(EnableDisable, BringEveryPresentFileToTheOtherForm) {
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
        {"nothing disabled, Enable", kEnable, Enabled(kAll), Enabled(kAll), "Enabled"},
        {"Disable pressed again", kDisable, Disabled(kAll), Disabled(kAll), "Disabled"},
        {"mixed, Enable", kEnable, Enabled({1, 3, 5, 7, 9}) + Disabled({2, 4, 6, 8, 10}),
         Enabled(kAll), "Enabled"},
        {"mixed, Disable", kDisable, Enabled({1, 3, 5, 7, 9}) + Disabled({2, 4, 6, 8, 10}),
         Disabled(kAll), "Disabled"},
        {"only some present", kEnable, Disabled({1, 2, 10}) + Enabled({4}),
         Enabled({1, 2, 4, 10}), "Disabled"},
        {"marker missing in both forms", kEnable, Disabled({1, 2, 3, 4, 5, 6, 8, 9, 10}),
         Enabled({1, 2, 3, 4, 5, 6, 8, 9, 10}), "Disabled"},
        {"empty folder", kEnable, {}, {}, "Disabled"},
        {"both forms, Enable keeps the disabled contents", kEnable,
         Folder{{"ra2md.csf", "replaced by Enable"}} + Disabled({4}), Enabled({4}), "Disabled"},
        {"both forms, Disable keeps the enabled contents", kDisable,
         Folder{{"ra2md.csf.Zarn", "replaced by Disable"}} + Enabled({4}), Disabled({4}),
         "Disabled"},
        {"suffix in lower case", kEnable, Folder{{"rzarn.yro.zarn", Data("rzarn.yro")}},
         Enabled({9}), "Disabled"},
        {"names in capitals", kEnable,
         Folder{{"EXPANDMD81.MIX.ZARN", Data("expandmd81.mix")}, {"Ra2md.csf.zarn", "csf"}},
         Folder{{"expandmd81.mix", Data("expandmd81.mix")}, {"ra2md.csf", "csf"}}, "Enabled"},
        {"a capitalised target is replaced under its own name", kDisable,
         Folder{{"RA2MD.CSF.ZARN", "old"}} + Enabled({4}),
         Folder{{"RA2MD.CSF.ZARN", Data("ra2md.csf")}}, "Disabled"},
        {"folders named like mod files are left alone, Disable", kDisable,
         Enabled(kAllBut4) + kFolders, Disabled(kAllBut4) + kFolders, "Disabled"},
        {"folders named like mod files are left alone, Enable", kEnable,
         Disabled(kAllBut4) + kFolders, Enabled(kAllBut4) + kFolders, "Enabled"},
        {"large file in several pieces", kDisable,
         Folder{{"expandmd80.mix", Data("expandmd80.mix", 9u << 20)}},
         Folder{{"expandmd80.mix.Zarn", Data("expandmd80.mix", 9u << 20)}}, "Disabled"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir;
        Fill(dir, c.before);
        WatchingWindow w;
        Frm1 frm1(w, dir.path());
        (frm1.*c.press)();
        ExpectFolder(dir, c.after);
        EXPECT_EQ(w.texts["visual"], c.label);
        EXPECT_TRUE(w.messages.empty());
        EXPECT_FALSE(w.closed);
        EXPECT_EQ(w.busy_depth, 0);
        EXPECT_EQ(w.painted_while_idle, 0);
    }
}

// The system's own refusals, on each build: the command stops at that entry
// with the system's reason in the message, the entry may stand in both
// forms, and nothing after it is touched. (posix/fault_sweep_test.cpp refuses
// every step of every command in turn.)
TEST(Commands, ARefusalBySystemStopsTheCommandThere) {
    const Folder kLeftovers = {{"Register.exe", "r"}, {"notes.ico", "n"}, {"Readme.txt", "t"}};
    struct Case {
        std::string what;
        Click press;
        Folder before;
        std::string read_only;  // made read-only first
        Folder after;
        std::vector<std::string> messages;
    } cases[] = {
        {"read-only target, Enable", kEnable,
         Disabled(kAll) + Folder{{"glslmd.shp", "read-only old"}}, "glslmd.shp",
         Enabled({1}) + Disabled({2, 3, 4, 5, 6, 7, 8, 9, 10}) +
             Folder{{"glslmd.shp", "read-only old"}},
         {"Could not copy \"glslmd.shp.Zarn\" to \"glslmd.shp\": " + DeniedReadOnly()}},
        {"folder at the target, Disable", kDisable,
         Enabled(kAll) + Folder{{"creditsmd.txt.Zarn", kIsFolder}}, "",
         Disabled({1, 2, 3, 4, 5, 6, 7, 8, 9}) + Enabled({10}) +
             Folder{{"creditsmd.txt.Zarn", kIsFolder}},
         {"Could not copy \"creditsmd.txt\" to \"creditsmd.txt.Zarn\": " + DeniedReason()}},
        {"read-only source, Disable", kDisable, Enabled(kAll), "ra2md.csf",
         Disabled({1, 2, 3, 4}) + Enabled({4, 5, 6, 7, 8, 9, 10}),
         {"Could not delete \"ra2md.csf\": " + DeniedReadOnly()}},
        {"read-only entry, Clean", &Frm1::Clean_Click, kLeftovers, "notes.ico",
         Folder{{"notes.ico", "n"}, {"Readme.txt", "t"}},
         {"Could not delete \"notes.ico\": " + DeniedReadOnly()}},
        {"read-only entry, Uninstall", &Frm1::Uninstall_Click,
         Enabled({1, 2}) + Folder{{"RockPatch.exe", "patch"}}, "glslmd.shp",
         Enabled({2}) + Folder{{"RockPatch.exe", "patch"}},
         {kQuestion, "Could not delete \"glslmd.shp\": " + DeniedReadOnly()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir;
        Fill(dir, c.before);
        if (!c.read_only.empty()) dir.SetReadOnly(c.read_only);
        WatchingWindow w;
        Frm1 frm1(w, dir.path());
        (frm1.*c.press)();
        ExpectFolder(dir, c.after);
        EXPECT_EQ(w.messages, c.messages);
        EXPECT_EQ(w.texts["visual"], kUntouched);
        EXPECT_FALSE(w.closed);
    }
}

// Every name of UninstallFiles, the disabled form of "rzarn.yro" as Disable
// writes it, and files Uninstall must not touch.
Folder EverythingInstalled() {
    Folder f;
    for (const std::string& name : kUninstallFiles) f[name] = Data(name);
    f.erase("rzarn.yro.zarn");
    f["rzarn.yro.Zarn"] = Data("rzarn.yro");
    return f;
}
const Folder kNotUninstalled = {
    {"Register.exe", "installer"},  {"Readme.txt", "readme"},
    {"RA2MD.ini", "[Audio]\r\n"},   {"ecachemd98.mix", "98"},
    {"expandmd82.mix", "not ours"}, {"RA2MD.exe", "the game"},
};

TEST(Uninstall, DeletesBothFormsRunsThePatchProgramAndCloses) {
    enum Patch { kStandIn, kMissing, kFolder };
    struct Case {
        const char* what;
        Folder before;
        Patch patch;
        std::vector<std::string> messages;
        bool closed;
    } cases[] = {
        {"everything present", EverythingInstalled() + kNotUninstalled, kStandIn,
         {kQuestion, kPatchDone}, true},
        {"modification disabled", Disabled(kAll) + kNotUninstalled, kStandIn,
         {kQuestion, kPatchDone}, true},
        {"half switched", Enabled({1, 2, 3}) + Disabled({4, 5, 6, 7, 8, 9, 10}) + kNotUninstalled,
         kStandIn, {kQuestion, kPatchDone}, true},
        {"none of the 26", kNotUninstalled, kStandIn, {kQuestion, kPatchDone}, true},
        {"patch program missing", EverythingInstalled() + kNotUninstalled, kMissing,
         {kQuestion, kNotInGameFolder}, false},
        {"a folder named like the patch program", EverythingInstalled() + kNotUninstalled,
         kFolder, {kQuestion, kNotInGameFolder}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir("Red Alert 2");
        Fill(dir, c.before);
        if (c.patch == kStandIn) PlaceStandIn(dir, "RockPatch.exe");
        if (c.patch == kFolder) dir.MakeFolder("RockPatch.exe");
        WatchingWindow w;
        bool started_before_box = false;
        Started started;
        w.on_message = [&](const std::string& text) {
            if (text != kPatchDone) return;
            started_before_box = WaitStarted(dir, "RockPatch.exe", &started);
            WaitEnded("RockPatch.exe");
        };
        Frm1 frm1(w, dir.path());
        frm1.Uninstall_Click();

        Folder expected = kNotUninstalled;
        if (c.patch == kStandIn)
            expected["RockPatch.exe.started.txt"] = dir.Read("RockPatch.exe.started.txt");
        if (c.patch == kFolder) expected["RockPatch.exe"] = kIsFolder;
        ExpectFolder(dir, expected);
        EXPECT_EQ(w.messages, c.messages);
        EXPECT_EQ(w.closed, c.closed);
        EXPECT_EQ(w.texts["visual"], kUntouched);
        EXPECT_EQ(w.busy_at_message, std::vector<int>(c.messages.size(), 0));
        if (c.patch != kStandIn) continue;
        ASSERT_TRUE(started_before_box) << "not started before the box";
        EXPECT_EQ(started.command_line, dir.File("RockPatch.exe"));
        EXPECT_EQ(started.show, ShowStateRecorded() ? "1" : "none");
        EXPECT_EQ(started.directory, WorkingDirectory());
    }
}

Folder Leftovers() {
    Folder f;
    for (const std::string& name : kCleanFiles) f[name] = Data(name);
    return f;
}
const Folder kNotCleaned = Enabled(kAll) + Disabled({1}) +
                           Folder{{"ecachemarrowgate80.mix.Zarn", "z"},
                                  {"marrowgate80.pkt.Zarn", "z"},
                                  {"merged01.pkt", "m"},
                                  {"RA2MD.ini", "[Video]\r\n"}};

TEST(Clean, DeletesTheInstallerLeftoversOnlyAndSaysNothing) {
    for (const Folder& before : {Leftovers() + kNotCleaned, kNotCleaned}) {
        TempFolder dir;
        Fill(dir, before);
        for (int press = 1; press <= 2; ++press) {
            SCOPED_TRACE(testing::Message() << "press " << press);
            WatchingWindow w;
            Frm1 frm1(w, dir.path());
            frm1.Clean_Click();
            ExpectFolder(dir, kNotCleaned);
            EXPECT_TRUE(w.messages.empty());
            EXPECT_EQ(w.texts["visual"], kUntouched);
            EXPECT_FALSE(w.closed);
            EXPECT_EQ(w.busy_depth, 0);
        }
    }
}

TEST(Launch, StartsTheGameMinimizedByItsFullPathAndCloses) {
    for (const char* leaf : {"game folder", "Red Alert 2", "Игры Red Alert 2 Юрий"}) {
        SCOPED_TRACE(leaf);
        TempFolder dir(leaf);
        Fill(dir, Disabled(kAll));  // the state is neither tested nor changed
        PlaceStandIn(dir, "RA2MD.exe");
        Folder before = Contents(dir);
        WatchingWindow w;
        Frm1 frm1(w, dir.path());
        frm1.Command1_Click();
        Started started;
        ASSERT_TRUE(WaitStarted(dir, "RA2MD.exe", &started));
        EXPECT_EQ(started.command_line, dir.File("RA2MD.exe"));
        EXPECT_EQ(started.show, ShowStateRecorded() ? "2" : "none");
        EXPECT_EQ(started.directory, WorkingDirectory());
        EXPECT_TRUE(w.closed);
        EXPECT_TRUE(w.messages.empty());
        EXPECT_EQ(w.texts["visual"], kUntouched);
        WaitEnded("RA2MD.exe");
        before["RA2MD.exe.started.txt"] = dir.Read("RA2MD.exe.started.txt");
        ExpectFolder(dir, before);
    }
}

TEST(Launch, WithoutTheGameAsksToBePutIntoTheGameFolder) {
    struct Case {
        const char* what;
        bool folder;  // a folder named "RA2MD.exe"
        bool not_a_program;
        std::string message;
    } cases[] = {
        {"missing", false, false, kNotInGameFolder},
        {"a folder of that name", true, false, kNotInGameFolder},
        {"not a program", false, true, "Could not start \"RA2MD.exe\": " + NotAProgramReason()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir;
        Fill(dir, Enabled(kAll));
        if (c.folder) dir.MakeFolder("RA2MD.exe");
        if (c.not_a_program) PlaceNotAProgram(dir, "RA2MD.exe");
        Folder before = Contents(dir);
        WatchingWindow w;
        Frm1 frm1(w, dir.path());
        frm1.Command1_Click();
        EXPECT_EQ(w.messages, std::vector<std::string>{c.message});
        EXPECT_FALSE(w.closed);
        EXPECT_TRUE(Contents(dir) == before);
        EXPECT_EQ(w.texts["visual"], kUntouched);
    }
}

}  // namespace
