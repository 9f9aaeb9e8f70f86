// Progress of Enable and Disable on the task bar button, recorded, with a
// clock the test moves: nothing within half a second; past it, the bytes
// copied against the command's total, cleared when the command ends or stops.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "panel/frm1.h"
#include "panel/progress.h"
#include "tests/support/game_files.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace {

using game_files::kModFiles;

struct Taskbar : ui::Taskbar {  // every call: "done/total" or "clear"
    std::vector<std::string> calls;
    void SetProgress(std::uint64_t done, std::uint64_t total) override {
        calls.push_back(std::to_string(done) + "/" + std::to_string(total));
    }
    void ClearProgress() override { calls.push_back("clear"); }
};

// The decision at its edges: each step is "c" (copied), "f" (file done) or
// "e" (end), with the clock's reading and the bytes.
TEST(Progress, ShowsFromHalfASecondNeverBeyondTheTotalAndNothingAfterTheEnd) {
    struct Step {
        char op;
        std::uint64_t at, bytes;
    };
    struct Case {
        std::uint64_t total;
        std::vector<Step> steps;
        std::vector<std::string> calls;
    } cases[] = {
        {300, {{'c', 100, 100}, {'f', 100, 100}, {'c', 499, 200}, {'e', 499, 0}}, {}},
        {300, {{'c', 100, 100}, {'f', 100, 100}, {'c', 500, 50}, {'c', 800, 200},
          {'f', 800, 200}, {'e', 900, 0}},
         {"150/300", "300/300", "clear"}},
        {100, {{'c', 600, 100}, {'f', 600, 100}, {'c', 700, 50}, {'e', 800, 0}, {'c', 900, 9}},
         {"100/100", "100/100", "clear"}},
        {0, {{'c', 900, 0}, {'e', 900, 0}}, {}},
    };
    for (const Case& c : cases) {
        Taskbar taskbar;
        std::uint64_t now = 0;
        {
            Progress p(&taskbar, [&now] { return now; }, c.total);
            for (const Step& s : c.steps) {
                now = s.at;
                s.op == 'c' ? p.Copied(s.bytes) : s.op == 'f' ? p.FileDone(s.bytes) : p.End();
            }
        }
        EXPECT_EQ(taskbar.calls, c.calls) << c.steps.size() << " steps";
    }
}

// The real commands over the ten files, of sizes that differ, with a clock
// that moves 0 or 200 ms a reading; a read-only entry 4 stops Disable, and
// the button is cleared before its message.
TEST(Progress, EnableAndDisableShowTheBytesOfTheCommand) {
    for (int run = 0; run < 5; ++run) {
        bool enable = run < 2, refused = run == 4;
        std::uint64_t step = run % 2 ? 0 : 200;
        SCOPED_TRACE(run);
        TempFolder dir;
        std::uint64_t total = 0;
        for (std::size_t i = 0; i < kModFiles.size(); ++i) {
            std::string data = game_files::Data(kModFiles[i], 1000 + 100 * i);
            dir.Write(enable ? kModFiles[i] + ".Zarn" : kModFiles[i], data);
            total += data.size();
        }
        dir.Write(enable ? "RA2MD.ini" : "RA2MD.ini.Zarn", "not moved");
        if (refused) dir.SetReadOnly(kModFiles[3]);
        RecordingWindow w;
        Taskbar taskbar;
        std::vector<std::string> at_message;
        w.on_message = [&](const std::string&) { at_message = taskbar.calls; };
        auto now = std::make_shared<std::uint64_t>(1000);
        Frm1 frm1(w, dir.path(), &taskbar, [now, step] { return *now += step; });
        enable ? frm1.Command2_Click() : frm1.Command3_Click();
        if (refused) dir.SetReadOnly(kModFiles[3], false);
        if (step == 0) {
            EXPECT_TRUE(taskbar.calls.empty()) << "a command of no time shows nothing";
            continue;
        }
        ASSERT_GE(taskbar.calls.size(), 2u);
        EXPECT_EQ(taskbar.calls.back(), "clear");
        EXPECT_EQ(w.messages.size(), refused ? 1u : 0u);
        EXPECT_EQ(at_message, refused ? taskbar.calls : std::vector<std::string>());
        if (!refused)
            EXPECT_EQ(taskbar.calls.end()[-2], std::to_string(total) + "/" + std::to_string(total));
        std::uint64_t last = 0;
        for (std::size_t i = 0; i + 1 < taskbar.calls.size(); ++i) {
            const std::string& call = taskbar.calls[i];
            std::uint64_t done = std::stoull(call.substr(0, call.find('/')));
            EXPECT_GE(done, last) << "goes back at call " << i;
            EXPECT_EQ(call.substr(call.find('/') + 1), std::to_string(total));
            last = done;
        }
    }
}

}  // namespace
