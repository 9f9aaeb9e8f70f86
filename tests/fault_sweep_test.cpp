// Every command against every refusal the system could give: each runs once over a real
// game folder, logging its copies, deletes, program starts and settings writes (n) and its
// boxes, then n times, call k refused. The core is handed the real services wrapped in
// Refusing, which refuses the k-th of those calls and hands every other call to the real
// service. Existence tests, sizes, reads and the facts about a refusal are answers, never
// refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/frm1.h"
#include "settings/game_options.h"
#include "tests/standin.h"
#include "tests/support/game_files.h"
#include "tests/support/recording_window.h"
#include "tests/support/services.h"

using platform::Status;
using std::string;

namespace {

using namespace game_files;

const char kReason[] = "Access is denied.";

string Quoted(const string& path) { return "\"" + path.substr(path.find_last_of("/\\") + 1) + "\""; }

// The real services with the k-th copy, delete, program start or settings write refused:
// every such call is logged as a box would name it, then refused or handed on.
class Refusing : public platform::Files, public platform::Programs, public platform::SettingsFile {
public:
    std::vector<string>* log;
    std::size_t calls = 0, refuse = 0;  // calls so far; the one to refuse, from 1 (0: none)

    explicit Refusing(std::vector<string>* l) : log(l) {}

    bool FileExists(const string& path) override { return files_.FileExists(path); }
    std::uint64_t FileSize(const string& path) override { return files_.FileSize(path); }
    platform::RefusalFacts FactsAbout(const Status& refused) override {
        return files_.FactsAbout(refused);
    }
    Status CopyFileReplace(const string& from, const string& to,
                           const platform::CopyProgress& p) override {
        if (Refuse("copy " + Quoted(from) + " to " + Quoted(to))) return Status::Refused(kReason);
        return files_.CopyFileReplace(from, to, p);
    }
    Status RemoveFile(const string& path) override {
        return Refuse("delete " + Quoted(path)) ? Status::Refused(kReason) : files_.RemoveFile(path);
    }
    Status StartProgram(const string& path, int show) override {
        return Refuse("start " + Quoted(path)) ? Status::Refused(kReason)
                                                : programs_.StartProgram(path, show);
    }
    unsigned ReadString(const string& section, const string& key, const string& fallback,
                        char* buffer, unsigned capacity, const string& path) override {
        return settings_.ReadString(section, key, fallback, buffer, capacity, path);
    }
    bool WriteString(const string& section, const string& key, const string& value,
                     const string& path) override {
        if (Refuse("write " + Quoted(path) + " " + section + "/" + key + "=" + value)) return false;
        return settings_.WriteString(section, key, value, path);
    }

private:
    // Logs a call; true when it is the one to refuse.
    bool Refuse(const string& call) {
        log->push_back(call);
        return ++calls == refuse;
    }
    platform::SystemFiles files_;
    platform::SystemPrograms programs_;
    platform::SystemSettingsFile settings_;
};

// A button over a folder of a table's names, or Game Options over the game's settings.
struct Command {
    const char* what;
    void (core::Frm1::*press)();
    std::vector<string> files;
    const char* suffix;
    void (core::GameOptions::*options)();  // then a refused write is passed over
};

// One run of a command in a fresh folder, call `refuse` refused (0: none), logged.
// Game Options is loaded, then pressed with the boxes as the player typed them.
struct Attempt {
    TempFolder dir{"Red Alert 2"};
    RecordingWindow w;
    std::vector<string> log;  // calls, as a box would name them, and boxes
    Refusing refusing{&log};
    Attempt(const Command& c, std::size_t refuse) {
        w.on_message = [this](const string& text) {
            log.push_back("box " + text);
            EXPECT_EQ(w.busy_depth, 0) << "shown while busy";
            Started started;  // the stand-in is done before the panel goes on
            if (text == kPatchDone && WaitStarted(dir, "RockPatch.exe", &started))
                WaitEnded("RockPatch.exe");
        };
        refusing.refuse = refuse;
        for (const string& name : c.files) dir.Write(name + c.suffix, Data(name));
        if (c.press == &core::Frm1::Uninstall_Click) PlaceStandIn(dir, "RockPatch.exe");
        GameFolder folder(dir.path());
        platform::SteadyClock clock;
        platform::UseSettingsFile use(refusing);
        if (c.press) {
            core::Frm1 frm1(w, folder, refusing, refusing, nullptr, clock);
            (frm1.*c.press)();
        } else {
            dir.Write("RA2MD.ini", "[Audio]\r\nSoundVolume=0.700000\r\n");
            core::GameOptions options(w, folder);
            options.Form_Load();
            for (const char* box : {"Text1", "Text2", "Text3"}) w.texts[box] = "80";
            w.texts["Combo1"] = "1024x768";
            (options.*c.options)();
        }
    }
};

TEST(FaultSweep, EveryRefusalLeavesWhatItShould) {
    std::vector<Command> commands = {
        {"Enable", &core::Frm1::Command2_Click, kModFiles, ".Zarn", nullptr},
        {"Disable", &core::Frm1::Command3_Click, kModFiles, "", nullptr},
        {"Uninstall", &core::Frm1::Uninstall_Click, kUninstallFiles, "", nullptr},
        {"Clean", &core::Frm1::Clean_Click, kCleanFiles, "", nullptr},
        {"Launch", &core::Frm1::Command1_Click, {"RA2MD.exe"}, "", nullptr},
    };
    for (const core::GameOptions::Handler& h : core::GameOptions::kClicks)
        commands.push_back({h.control, nullptr, {}, "", h.run});
    for (const Command& c : commands) {
        SCOPED_TRACE(c.what);
        Attempt whole(c, 0);
        const std::vector<string>& log = whole.log;
        ASSERT_GT(whole.refusing.calls, 0u) << "no call seen";
        std::size_t at = 0;  // where in the whole log the k-th call is
        for (std::size_t k = 1, n = whole.refusing.calls; k <= n; ++k, ++at) {
            while (log[at].rfind("box ", 0) == 0) ++at;
            SCOPED_TRACE("refused: " + log[at]);
            Attempt r(c, k);
            for (const string& name : kModFiles)  // every mod file whole in one form
                EXPECT_TRUE(c.files != kModFiles || r.dir.Read(name) == Data(name) ||
                            r.dir.Read(name + ".Zarn") == Data(name))
                    << name;
            if (c.options) {  // no box, the later writes made, the window as after a write
                EXPECT_EQ(r.log, log);
                EXPECT_EQ(r.w.texts, whole.w.texts);
                EXPECT_EQ(r.w.closed, whole.w.closed);
                continue;
            }
            // The whole run's log to the refused call, then a box saying so,
            // with the wait lifted; the panel open, its label as it was.
            std::vector<string> until(log.begin(), log.begin() + at + 1);
            until.push_back("box Could not " + log[at] + ": " + kReason);
            EXPECT_EQ(r.log, until);
            EXPECT_EQ(r.w.busy_depth, 0);
            EXPECT_FALSE(r.w.closed);
            EXPECT_EQ(r.w.texts.count("visual"), 0u) << "label refreshed";
        }
    }
}

}  // namespace
