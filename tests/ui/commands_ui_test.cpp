// The main window's game-folder commands end to end under Wine: the real
// panel in a real game folder, pressed by its buttons and access keys, its
// message boxes read and answered, and the stand-in program in the place of
// RA2MD.exe and RockPatch.exe recording how it was started.
#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/layout.h"
#include "app/platform.h"
#include "app/win/wide.h"
#include "tests/ui/panel_process.h"

namespace {

const layout::Form& kForm = layout::kFrm1;
const char kTitle[] = "The Marrowgate Control";
const char kPanelExe[] = "ZARN Control Panal.exe";
const char kNotInGameFolder[] = "Please Place Control Panal Exe into Ra2:Yr Folder";
const char kQuestion[] = "Are You Sure You Would Like To Uninstall ZARN??";
const char kPatchDone[] = "You done yet???";

const std::vector<std::string> kModFiles = {
    "ecachemd80.mix", "glslmd.shp",     "ea_wwlogo.bik", "ra2md.csf", "glsmd.pal",
    "expandmd80.mix", "expandmd81.mix", "ra2ts_l.bik",   "rzarn.yro", "creditsmd.txt"};

const std::vector<std::string> kUninstallFiles = {
    "ecachemd80.mix",      "glslmd.shp",          "ea_wwlogo.bik",
    "ra2md.csf",           "glsmd.pal",           "expandmd80.mix",
    "expandmd81.mix",      "ra2ts_l.bik",         "ecachemarrowgate80.mix",
    "marrowgate80.pkt",    "merged01.pkt",        "creditsmd.txt",
    "ecachemd80.mix.Zarn", "glslmd.shp.Zarn",     "ea_wwlogo.bik.Zarn",
    "ra2md.csf.Zarn",      "glsmd.pal.Zarn",      "expandmd80.mix.Zarn",
    "expandmd81.mix.Zarn", "ra2ts_l.bik.Zarn",    "ecachemarrowgate80.mix.Zarn",
    "marrowgate80.pkt.Zarn", "merged01.pkt.Zarn", "creditsmd.txt.Zarn",
    "rzarn.yro",           "rzarn.yro.zarn"};

const std::vector<std::string> kCleanFiles = {
    "Register.exe", "Register.ini", "notes.ico",      "patch.doc",      "Readme.doc",
    "INSTALL.LOG",  "launcher.txt", "Readme.txt",     "ecachemd98.mix", "expandmd98.mix",
    "ecachemarrowgate80.mix",       "marrowgate80.pkt"};

// Contents that differ from file to file and hold the bytes a careless copy
// would change: NUL, CR LF, 0xFF.
std::string Bytes(const std::string& name) {
    return "contents of " + name + std::string("\0\r\n\xff\x1a", 5) + name;
}

// Writes each name with its Bytes(), leaving out the panel itself, which
// PanelProcess puts there.
void WriteAll(const TempFolder& folder, const std::vector<std::string>& names) {
    for (const std::string& name : names)
        if (name != kPanelExe) folder.Write(name, Bytes(name));
}

// Each name still holds its Bytes(), byte for byte.
void ExpectUnchanged(const TempFolder& folder, const std::vector<std::string>& names,
                     const std::string& where = "") {
    for (const std::string& name : names) {
        if (name != kPanelExe) {
            EXPECT_EQ(folder.Read(name), Bytes(name)) << where << ": " << name;
        }
    }
}

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> With(std::vector<std::string> names,
                              const std::vector<std::string>& more) {
    names.insert(names.end(), more.begin(), more.end());
    return Sorted(names);
}

bool WaitUntil(const std::function<bool()>& done, DWORD ms = 5000) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= ms) return false;
        Sleep(20);
    }
    return true;
}

std::string Label(const PanelProcess& panel) {
    return WindowText(PanelProcess::Control(panel.main(), kForm, "visual"));
}

// Every message box of the panel: its caption, the one text, no icon.
void ExpectPanelBox(const MessageBoxSeen& box, const std::string& text,
                    const std::vector<std::string>& buttons, const std::string& where) {
    ASSERT_NE(box.hwnd, nullptr) << where << ": no message box for \"" << text << "\"";
    EXPECT_EQ(box.caption, kTitle) << where;
    EXPECT_EQ(box.text, text) << where;
    EXPECT_EQ(box.buttons, buttons) << where;
    EXPECT_FALSE(box.has_icon) << where;
}

// Answers the box and waits until it has gone.
void AnswerAndWait(const MessageBoxSeen& box, const std::string& button) {
    PanelProcess::Answer(box, button);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box.hwnd); })) << "box still open after " << button;
}

// A key pressed and let go with `window` in front, as a player would.
void PressKey(HWND window, WORD key) {
    SetForegroundWindow(window);
    Sleep(50);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = key;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

enum How { kClick, kAltKey };
const char* Way(How how) { return how == kClick ? "click" : "Alt key"; }

void Press(const PanelProcess& panel, const char* button, char letter, How how) {
    if (how == kClick) {
        PanelProcess::Click(PanelProcess::Control(panel.main(), kForm, button));
    } else {
        panel.PressAltKey(letter);
    }
}

// The stand-in program (tools/standin), built beside this test program.
void PlaceStandIn(const TempFolder& folder, const std::string& name) {
    WString from = Widen(platform::ApplicationFolder() + "\\standin.exe");
    ASSERT_TRUE(CopyFileW(from.c_str(), Widen(folder.File(name)).c_str(), FALSE))
        << "standin.exe is not beside zarn_uitests.exe";
}

struct Started {
    std::string command_line, show, directory;
};

// The stand-in's record of how it was started; false when none came in `ms`.
bool WaitStarted(const TempFolder& folder, const std::string& name, Started* started,
                 DWORD ms = 5000) {
    WString record = Widen(folder.File(name + ".started.txt"));
    if (!WaitUntil([&] { return GetFileAttributesW(record.c_str()) != INVALID_FILE_ATTRIBUTES; },
                   ms))
        return false;
    std::ifstream in(record.c_str());
    return std::getline(in, started->command_line) && std::getline(in, started->show) &&
           std::getline(in, started->directory);
}

bool ProcessRuns(const std::string& exe_name) {
    WString exe = Widen(exe_name);
    bool running = false;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W p = {};
    p.dwSize = sizeof p;
    for (BOOL more = Process32FirstW(snap, &p); more; more = Process32NextW(snap, &p))
        if (lstrcmpiW(p.szExeFile, exe.c_str()) == 0) running = true;
    CloseHandle(snap);
    return running;
}

bool WaitGone(const std::string& exe_name) {
    return WaitUntil([&] { return !ProcessRuns(exe_name); });
}

// Holds a file open for reading and shares reading only, as a program that
// has a game file open would: the system refuses to delete it meanwhile.
class Held {
public:
    explicit Held(const std::string& path)
        : h_(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr)) {}
    ~Held() { Release(); }
    bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
    void Release() {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE h_;
};

TEST(CommandsUi, EnableAndDisableMoveTheTenFilesByClickAndAccessKey) {
    struct Case {
        const char* button;
        char letter;
        How how;
        bool enable;
    } cases[] = {
        {"Command2", 'E', kClick, true},
        {"Command2", 'E', kAltKey, true},
        {"Command3", 'D', kClick, false},
        {"Command3", 'D', kAltKey, false},
    };
    // Never moved by either command.
    const std::vector<std::string> bystanders = {"RA2MD.ini", "marrowgate80.pkt",
                                                 "merged01.pkt.Zarn", kPanelExe};
    for (const Case& c : cases) {
        std::string where = std::string(c.button) + " by " + Way(c.how);
        TempFolder folder("Red Alert 2");
        std::vector<std::string> sources, targets;
        for (const std::string& name : kModFiles) {
            sources.push_back(c.enable ? name + ".Zarn" : name);
            targets.push_back(c.enable ? name : name + ".Zarn");
            folder.Write(sources.back(), Bytes(name));
        }
        WriteAll(folder, bystanders);
        PanelProcess panel(folder);
        ASSERT_NE(panel.main(), nullptr) << where;
        const char* before = c.enable ? "Disabled" : "Enabled";
        const char* after = c.enable ? "Enabled" : "Disabled";
        ASSERT_EQ(Label(panel), before) << where;

        Press(panel, c.button, c.letter, c.how);
        EXPECT_TRUE(WaitUntil([&] { return Label(panel) == after; })) << where;

        EXPECT_EQ(folder.Names(), With(targets, bystanders)) << where;
        for (std::size_t i = 0; i < kModFiles.size(); ++i)
            EXPECT_EQ(folder.Read(targets[i]), Bytes(kModFiles[i])) << where << ": " << targets[i];
        ExpectUnchanged(folder, bystanders, where);
        EXPECT_EQ(panel.WaitForMessageBox(0).hwnd, nullptr) << where;
        EXPECT_TRUE(panel.Running()) << where;
    }
}

// The game gets its full path as its whole command line, show state 2, and
// the panel's own working directory; the panel ends in the same press.
TEST(CommandsUi, LaunchStartsTheGameMinimizedAndEndsThePanel) {
    for (How how : {kClick, kAltKey}) {
        TempFolder folder("Red Alert 2");
        TempFolder elsewhere("started from here");
        folder.Write("expandmd81.mix.Zarn", "disabled: Launch neither looks nor cares");
        PlaceStandIn(folder, "RA2MD.exe");
        {
            PanelProcess panel(folder, elsewhere.path());
            ASSERT_NE(panel.main(), nullptr) << Way(how);
            Press(panel, "Command1", 'L', how);

            Started started;
            ASSERT_TRUE(WaitStarted(folder, "RA2MD.exe", &started)) << Way(how);
            EXPECT_EQ(started.command_line, folder.File("RA2MD.exe")) << Way(how);
            EXPECT_EQ(started.show, "2") << Way(how);
            EXPECT_EQ(started.directory, elsewhere.path()) << Way(how);
            EXPECT_TRUE(panel.WaitForExit()) << Way(how);
        }
        EXPECT_TRUE(WaitGone("RA2MD.exe"));
        EXPECT_EQ(folder.Names(), Sorted({"RA2MD.exe", "RA2MD.exe.started.txt",
                                          "expandmd81.mix.Zarn", kPanelExe}))
            << Way(how);
    }
}

TEST(CommandsUi, LaunchWithoutTheGameAsksForTheGameFolderAndStays) {
    struct Case {
        How how;
        bool folder_named_like_the_game;
    } cases[] = {{kClick, false}, {kAltKey, true}};
    for (const Case& c : cases) {
        std::string where = std::string(Way(c.how)) +
                            (c.folder_named_like_the_game ? ", folder RA2MD.exe" : ", no RA2MD.exe");
        TempFolder folder("Red Alert 2");
        folder.Write("RA2MD.ini", "[Video]\n");
        if (c.folder_named_like_the_game) folder.MakeFolder("RA2MD.exe");
        PanelProcess panel(folder);
        ASSERT_NE(panel.main(), nullptr) << where;
        Press(panel, "Command1", 'L', c.how);

        MessageBoxSeen box = panel.WaitForMessageBox();
        ExpectPanelBox(box, kNotInGameFolder, {"OK"}, where);
        AnswerAndWait(box, "OK");
        EXPECT_FALSE(panel.WaitForExit(300)) << where;
        EXPECT_EQ(Label(panel), "Disabled") << where;
    }
}

// A game folder with every name Uninstall deletes, the patch program, and
// files Uninstall must leave.
const std::vector<std::string> kKeptByUninstall = {"RA2MD.ini", "RA2MD.exe", "Register.exe",
                                                   "Readme.txt", kPanelExe};

void FillForUninstall(const TempFolder& folder) {
    WriteAll(folder, kUninstallFiles);
    WriteAll(folder, kKeptByUninstall);
}

TEST(CommandsUi, UninstallAsksWithYesAsDefaultAndNoChangesNothing) {
    TempFolder folder("Red Alert 2");
    FillForUninstall(folder);
    PlaceStandIn(folder, "RockPatch.exe");
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    std::vector<std::string> names = folder.Names();
    PanelProcess::Click(PanelProcess::Control(panel.main(), kForm, "Uninstall"));

    MessageBoxSeen box = panel.WaitForMessageBox();
    ExpectPanelBox(box, kQuestion, {"&Yes", "&No"}, "question");
    // Yes is the default push button and holds the focus, so Enter means Yes
    // (the next test presses it). Wine answers DM_GETDEFID on this box with
    // IDOK, which it has not, so the buttons themselves are asked.
    HWND yes = GetDlgItem(box.hwnd, IDYES), no = GetDlgItem(box.hwnd, IDNO);
    ASSERT_NE(yes, nullptr);
    ASSERT_NE(no, nullptr);
    EXPECT_EQ(GetWindowLongW(yes, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongW(no, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(box.hwnd, nullptr), &gui));
    EXPECT_EQ(gui.hwndFocus, yes);
    AnswerAndWait(box, "&No");

    EXPECT_EQ(panel.WaitForMessageBox(500).hwnd, nullptr) << "nothing more after No";
    EXPECT_TRUE(panel.Running());
    EXPECT_EQ(folder.Names(), names);
    ExpectUnchanged(folder, kUninstallFiles);
    EXPECT_EQ(Label(panel), "Enabled");
}

// Enter on the question takes its default, Yes: the 26 names go, the patch
// program starts normally before "You done yet???", and after OK it is
// deleted and the panel ends.
TEST(CommandsUi, UninstallYesDeletesRunsThePatchAndEndsAfterOk) {
    TempFolder folder("Red Alert 2");
    FillForUninstall(folder);
    PlaceStandIn(folder, "RockPatch.exe");
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    PanelProcess::Click(PanelProcess::Control(panel.main(), kForm, "Uninstall"));

    MessageBoxSeen question = panel.WaitForMessageBox();
    ExpectPanelBox(question, kQuestion, {"&Yes", "&No"}, "question");
    PressKey(question.hwnd, VK_RETURN);

    Started started;
    ASSERT_TRUE(WaitStarted(folder, "RockPatch.exe", &started));
    EXPECT_EQ(started.command_line, folder.File("RockPatch.exe"));
    EXPECT_EQ(started.show, "1");
    MessageBoxSeen done = panel.WaitForMessageBox();
    ExpectPanelBox(done, kPatchDone, {"OK"}, "patch done");
    EXPECT_EQ(folder.Names(), With(kKeptByUninstall, {"RockPatch.exe", "RockPatch.exe.started.txt"}));
    ASSERT_TRUE(WaitGone("RockPatch.exe"));

    AnswerAndWait(done, "OK");
    EXPECT_TRUE(panel.WaitForExit());
    EXPECT_EQ(folder.Names(), With(kKeptByUninstall, {"RockPatch.exe.started.txt"}));
    ExpectUnchanged(folder, kKeptByUninstall);
}

TEST(CommandsUi, UninstallWithoutThePatchProgramDeletesAndStays) {
    TempFolder folder("Red Alert 2");
    // The marker as the label saw it at load, and a disabled form whose
    // suffix differs in case from the name Uninstall deletes.
    const std::vector<std::string> mod = {"expandmd81.mix", "ra2md.csf.Zarn", "rzarn.yro.Zarn",
                                          "merged01.pkt"};
    WriteAll(folder, mod);
    folder.Write("RA2MD.ini", Bytes("RA2MD.ini"));
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    ASSERT_EQ(Label(panel), "Enabled");
    PanelProcess::Click(PanelProcess::Control(panel.main(), kForm, "Uninstall"));
    MessageBoxSeen question = panel.WaitForMessageBox();
    ExpectPanelBox(question, kQuestion, {"&Yes", "&No"}, "question");
    AnswerAndWait(question, "&Yes");

    MessageBoxSeen box = panel.WaitForMessageBox();
    ExpectPanelBox(box, kNotInGameFolder, {"OK"}, "no RockPatch.exe");
    EXPECT_EQ(folder.Names(), Sorted({"RA2MD.ini", kPanelExe})) << "deleted before the box";
    AnswerAndWait(box, "OK");
    EXPECT_FALSE(panel.WaitForExit(300));
    EXPECT_EQ(Label(panel), "Enabled") << "not refreshed";
    EXPECT_EQ(folder.Read("RA2MD.ini"), Bytes("RA2MD.ini"));
}

TEST(CommandsUi, UninstallWithThePatchProgramStillRunningSaysSoAndStays) {
    TempFolder folder("Red Alert 2");
    folder.Write("ra2md.csf", Bytes("ra2md.csf"));
    folder.Write("stay.txt", "keep running until this file is gone");
    PlaceStandIn(folder, "RockPatch.exe");
    {
        PanelProcess panel(folder);
        ASSERT_NE(panel.main(), nullptr);
        PanelProcess::Click(PanelProcess::Control(panel.main(), kForm, "Uninstall"));
        MessageBoxSeen question = panel.WaitForMessageBox();
        ExpectPanelBox(question, kQuestion, {"&Yes", "&No"}, "question");
        AnswerAndWait(question, "&Yes");

        Started started;
        ASSERT_TRUE(WaitStarted(folder, "RockPatch.exe", &started));  // holds itself from here
        MessageBoxSeen done = panel.WaitForMessageBox();
        ExpectPanelBox(done, kPatchDone, {"OK"}, "patch done");
        AnswerAndWait(done, "OK");

        MessageBoxSeen refused = panel.WaitForMessageBox();
        ExpectPanelBox(refused,
                       "Could not delete \"RockPatch.exe\": " + SystemReason(ERROR_SHARING_VIOLATION),
                       {"OK"}, "patch still running");
        AnswerAndWait(refused, "OK");
        EXPECT_FALSE(panel.WaitForExit(300));
        EXPECT_EQ(folder.Names(), Sorted({"RockPatch.exe", "RockPatch.exe.started.txt", "stay.txt",
                                          kPanelExe}));
    }
    DeleteFileW(Widen(folder.File("stay.txt")).c_str());
    EXPECT_TRUE(WaitGone("RockPatch.exe"));
}

// Clean deletes its twelve without a word and leaves the label as it was,
// even when the marker went meanwhile (a refresh would say "Disabled").
TEST(CommandsUi, CleanDeletesTheTwelveSilently) {
    TempFolder folder("Red Alert 2");
    WriteAll(folder, kCleanFiles);
    const std::vector<std::string> kept = {"ecachemarrowgate80.mix.Zarn", "marrowgate80.pkt.Zarn",
                                           "ra2md.csf",  "rzarn.yro.Zarn", "RA2MD.ini",
                                           "RA2MD.exe", kPanelExe};
    WriteAll(folder, kept);
    folder.Write("expandmd81.mix", "marker");
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    ASSERT_EQ(Label(panel), "Enabled");
    ASSERT_TRUE(DeleteFileW(Widen(folder.File("expandmd81.mix")).c_str()));

    PanelProcess::Click(PanelProcess::Control(panel.main(), kForm, "Clean"));
    EXPECT_TRUE(WaitUntil([&] { return folder.Names() == Sorted(kept); }));
    EXPECT_EQ(folder.Names(), Sorted(kept));
    EXPECT_EQ(panel.WaitForMessageBox(500).hwnd, nullptr);
    EXPECT_TRUE(panel.Running());
    EXPECT_EQ(Label(panel), "Enabled");
    ExpectUnchanged(folder, kept);
}

// A mod file held open stops Disable at that file with the system's reason;
// the panel lives on, and once the file is free the next press completes.
TEST(CommandsUi, AFileInUseStopsDisableAndTheNextPressCompletes) {
    TempFolder folder("Red Alert 2");
    WriteAll(folder, kModFiles);
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    ASSERT_EQ(Label(panel), "Enabled");
    Held held(folder.File("ra2md.csf"));  // entry 4
    ASSERT_TRUE(held.ok());

    panel.PressAltKey('D');
    MessageBoxSeen box = panel.WaitForMessageBox();
    ExpectPanelBox(box, "Could not delete \"ra2md.csf\": " + SystemReason(ERROR_SHARING_VIOLATION),
                   {"OK"}, "held");
    std::vector<std::string> halfway = {kPanelExe};
    for (std::size_t i = 0; i < kModFiles.size(); ++i) {
        if (i <= 3) halfway.push_back(kModFiles[i] + ".Zarn");  // entry 4 copied, not deleted
        if (i >= 3) halfway.push_back(kModFiles[i]);
    }
    EXPECT_EQ(folder.Names(), Sorted(halfway));
    AnswerAndWait(box, "OK");
    EXPECT_FALSE(panel.WaitForExit(300));
    EXPECT_EQ(Label(panel), "Enabled") << "not refreshed after a refusal";

    held.Release();
    PanelProcess::Click(PanelProcess::Control(panel.main(), kForm, "Command3"));
    EXPECT_TRUE(WaitUntil([&] { return Label(panel) == "Disabled"; }));
    std::vector<std::string> disabled = {kPanelExe};
    for (const std::string& name : kModFiles) disabled.push_back(name + ".Zarn");
    EXPECT_EQ(folder.Names(), Sorted(disabled));
    for (const std::string& name : kModFiles) EXPECT_EQ(folder.Read(name + ".Zarn"), Bytes(name));
    EXPECT_EQ(panel.WaitForMessageBox(0).hwnd, nullptr);
}

}  // namespace
