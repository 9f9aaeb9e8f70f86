// Every command against every refusal the system could give: each runs once over a real
// game folder, logging its copies, deletes, program starts and settings writes (n; link-time
// wrappers over the real POSIX layer, see tests/CMakeLists.txt) and its boxes, then n times,
// call k refused. Existence tests are answers, never refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/frm1.h"
#include "platform/files.h"
#include "settings/game_options.h"
#include "tests/standin.h"
#include "tests/support/game_files.h"
#include "tests/support/recording_window.h"

using platform::Status;
using std::string;

static std::vector<string> g_log;              // calls, as a box would name them, and boxes
static std::size_t g_calls = 0, g_refuse = 0;  // calls so far; the one to refuse, from 1
static const char kReason[] = "Access is denied.";

static string Quoted(const string& path) { return "\"" + path.substr(path.rfind('/') + 1) + "\""; }

// Logs a call; true when it is the one to refuse.
static bool Refuse(const string& call) {
    g_log.push_back(call);
    return ++g_calls == g_refuse;
}

#define ZARN_STRING "NSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE"
#define ZARN_COPY "_ZN8platform15CopyFileReplaceERK" ZARN_STRING "S7_RKSt8functionIFvmmEE"
#define ZARN_REMOVE "_ZN8platform10RemoveFileERK" ZARN_STRING
#define ZARN_START "_ZN8platform12StartProgramERK" ZARN_STRING "i"
#define ZARN_WRITE "_ZN7profile11WriteStringERK" ZARN_STRING "S7_S7_S7_"
using platform::CopyProgress;
Status RealCopy(const string&, const string&, const CopyProgress&) __asm__("__real_" ZARN_COPY);
Status RealRemove(const string&) __asm__("__real_" ZARN_REMOVE);
Status RealStart(const string&, int) __asm__("__real_" ZARN_START);
bool RealWrite(const string&, const string&, const string&, const string&)
    __asm__("__real_" ZARN_WRITE);
Status WrapCopy(const string& from, const string& to, const CopyProgress& p)
    __asm__("__wrap_" ZARN_COPY);
Status WrapRemove(const string& path) __asm__("__wrap_" ZARN_REMOVE);
Status WrapStart(const string& path, int show) __asm__("__wrap_" ZARN_START);
bool WrapWrite(const string& section, const string& key, const string& value, const string& path)
    __asm__("__wrap_" ZARN_WRITE);

Status WrapCopy(const string& from, const string& to, const CopyProgress& p) {
    if (Refuse("copy " + Quoted(from) + " to " + Quoted(to))) return Status::Refused(kReason);
    return RealCopy(from, to, p);
}
Status WrapRemove(const string& path) {
    return Refuse("delete " + Quoted(path)) ? Status::Refused(kReason) : RealRemove(path);
}
Status WrapStart(const string& path, int show) {
    return Refuse("start " + Quoted(path)) ? Status::Refused(kReason) : RealStart(path, show);
}
bool WrapWrite(const string& section, const string& key, const string& value, const string& path) {
    if (Refuse("write " + Quoted(path) + " " + section + "/" + key + "=" + value)) return false;
    return RealWrite(section, key, value, path);
}

namespace {

using namespace game_files;


// A button over a folder of a table's names, or Game Options over the game's settings.
struct Command {
    const char* what;
    void (Frm1::*press)();
    std::vector<string> files;
    const char* suffix;
    void (GameOptions::*options)();  // then a refused write is passed over
};

// One run of a command in a fresh folder, call `refuse` refused (0: none), logged.
// Game Options is loaded, then pressed with the boxes as the player typed them.
struct Attempt {
    TempFolder dir{"Red Alert 2"};
    RecordingWindow w;
    Attempt(const Command& c, std::size_t refuse) {
        w.on_message = [this](const string& text) {
            g_log.push_back("box " + text);
            EXPECT_EQ(w.busy_depth, 0) << "shown while busy";
            Started started;  // the stand-in is done before the panel goes on
            if (text == kPatchDone) WaitStarted(dir, "RockPatch.exe", &started);
        };
        g_log.clear();
        g_calls = 0;
        g_refuse = refuse;
        for (const string& name : c.files) dir.Write(name + c.suffix, Data(name));
        if (c.press == &Frm1::Uninstall_Click) PlaceStandIn(dir, "RockPatch.exe");
        if (c.press) {
            Frm1 frm1(w, dir.path());
            (frm1.*c.press)();
        } else {
            dir.Write("RA2MD.ini", "[Audio]\r\nSoundVolume=0.700000\r\n");
            GameOptions options(w, dir.path());
            options.Form_Load();
            for (const char* box : {"Text1", "Text2", "Text3"}) w.texts[box] = "80";
            w.texts["Combo1"] = "1024x768";
            (options.*c.options)();
        }
        g_refuse = 0;
    }
};

TEST(FaultSweep, EveryRefusalLeavesWhatItShould) {
    std::vector<Command> commands = {
        {"Enable", &Frm1::Command2_Click, kModFiles, ".Zarn", nullptr},
        {"Disable", &Frm1::Command3_Click, kModFiles, "", nullptr},
        {"Uninstall", &Frm1::Uninstall_Click, kUninstallFiles, "", nullptr},
        {"Clean", &Frm1::Clean_Click, kCleanFiles, "", nullptr},
        {"Launch", &Frm1::Command1_Click, {"RA2MD.exe"}, "", nullptr},
    };
    for (const GameOptions::Handler& h : GameOptions::kClicks)
        commands.push_back({h.control, nullptr, {}, "", h.run});
    for (const Command& c : commands) {
        SCOPED_TRACE(c.what);
        Attempt whole(c, 0);
        const std::vector<string> log = g_log;
        ASSERT_GT(g_calls, 0u) << "no call seen: are the wrappers linked in?";
        std::size_t at = 0;  // where in the whole log the k-th call is
        for (std::size_t k = 1, n = g_calls; k <= n; ++k, ++at) {
            while (log[at].rfind("box ", 0) == 0) ++at;
            SCOPED_TRACE("refused: " + log[at]);
            Attempt r(c, k);
            for (const string& name : kModFiles)  // every mod file whole in one form
                EXPECT_TRUE(c.files != kModFiles || r.dir.Read(name) == Data(name) ||
                            r.dir.Read(name + ".Zarn") == Data(name))
                    << name;
            if (c.options) {  // no box, the later writes made, the window as after a write
                EXPECT_EQ(g_log, log);
                EXPECT_EQ(r.w.texts, whole.w.texts);
                EXPECT_EQ(r.w.closed, whole.w.closed);
                continue;
            }
            // The whole run's log to the refused call, then a box saying so,
            // with the wait lifted; the panel open, its label as it was.
            std::vector<string> until(log.begin(), log.begin() + at + 1);
            until.push_back("box Could not " + log[at] + ": " + kReason);
            EXPECT_EQ(g_log, until);
            EXPECT_EQ(r.w.busy_depth, 0);
            EXPECT_FALSE(r.w.closed);
            EXPECT_EQ(r.w.texts.count("visual"), 0u) << "label refreshed";
        }
    }
}

}  // namespace
