// Progress of Enable and Disable on the task bar button, recorded, with a
// clock the test moves: nothing within half a second; past it, the bytes
// copied against the command's total, cleared when the command ends or stops.
#include <gtest/gtest.h>

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
// that moves 200 ms a reading: Enable whole, and Disable stopped by a
// read-only entry 4, its button cleared before its message.
TEST(Progress, EnableAndDisableShowTheBytesOfTheCommand) {
    for (bool enable : {true, false}) {
        SCOPED_TRACE(enable);
        TempFolder dir;
        std::uint64_t total = 0;
        for (std::size_t i = 0; i < kModFiles.size(); ++i) {
            std::string data = game_files::Data(kModFiles[i], 1000 + 100 * i);
            dir.Write(enable ? kModFiles[i] + ".Zarn" : kModFiles[i], data);
            total += data.size();
        }
        if (!enable) dir.SetReadOnly(kModFiles[3]);
        RecordingWindow w;
        Taskbar taskbar;
        std::vector<std::string> at_message;
        w.on_message = [&](const std::string&) { at_message = taskbar.calls; };
        std::uint64_t now = 1000;
        Frm1 frm1(w, dir.path(), &taskbar, [&now] { return now += 200; });
        enable ? frm1.Command2_Click() : frm1.Command3_Click();
        ASSERT_GE(taskbar.calls.size(), 2u);
        EXPECT_EQ(taskbar.calls.back(), "clear");
        EXPECT_EQ(at_message, enable ? std::vector<std::string>() : taskbar.calls);
        std::string of = "/" + std::to_string(total);
        // the last shown: all, or the four entries copied before the refusal
        EXPECT_EQ(taskbar.calls.end()[-2], std::to_string(enable ? total : 4600) + of);
        std::uint64_t last = 0;
        for (std::size_t i = 0; i + 1 < taskbar.calls.size(); ++i) {
            const std::string& call = taskbar.calls[i];
            EXPECT_GE(std::stoull(call), last) << "goes back at call " << i;
            EXPECT_EQ(call.substr(call.find('/')), of);
            last = std::stoull(call);
        }
    }
}

}  // namespace
