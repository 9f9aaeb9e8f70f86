// Every command against every refusal the system could give it: each runs
// once over a real game folder to count its copies, deletes, program starts
// and settings writes (n), then n times more, the k-th time with call k
// refused (not made). Existence tests are never refused: a missing file is an
// answer. The calls reach the real POSIX layer through link-time wrappers
// (-Wl,--wrap, see tests/CMakeLists.txt).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "panel/frm1.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/program.h"
#include "settings/game_options.h"
#include "tests/standin.h"
#include "tests/support/game_files.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace {

struct Call {
    enum Kind { kCopy, kDelete, kStart, kWrite } kind;
    std::string path;    // source, deleted file, program, settings file
    std::string target;  // of a copy; "section/key=value" of a write
    bool refused;
};
std::vector<Call> g_calls;
std::size_t g_refuse = 0;  // the call to refuse, from 1; 0: none

// Logs a call; true when it is the one to refuse.
bool Refuse(Call::Kind kind, const std::string& path, const std::string& target = "") {
    g_calls.push_back({kind, path, target, g_calls.size() + 1 == g_refuse});
    return g_calls.back().refused;
}

const char kReason[] = "Access is denied.";

}  // namespace

#define ZARN_STRING "NSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE"
using platform::Status;
using std::string;

Status RealCopy(const string&, const string&, const platform::CopyProgress&)
    __asm__("__real__ZN8platform15CopyFileReplaceERK" ZARN_STRING "S7_RKSt8functionIFvmmEE");
Status RealRemove(const string&) __asm__("__real__ZN8platform10RemoveFileERK" ZARN_STRING);
Status RealStart(const string&, int) __asm__("__real__ZN8platform12StartProgramERK" ZARN_STRING "i");
bool RealWrite(const string&, const string&, const string&, const string&)
    __asm__("__real__ZN7profile11WriteStringERK" ZARN_STRING "S7_S7_S7_");

Status WrapCopy(const string& source, const string& target, const platform::CopyProgress& progress)
    __asm__("__wrap__ZN8platform15CopyFileReplaceERK" ZARN_STRING "S7_RKSt8functionIFvmmEE");
Status WrapCopy(const string& source, const string& target, const platform::CopyProgress& progress) {
    if (Refuse(Call::kCopy, source, target)) return Status::Refused(kReason);
    return RealCopy(source, target, progress);
}
Status WrapRemove(const string& path) __asm__("__wrap__ZN8platform10RemoveFileERK" ZARN_STRING);
Status WrapRemove(const string& path) {
    if (Refuse(Call::kDelete, path)) return Status::Refused(kReason);
    return RealRemove(path);
}
Status WrapStart(const string& path, int show)
    __asm__("__wrap__ZN8platform12StartProgramERK" ZARN_STRING "i");
Status WrapStart(const string& path, int show) {
    if (Refuse(Call::kStart, path)) return Status::Refused(kReason);
    return RealStart(path, show);
}
bool WrapWrite(const string& section, const string& key, const string& value, const string& path)
    __asm__("__wrap__ZN7profile11WriteStringERK" ZARN_STRING "S7_S7_S7_");
bool WrapWrite(const string& section, const string& key, const string& value, const string& path) {
    if (Refuse(Call::kWrite, path, section + "/" + key + "=" + value)) return false;
    return RealWrite(section, key, value, path);
}

namespace {

using namespace game_files;

const char kUntouched[] = "(as loaded)";
const char kGameIni[] =
    "[Audio]\r\nSoundVolume=0.700000\r\nVoiceVolume=0.600000\r\nScoreVolume=0.400000\r\n"
    "InGameMusic=yes\r\n[Video]\r\nAllowHiResModes=no\r\nVideoBackBuffer=yes\r\n"
    "AllowVRAMSidebar=no\r\nScreenWidth=800\r\nScreenHeight=600\r\n";

string Leaf(const string& path) { return path.substr(path.rfind('/') + 1); }

struct Window : RecordingWindow {
    Window() { texts["visual"] = kUntouched; }
};

// One run of one command in a fresh folder.
struct Attempt {
    TempFolder dir{"Red Alert 2"};
    Window w;
    std::vector<Call> calls;
    const Call* refused = nullptr;

    bool Has(const string& name) const { return !dir.Read(name).empty(); }
    // The one message box, which names the refused call's file.
    void ExpectMessageNamesTheFile(std::vector<string> before = {}) const {
        ASSERT_EQ(w.messages.size(), before.size() + 1);
        for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(w.messages[i], before[i]);
        EXPECT_NE(w.messages.back().find("\"" + Leaf(refused->path) + "\""), string::npos)
            << w.messages.back();
        EXPECT_NE(w.messages.back().find(kReason), string::npos) << w.messages.back();
        EXPECT_EQ(w.busy_at_message, std::vector<int>(w.messages.size(), 0)) << "shown while busy";
        EXPECT_EQ(w.busy_depth, 0);
        EXPECT_FALSE(w.closed);
    }
};

// Enable or Disable: entries before the refused one moved, every file whole in
// at least one form, nothing deleted that was not copied first, later entries
// untouched, the state label not refreshed.
void CheckSwitch(const Attempt& r, bool enable) {
    std::size_t at = 0;  // the refused entry
    while (at < kModFiles.size() && Leaf(r.refused->path).rfind(kModFiles[at], 0) != 0) ++at;
    for (std::size_t i = 0; i < kModFiles.size(); ++i) {
        SCOPED_TRACE(kModFiles[i]);
        const string& name = kModFiles[i];
        string from = enable ? name + ".Zarn" : name, to = enable ? name : name + ".Zarn";
        EXPECT_TRUE(r.dir.Read(from) == Data(name) || r.dir.Read(to) == Data(name)) << "not whole";
        if (i < at) {
            EXPECT_TRUE(!r.Has(from) && r.Has(to)) << "not moved";
        } else if (i > at) {
            EXPECT_TRUE(r.Has(from) && !r.Has(to)) << "touched";
        }
    }
    for (std::size_t i = 0; i < r.calls.size(); ++i) {
        if (r.calls[i].kind != Call::kDelete) continue;
        bool copied = false;
        for (std::size_t j = 0; j < i; ++j)
            copied |= r.calls[j].kind == Call::kCopy && !r.calls[j].refused &&
                      r.calls[j].path == r.calls[i].path;
        EXPECT_TRUE(copied) << "deleted without a copy: " << r.calls[i].path;
    }
    EXPECT_EQ(r.w.texts.at("visual"), kUntouched);
    r.ExpectMessageNamesTheFile();
}

// Uninstall and Clean delete in table order: the entries before the refused
// one gone, the later ones untouched.
void CheckDeletes(const Attempt& r, const std::vector<string>& names) {
    bool before = true;
    for (const string& name : names) {
        bool refused = r.refused->kind == Call::kDelete && Leaf(r.refused->path) == name;
        if (refused) before = false;
        EXPECT_EQ(r.Has(name), !before) << name;
    }
    EXPECT_EQ(r.w.texts.at("visual"), kUntouched);
}

void CheckUninstall(const Attempt& r) {
    bool patch = Leaf(r.refused->path) == "RockPatch.exe";
    if (!patch) CheckDeletes(r, kUninstallFiles);
    for (const string& name : kUninstallFiles) EXPECT_FALSE(patch && r.Has(name)) << name;
    EXPECT_TRUE(r.Has("RockPatch.exe")) << "the patch program is never deleted after a refusal";
    if (r.refused->kind == Call::kDelete && patch) {
        r.ExpectMessageNamesTheFile({kQuestion, kPatchDone});  // its delete, last: the panel stays
    } else {
        r.ExpectMessageNamesTheFile({kQuestion});  // no "You done yet???"
        EXPECT_FALSE(r.Has("RockPatch.exe.started.txt")) << "started after a refusal";
    }
}

// The settings file after the writes of `calls` but the refused one, made
// with the real writer on the file as it was.
string WithWrites(const std::vector<Call>& calls, const string& ini) {
    TempFolder other;
    other.Write("RA2MD.ini", ini);
    for (const Call& c : calls) {
        if (c.refused) continue;
        std::size_t slash = c.target.find('/'), eq = c.target.find('=');
        RealWrite(c.target.substr(0, slash), c.target.substr(slash + 1, eq - slash - 1),
                  c.target.substr(eq + 1), other.File("RA2MD.ini"));
    }
    return other.Read("RA2MD.ini");
}

struct Command {
    const char* what;
    std::function<void(Attempt&)> run;  // fills the folder and presses
    std::function<void(const Attempt& refused, const Attempt& whole)> check;
};

void Press(Attempt& r, void (Frm1::*click)()) {
    Frm1 frm1(r.w, r.dir.path());
    r.w.on_message = [&r](const string& text) {
        Started started;  // the stand-in is done before the panel goes on
        if (text == kPatchDone) WaitStarted(r.dir, "RockPatch.exe", &started);
    };
    (frm1.*click)();
}

void Fill(const TempFolder& dir, const std::vector<string>& names, const char* suffix = "") {
    for (const string& name : names) dir.Write(name + suffix, Data(name));
}

// Game Options over the game's file, loaded, then `click` with the boxes as
// the player typed them.
void PressOptions(Attempt& r, void (GameOptions::*click)()) {
    r.dir.Write("RA2MD.ini", kGameIni);
    GameOptions options(r.w, r.dir.path());
    r.w.on_change = [&options](const char* control) {
        for (const GameOptions::Handler& h : GameOptions::kChanges)
            if (std::strcmp(h.control, control) == 0) (options.*h.run)();
    };
    options.Form_Load();
    r.w.texts["Text1"] = "80";
    r.w.texts["Text2"] = "5";
    r.w.texts["Text3"] = "100";
    r.w.texts["Combo1"] = "1024x768";
    (options.*click)();
}

// A write refused: no message, the window as after a write made (label
// changed, dialog closed), the other writes made.
void CheckWrites(const Attempt& r, const Attempt& whole) {
    EXPECT_TRUE(r.w.messages.empty());
    EXPECT_EQ(r.w.texts, whole.w.texts);
    EXPECT_EQ(r.w.closed, whole.w.closed);
    EXPECT_EQ(r.calls.size(), whole.calls.size()) << "a later write left out";
    EXPECT_EQ(r.dir.Read("RA2MD.ini"), WithWrites(r.calls, kGameIni));
}

std::vector<Command> Commands() {
    std::vector<Command> commands = {
        {"Enable",
         [](Attempt& r) { Fill(r.dir, kModFiles, ".Zarn"); Press(r, &Frm1::Command2_Click); },
         [](const Attempt& r, const Attempt&) { CheckSwitch(r, true); }},
        {"Disable", [](Attempt& r) { Fill(r.dir, kModFiles); Press(r, &Frm1::Command3_Click); },
         [](const Attempt& r, const Attempt&) { CheckSwitch(r, false); }},
        {"Launch",
         [](Attempt& r) {
             PlaceStandIn(r.dir, "RA2MD.exe");
             Press(r, &Frm1::Command1_Click);
             Started started;  // done before its folder goes
             if (r.w.closed) {
                 EXPECT_TRUE(WaitStarted(r.dir, "RA2MD.exe", &started));
             }
         },
         [](const Attempt& r, const Attempt&) {
             r.ExpectMessageNamesTheFile();
             EXPECT_EQ(r.dir.Names(), std::vector<string>{"RA2MD.exe"});
         }},
        {"Uninstall",
         [](Attempt& r) {
             Fill(r.dir, kUninstallFiles);
             PlaceStandIn(r.dir, "RockPatch.exe");
             Press(r, &Frm1::Uninstall_Click);
         },
         [](const Attempt& r, const Attempt&) { CheckUninstall(r); }},
        {"Clean", [](Attempt& r) { Fill(r.dir, kCleanFiles); Press(r, &Frm1::Clean_Click); },
         [](const Attempt& r, const Attempt&) {
             CheckDeletes(r, kCleanFiles);
             r.ExpectMessageNamesTheFile();
         }},
    };
    for (const GameOptions::Handler& h : GameOptions::kClicks) {
        auto click = h.run;
        commands.push_back({h.control, [click](Attempt& r) { PressOptions(r, click); }, CheckWrites});
    }
    return commands;
}

TEST(FaultSweep, EveryRefusalLeavesWhatItShould) {
    for (const Command& c : Commands()) {
        SCOPED_TRACE(c.what);
        g_refuse = 0;
        g_calls.clear();
        Attempt whole;
        c.run(whole);
        whole.calls = g_calls;
        ASSERT_FALSE(whole.calls.empty()) << "no call seen: are the wrappers linked in?";
        for (std::size_t k = 1; k <= whole.calls.size(); ++k) {
            SCOPED_TRACE(testing::Message() << "call " << k << " of " << whole.calls.size()
                                            << " refused: " << whole.calls[k - 1].path);
            g_refuse = k;
            g_calls.clear();
            Attempt r;
            c.run(r);
            r.calls = g_calls;
            ASSERT_GE(r.calls.size(), k);
            r.refused = &r.calls[k - 1];
            EXPECT_EQ(r.refused->kind, whole.calls[k - 1].kind);
            c.check(r, whole);
        }
    }
    g_refuse = 0;
}

}  // namespace
