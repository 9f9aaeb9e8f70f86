// Every command against every refusal the system could give it: each runs
// once over a real game folder to log its copies, deletes, program starts,
// settings writes (n) and message boxes, then n times more, the k-th time
// with call k refused (not made). A file command must then stop there with a
// box that names the file; a settings write must be passed over silently.
// Existence tests are never refused: a missing file is an answer. Launch's
// one start is refused in commands_test.cpp. The calls reach the real POSIX
// layer through link-time wrappers (-Wl,--wrap, see tests/CMakeLists.txt).
#include <gtest/gtest.h>

#include <functional>
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

using platform::Status;
using std::string;

namespace {
std::vector<string> g_log;                  // calls, by leaf names, and boxes ("box ...")
std::vector<std::vector<string>> g_writes;  // section, key and value of each write made
std::size_t g_calls = 0, g_refuse = 0;      // calls so far; the one to refuse, from 1
const char kReason[] = "Access is denied.";

string Leaf(const string& path) { return path.substr(path.rfind('/') + 1); }

// Logs a call; true when it is the one to refuse.
bool Refuse(const string& call) {
    g_log.push_back(call);
    return ++g_calls == g_refuse;
}
}  // namespace

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
    if (Refuse("copy " + Leaf(from) + " " + Leaf(to))) return Status::Refused(kReason);
    return RealCopy(from, to, p);
}
Status WrapRemove(const string& path) {
    return Refuse("delete " + Leaf(path)) ? Status::Refused(kReason) : RealRemove(path);
}
Status WrapStart(const string& path, int show) {
    return Refuse("start " + Leaf(path)) ? Status::Refused(kReason) : RealStart(path, show);
}
bool WrapWrite(const string& section, const string& key, const string& value, const string& path) {
    if (Refuse("write " + Leaf(path) + " " + section + "/" + key + "=" + value)) return false;
    g_writes.push_back({section, key, value});
    return RealWrite(section, key, value, path);
}

namespace {

using namespace game_files;

const char kUntouched[] = "(as loaded)";
const char kGameIni[] = "[Audio]\r\nSoundVolume=0.700000\r\n[Video]\r\nAllowHiResModes=no\r\n";

// One run of one command in a fresh folder, its boxes logged.
struct Attempt {
    TempFolder dir{"Red Alert 2"};
    RecordingWindow w;
    std::vector<string> log;
    Attempt() {
        w.texts["visual"] = kUntouched;
        w.on_message = [this](const string& text) {
            g_log.push_back("box " + text);
            Started started;  // the stand-in is done before the panel goes on
            if (text == kPatchDone) WaitStarted(dir, "RockPatch.exe", &started);
        };
    }
};

void Fill(const TempFolder& dir, const std::vector<string>& names, const char* suffix = "") {
    for (const string& name : names) dir.Write(name + suffix, Data(name));
}

// Game Options over the game's file, loaded, then `click` with the boxes as
// the player typed them.
void PressOptions(Attempt& r, void (GameOptions::*click)()) {
    r.dir.Write("RA2MD.ini", kGameIni);
    GameOptions options(r.w, r.dir.path());
    options.Form_Load();
    r.w.texts["Text1"] = "80";
    r.w.texts["Text2"] = "5";
    r.w.texts["Text3"] = "100";
    r.w.texts["Combo1"] = "1024x768";
    (options.*click)();
}

struct Command {
    const char* what;
    std::function<void(Attempt&)> run;  // fills the folder and presses
    enum { kMoves, kDeletes, kWrites } kind;  // a refused write is passed over
};

std::vector<Command> Commands() {
    auto press = [](const std::vector<string>& names, const char* suffix, void (Frm1::*click)()) {
        return [=](Attempt& r) {
            Fill(r.dir, names, suffix);
            if (click == &Frm1::Uninstall_Click) PlaceStandIn(r.dir, "RockPatch.exe");
            Frm1 frm1(r.w, r.dir.path());
            (frm1.*click)();
        };
    };
    std::vector<Command> commands = {
        {"Enable", press(kModFiles, ".Zarn", &Frm1::Command2_Click), Command::kMoves},
        {"Disable", press(kModFiles, "", &Frm1::Command3_Click), Command::kMoves},
        {"Uninstall", press(kUninstallFiles, "", &Frm1::Uninstall_Click), Command::kDeletes},
        {"Clean", press(kCleanFiles, "", &Frm1::Clean_Click), Command::kDeletes},
    };
    for (const GameOptions::Handler& h : GameOptions::kClicks) {
        auto click = h.run;
        commands.push_back(
            {h.control, [click](Attempt& r) { PressOptions(r, click); }, Command::kWrites});
    }
    return commands;
}

// Runs `c` with call `refuse` refused (0: none).
void RunWith(const Command& c, std::size_t refuse, Attempt& r) {
    g_log.clear();
    g_writes.clear();
    g_calls = 0;
    g_refuse = refuse;
    c.run(r);
    r.log = g_log;
    g_refuse = 0;
}

TEST(FaultSweep, EveryRefusalLeavesWhatItShould) {
    for (const Command& c : Commands()) {
        SCOPED_TRACE(c.what);
        Attempt whole;
        RunWith(c, 0, whole);
        ASSERT_GT(g_calls, 0u) << "no call seen: are the wrappers linked in?";
        std::size_t at = 0;  // where in the whole log the k-th call is
        for (std::size_t k = 1, n = g_calls; k <= n; ++k, ++at) {
            while (whole.log[at].rfind("box ", 0) == 0) ++at;
            SCOPED_TRACE("refused: " + whole.log[at]);
            Attempt r;
            RunWith(c, k, r);
            for (const string& name : kModFiles)  // every mod file whole in one form
                EXPECT_TRUE(c.kind != Command::kMoves || r.dir.Read(name) == Data(name) ||
                            r.dir.Read(name + ".Zarn") == Data(name))
                    << name;
            if (c.kind == Command::kWrites) {  // no box; window and file as after the other writes
                EXPECT_EQ(r.log, whole.log);
                EXPECT_EQ(r.w.texts, whole.w.texts);
                EXPECT_EQ(r.w.closed, whole.w.closed);
                TempFolder other;
                other.Write("RA2MD.ini", kGameIni);
                for (auto& w : g_writes) RealWrite(w[0], w[1], w[2], other.File("RA2MD.ini"));
                EXPECT_EQ(r.dir.Read("RA2MD.ini"), other.Read("RA2MD.ini"));
                continue;
            }
            // The whole run's log to the refused call, then a box naming its
            // file, with the wait lifted; the panel open, its label as it was.
            std::vector<string> until(whole.log.begin(), whole.log.begin() + at + 1);
            string file = whole.log[at].substr(whole.log[at].find(' ') + 1);
            file = "\"" + file.substr(0, file.find(' ')) + "\"";
            ASSERT_EQ(r.log.size(), until.size() + 1);
            EXPECT_EQ(std::vector<string>(r.log.begin(), r.log.end() - 1), until);
            EXPECT_EQ(r.log.back().rfind("box Could not ", 0), 0u) << r.log.back();
            EXPECT_NE(r.log.back().find(file), string::npos) << r.log.back();
            EXPECT_NE(r.log.back().find(kReason), string::npos) << r.log.back();
            EXPECT_EQ(r.w.busy_at_message, std::vector<int>(r.w.messages.size(), 0));
            EXPECT_EQ(r.w.busy_depth, 0);
            EXPECT_FALSE(r.w.closed);
            EXPECT_EQ(r.w.texts.at("visual"), kUntouched);
        }
    }
}

}  // namespace
