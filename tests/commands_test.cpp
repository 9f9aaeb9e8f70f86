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
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace {

const char kNotInGameFolder[] = "Please Place Control Panal Exe into Ra2:Yr Folder";
const char kQuestion[] = "Are You Sure You Would Like To Uninstall ZARN??";
const char kPatchDone[] = "You done yet???";
const char kUntouched[] = "(as loaded)";  // "visual" before a command, to see a refresh

// The names the commands work on, in the order the player's files are
// processed. Written out here rather than taken from panel/files.h, so that
// a name or an order wrong there shows up as a wrong folder here.
const char* const kModFiles[10] = {
    "ecachemd80.mix", "glslmd.shp",     "ea_wwlogo.bik", "ra2md.csf", "glsmd.pal",
    "expandmd80.mix", "expandmd81.mix", "ra2ts_l.bik",   "rzarn.yro", "creditsmd.txt",
};
const char* const kUninstallFiles[26] = {
    "ecachemd80.mix",      "glslmd.shp",          "ea_wwlogo.bik",
    "ra2md.csf",           "glsmd.pal",           "expandmd80.mix",
    "expandmd81.mix",      "ra2ts_l.bik",         "ecachemarrowgate80.mix",
    "marrowgate80.pkt",    "merged01.pkt",        "creditsmd.txt",
    "ecachemd80.mix.Zarn", "glslmd.shp.Zarn",     "ea_wwlogo.bik.Zarn",
    "ra2md.csf.Zarn",      "glsmd.pal.Zarn",      "expandmd80.mix.Zarn",
    "expandmd81.mix.Zarn", "ra2ts_l.bik.Zarn",    "ecachemarrowgate80.mix.Zarn",
    "marrowgate80.pkt.Zarn", "merged01.pkt.Zarn", "creditsmd.txt.Zarn",
    "rzarn.yro",           "rzarn.yro.zarn",
};
const char* const kCleanFiles[12] = {
    "Register.exe", "Register.ini", "notes.ico",      "patch.doc",
    "Readme.doc",   "INSTALL.LOG",  "launcher.txt",   "Readme.txt",
    "ecachemd98.mix", "expandmd98.mix", "ecachemarrowgate80.mix", "marrowgate80.pkt",
};

// Names as stored in the folder, and their contents.
using Folder = std::map<std::string, std::string>;

// Contents that differ from file to file and hold the bytes a careless copy
// would spoil: NULs, CR LF, 0xFF.
std::string Data(const std::string& name, std::size_t size = 4099) {
    std::string s(size, '\0');
    unsigned h = 2166136261u;
    for (char c : name) h = (h ^ (unsigned char)c) * 16777619u;
    for (std::size_t i = 0; i < size; ++i) {
        h = h * 1103515245u + 12345u;
        s[i] = (i % 97 == 0) ? '\r' : (i % 97 == 1) ? '\n' : (char)(h >> 16);
    }
    return s;
}

// Entries of ModFiles (numbered from 1) under their own names, or disabled.
Folder Enabled(std::initializer_list<int> entries) {
    Folder f;
    for (int n : entries) f[kModFiles[n - 1]] = Data(kModFiles[n - 1]);
    return f;
}
Folder Disabled(std::initializer_list<int> entries) {
    Folder f;
    for (int n : entries)
        f[std::string(kModFiles[n - 1]) + ".Zarn"] = Data(kModFiles[n - 1]);
    return f;
}
Folder operator+(Folder a, const Folder& b) {
    a.insert(b.begin(), b.end());
    return a;
}
const std::initializer_list<int> kAll = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

void Fill(const TempFolder& dir, const Folder& f) {
    for (auto& [name, bytes] : f) dir.Write(name, bytes);
}

const char kIsFolder[] = "(a folder)";

Folder Contents(const TempFolder& dir) {
    Folder f;
    for (const std::string& name : dir.Names())
        f[name] = std::filesystem::is_directory(std::filesystem::u8path(dir.File(name)))
                      ? kIsFolder
                      : dir.Read(name);
    return f;
}

// Names only, for readable failures; contents are compared separately.
std::vector<std::string> NamesOf(const Folder& f) {
    std::vector<std::string> names;
    for (auto& e : f) names.push_back(e.first);
    return names;
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
        {"large file in several pieces", kDisable,
         Folder{{"expandmd80.mix", Data("expandmd80.mix", 9u << 20)}},
         Folder{{"expandmd80.mix.Zarn", Data("expandmd80.mix", 9u << 20)}}, "Disabled"},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        Fill(dir, c.before);
        WatchingWindow w;
        Frm1 frm1(w, dir.path());
        (frm1.*c.press)();
        Folder after = Contents(dir);
        EXPECT_EQ(NamesOf(after), NamesOf(c.after)) << c.what;
        EXPECT_TRUE(after == c.after) << c.what << ": contents differ";
        EXPECT_EQ(w.texts["visual"], c.label) << c.what;
        EXPECT_TRUE(w.messages.empty()) << c.what;
        EXPECT_FALSE(w.closed) << c.what;
        EXPECT_EQ(w.busy_depth, 0) << c.what;
        EXPECT_EQ(w.painted_while_idle, 0) << c.what;
    }
}

TEST(EnableDisable, FoldersNamedLikeModFilesAreLeftAlone) {
    TempFolder dir;
    Fill(dir, Enabled({1, 2, 3, 5, 6, 7, 8, 9, 10}));
    dir.MakeFolder("ra2md.csf");
    dir.MakeFolder("ecachemd80.mix.Zarn.Zarn");
    WatchingWindow w;
    Frm1 frm1(w, dir.path());
    frm1.Command3_Click();
    frm1.Command2_Click();
    Folder expected = Enabled({1, 2, 3, 5, 6, 7, 8, 9, 10});
    expected["ecachemd80.mix.Zarn.Zarn"] = kIsFolder;
    expected["ra2md.csf"] = kIsFolder;
    EXPECT_TRUE(Contents(dir) == expected);
    EXPECT_EQ(w.texts["visual"], "Enabled");
    EXPECT_TRUE(w.messages.empty());
}

// A refused copy or delete stops the command at that entry: earlier entries
// are moved, the entry may stand in both forms, later ones are untouched,
// the label is not refreshed, and the panel runs on.
TEST(EnableDisable, ARefusedStepStopsTheCommandThere) {
    struct Case {
        const char* what;
        Click press;
        Folder before;
        const char* read_only;  // made read-only first, when set
        const char* folder;     // made a folder first, when set
        Folder after;
        std::string message;
    } cases[] = {
        {"read-only target, Enable", kEnable,
         Disabled(kAll) + Folder{{"glslmd.shp", "read-only old"}}, "glslmd.shp", nullptr,
         Enabled({1}) + Disabled({2, 3, 4, 5, 6, 7, 8, 9, 10}) +
             Folder{{"glslmd.shp", "read-only old"}},
         "Could not copy \"glslmd.shp.Zarn\" to \"glslmd.shp\": " + DeniedReason()},
        {"read-only target, Disable", kDisable,
         Enabled(kAll) + Folder{{"ecachemd80.mix.Zarn", "read-only old"}}, "ecachemd80.mix.Zarn",
         nullptr, Enabled(kAll) + Folder{{"ecachemd80.mix.Zarn", "read-only old"}},
         "Could not copy \"ecachemd80.mix\" to \"ecachemd80.mix.Zarn\": " + DeniedReason()},
        {"folder at the target, Disable", kDisable, Enabled(kAll), nullptr, "creditsmd.txt.Zarn",
         Disabled({1, 2, 3, 4, 5, 6, 7, 8, 9}) + Enabled({10}) +
             Folder{{"creditsmd.txt.Zarn", kIsFolder}},
         "Could not copy \"creditsmd.txt\" to \"creditsmd.txt.Zarn\": " + DeniedReason()},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        Fill(dir, c.before);
        if (c.read_only) dir.SetReadOnly(c.read_only);
        if (c.folder) dir.MakeFolder(c.folder);
        WatchingWindow w;
        Frm1 frm1(w, dir.path());
        (frm1.*c.press)();
        Folder after = Contents(dir);
        EXPECT_EQ(NamesOf(after), NamesOf(c.after)) << c.what;
        EXPECT_TRUE(after == c.after) << c.what << ": contents differ";
        EXPECT_EQ(w.messages, std::vector<std::string>{c.message}) << c.what;
        EXPECT_EQ(w.busy_at_message, std::vector<int>{0}) << c.what << ": shown while busy";
        EXPECT_EQ(w.texts["visual"], kUntouched) << c.what;
        EXPECT_FALSE(w.closed) << c.what;
        EXPECT_EQ(w.busy_depth, 0) << c.what;
    }
}

// Enable and Disable take the ten files in table order: with entry k's
// source read-only, entries before it are moved, k stands in both forms
// (copied, then its delete refused) and the entries after it are untouched.
TEST(EnableDisable, MoveInTableOrderAndStopAtAReadOnlySource) {
    for (int k = 1; k <= 10; ++k) {
        for (Click press : {kEnable, kDisable}) {
            bool enable = press == kEnable;
            std::string source = std::string(kModFiles[k - 1]) + (enable ? ".Zarn" : "");
            TempFolder dir;
            Fill(dir, enable ? Disabled(kAll) : Enabled(kAll));
            dir.SetReadOnly(source);
            WatchingWindow w;
            Frm1 frm1(w, dir.path());
            (frm1.*press)();
            Folder expected;
            for (int i = 1; i <= 10; ++i) {
                std::initializer_list<int> n = {i};
                bool moved = i <= k, kept = i >= k;
                if (moved) expected = expected + (enable ? Enabled(n) : Disabled(n));
                if (kept) expected = expected + (enable ? Disabled(n) : Enabled(n));
            }
            std::string what = (enable ? "Enable, entry " : "Disable, entry ") + std::to_string(k);
            EXPECT_EQ(NamesOf(Contents(dir)), NamesOf(expected)) << what;
            EXPECT_TRUE(Contents(dir) == expected) << what << ": contents differ";
            EXPECT_EQ(w.messages,
                      std::vector<std::string>{"Could not delete \"" + source + "\": " +
                                               DeniedReason()})
                << what;
            EXPECT_EQ(w.texts["visual"], kUntouched) << what;
        }
    }
}

// Every name of UninstallFiles, the disabled form of "rzarn.yro" as Disable
// writes it, and files Uninstall must not touch.
Folder EverythingInstalled() {
    Folder f;
    for (const char* name : kUninstallFiles) f[name] = Data(name);
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
        Folder after = Contents(dir);
        EXPECT_EQ(NamesOf(after), NamesOf(expected)) << c.what;
        EXPECT_TRUE(after == expected) << c.what << ": contents differ";
        EXPECT_EQ(w.messages, c.messages) << c.what;
        EXPECT_EQ(w.closed, c.closed) << c.what;
        EXPECT_EQ(w.texts["visual"], kUntouched) << c.what;
        EXPECT_EQ(w.busy_at_message, std::vector<int>(c.messages.size(), 0)) << c.what;
        if (c.patch != kStandIn) continue;
        ASSERT_TRUE(started_before_box) << c.what << ": not started before the box";
        EXPECT_EQ(started.command_line, dir.File("RockPatch.exe")) << c.what;
        if (ShowStateRecorded()) {
            EXPECT_EQ(started.show, "1") << c.what;
        }
        EXPECT_EQ(started.directory, WorkingDirectory()) << c.what;
    }
}

TEST(Uninstall, AnsweringNoChangesNothing) {
    TempFolder dir;
    Folder before = EverythingInstalled() + kNotUninstalled;
    Fill(dir, before);
    PlaceStandIn(dir, "RockPatch.exe");
    before["RockPatch.exe"] = dir.Read("RockPatch.exe");
    WatchingWindow w;
    w.answers.push_back(ui::Answer::kNo);
    Frm1 frm1(w, dir.path());
    frm1.Uninstall_Click();
    EXPECT_TRUE(Contents(dir) == before);
    EXPECT_EQ(w.messages, std::vector<std::string>{kQuestion});
    EXPECT_FALSE(w.closed);
    Started started;
    EXPECT_FALSE(WaitStarted(dir, "RockPatch.exe", &started, 1000));
}

// The deletions run in table order and stop at the first refusal: a
// read-only entry k leaves entries 1..k-1 deleted and k..26 in place, and
// "RockPatch.exe" is neither started nor deleted.
TEST(Uninstall, ARefusedDeleteStopsAtThatEntry) {
    for (int k = 1; k <= 26; ++k) {
        TempFolder dir;
        Folder before;
        for (const char* name : kUninstallFiles) before[name] = Data(name);
        before["RockPatch.exe"] = "patch";
        Fill(dir, before);
        const char* refused = kUninstallFiles[k - 1];
        dir.SetReadOnly(refused);
        WatchingWindow w;
        Frm1 frm1(w, dir.path());
        frm1.Uninstall_Click();
        Folder expected = before;
        for (int i = 0; i < k - 1; ++i) expected.erase(kUninstallFiles[i]);
        EXPECT_TRUE(Contents(dir) == expected) << "entry " << k;
        EXPECT_EQ(w.messages, (std::vector<std::string>{
                                  kQuestion, "Could not delete \"" + std::string(refused) +
                                                 "\": " + DeniedReason()}))
            << "entry " << k;
        EXPECT_EQ(w.busy_at_message, (std::vector<int>{0, 0})) << "entry " << k;
        EXPECT_FALSE(w.closed) << "entry " << k;
        EXPECT_EQ(w.texts["visual"], kUntouched) << "entry " << k;
    }
}

Folder Leftovers() {
    Folder f;
    for (const char* name : kCleanFiles) f[name] = Data(name);
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
            WatchingWindow w;
            Frm1 frm1(w, dir.path());
            frm1.Clean_Click();
            EXPECT_TRUE(Contents(dir) == kNotCleaned) << "press " << press;
            EXPECT_EQ(NamesOf(Contents(dir)), NamesOf(kNotCleaned)) << "press " << press;
            EXPECT_TRUE(w.messages.empty()) << "press " << press;
            EXPECT_EQ(w.texts["visual"], kUntouched) << "press " << press;
            EXPECT_FALSE(w.closed) << "press " << press;
            EXPECT_EQ(w.busy_depth, 0) << "press " << press;
        }
    }
}

// In table order, stopping at the first refusal: a read-only entry k leaves
// entries 1..k-1 deleted and k..12 in place.
TEST(Clean, ARefusedDeleteStopsAtThatEntry) {
    for (int k = 1; k <= 12; ++k) {
        TempFolder dir;
        Fill(dir, Leftovers() + kNotCleaned);
        dir.SetReadOnly(kCleanFiles[k - 1]);
        WatchingWindow w;
        Frm1 frm1(w, dir.path());
        frm1.Clean_Click();
        Folder expected = Leftovers() + kNotCleaned;
        for (int i = 0; i < k - 1; ++i) expected.erase(kCleanFiles[i]);
        EXPECT_TRUE(Contents(dir) == expected) << "entry " << k;
        EXPECT_EQ(w.messages, std::vector<std::string>{"Could not delete \"" +
                                                       std::string(kCleanFiles[k - 1]) +
                                                       "\": " + DeniedReason()})
            << "entry " << k;
        EXPECT_EQ(w.busy_at_message, std::vector<int>{0}) << "entry " << k;
        EXPECT_EQ(w.texts["visual"], kUntouched) << "entry " << k;
        EXPECT_FALSE(w.closed) << "entry " << k;
    }
}

TEST(Launch, StartsTheGameMinimizedByItsFullPathAndCloses) {
    for (const char* leaf : {"game folder", "Red Alert 2", "Игры Red Alert 2 Юрий"}) {
        TempFolder dir(leaf);
        Folder mod = Disabled(kAll);  // the state is neither tested nor changed
        Fill(dir, mod);
        PlaceStandIn(dir, "RA2MD.exe");
        WatchingWindow w;
        Frm1 frm1(w, dir.path());
        frm1.Command1_Click();
        Started started;
        ASSERT_TRUE(WaitStarted(dir, "RA2MD.exe", &started)) << leaf;
        EXPECT_EQ(started.command_line, dir.File("RA2MD.exe")) << leaf;
        if (ShowStateRecorded()) {
            EXPECT_EQ(started.show, "2") << leaf;
        }
        EXPECT_EQ(started.directory, WorkingDirectory()) << leaf;
        EXPECT_TRUE(w.closed) << leaf;
        EXPECT_TRUE(w.messages.empty()) << leaf;
        EXPECT_EQ(w.texts["visual"], kUntouched) << leaf;
        WaitEnded("RA2MD.exe");
        Folder after = Contents(dir);
        for (auto& e : mod) EXPECT_EQ(after[e.first], e.second) << leaf;
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
        TempFolder dir;
        Fill(dir, Enabled(kAll));
        if (c.folder) dir.MakeFolder("RA2MD.exe");
        if (c.not_a_program) PlaceNotAProgram(dir, "RA2MD.exe");
        Folder before = Contents(dir);
        WatchingWindow w;
        Frm1 frm1(w, dir.path());
        frm1.Command1_Click();
        EXPECT_EQ(w.messages, std::vector<std::string>{c.message}) << c.what;
        EXPECT_FALSE(w.closed) << c.what;
        EXPECT_TRUE(Contents(dir) == before) << c.what;
        EXPECT_EQ(w.texts["visual"], kUntouched) << c.what;
    }
}

}  // namespace
