// Progress of Enable and Disable on the task bar button, through a recording
// stand-in for the task bar and a clock the test moves: nothing for a command
// that ends within half a second; past that, the bytes copied against the
// command's total, cleared when the command ends or stops at a refusal.
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

// Every call, in order: "done/total", or "clear".
struct RecordingTaskbar : ui::Taskbar {
    std::vector<std::string> calls;
    void SetProgress(std::uint64_t done, std::uint64_t total) override {
        calls.push_back(std::to_string(done) + "/" + std::to_string(total));
    }
    void ClearProgress() override { calls.push_back("clear"); }
};

// A clock that moves on by `step` ms each time it is read.
Progress::Clock Ticking(std::uint64_t step) {
    auto now = std::make_shared<std::uint64_t>(1000);
    return [now, step] { return *now += step; };
}

// The decision alone: each step is a call with the clock at a given time.
TEST(Progress, ShowsPastHalfASecondAndClearsAtTheEnd) {
    enum Op { kCopied, kFileDone, kEnd };
    struct Step {
        Op op;
        std::uint64_t at;     // the clock's reading for this step
        std::uint64_t bytes;  // copied of the current file, or the file's size
    };
    struct Case {
        const char* what;
        std::uint64_t total;
        std::vector<Step> steps;
        std::vector<std::string> calls;
    } cases[] = {
        {"ends within half a second", 300,
         {{kCopied, 100, 100}, {kFileDone, 100, 100}, {kCopied, 499, 200}, {kEnd, 499, 0}},
         {}},
        {"shows from the first report at half a second", 300,
         {{kCopied, 100, 100}, {kFileDone, 100, 100}, {kCopied, 500, 50}, {kCopied, 800, 200},
          {kFileDone, 800, 200}, {kEnd, 900, 0}},
         {"150/300", "300/300", "clear"}},
        {"a refusal ends it; nothing after", 300,
         {{kCopied, 600, 100}, {kEnd, 600, 0}, {kCopied, 700, 150}, {kEnd, 800, 0}},
         {"100/300", "clear"}},
        {"never beyond the total", 100,
         {{kCopied, 600, 100}, {kFileDone, 600, 100}, {kCopied, 700, 50}, {kEnd, 800, 0}},
         {"100/100", "100/100", "clear"}},
        {"nothing to copy", 0, {{kCopied, 900, 0}, {kEnd, 900, 0}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingTaskbar taskbar;
        std::uint64_t now = 0;
        {
            Progress p(&taskbar, [&now] { return now; }, c.total);
            for (const Step& s : c.steps) {
                now = s.at;
                if (s.op == kCopied) p.Copied(s.bytes);
                if (s.op == kFileDone) p.FileDone(s.bytes);
                if (s.op == kEnd) p.End();
            }
        }
        EXPECT_EQ(taskbar.calls, c.calls);
    }
}

// The real commands in a real folder: the ten files, of sizes that differ,
// moved with a clock that moves 200 ms per reading.
TEST(Progress, EnableAndDisableShowTheBytesOfTheCommand) {
    for (bool enable : {true, false}) {
        for (std::uint64_t step : {0u, 200u}) {
            SCOPED_TRACE(std::string(enable ? "Enable" : "Disable") + ", ms per reading " +
                         std::to_string(step));
            TempFolder dir;
            std::uint64_t total = 0;
            for (std::size_t i = 0; i < kModFiles.size(); ++i) {
                std::string data = game_files::Data(kModFiles[i], 1000 + 100 * i);
                dir.Write(enable ? kModFiles[i] + ".Zarn" : kModFiles[i], data);
                total += data.size();
            }
            dir.Write(enable ? "RA2MD.ini" : "RA2MD.ini.Zarn", "not moved");
            RecordingWindow w;
            RecordingTaskbar taskbar;
            Frm1 frm1(w, dir.path(), &taskbar, Ticking(step));
            enable ? frm1.Command2_Click() : frm1.Command3_Click();
            EXPECT_EQ(w.texts["visual"], enable ? "Enabled" : "Disabled");
            if (step == 0) {
                EXPECT_TRUE(taskbar.calls.empty()) << "a command of no time shows nothing";
                continue;
            }
            ASSERT_GE(taskbar.calls.size(), 2u);
            EXPECT_EQ(taskbar.calls.back(), "clear");
            EXPECT_EQ(taskbar.calls[taskbar.calls.size() - 2],
                      std::to_string(total) + "/" + std::to_string(total));
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
}

// A refused delete stops Disable at entry 4: the button is cleared before the
// message that names the refusal, and shows nothing more.
TEST(Progress, ARefusalClearsTheButtonBeforeItsMessage) {
    TempFolder dir;
    for (const std::string& name : kModFiles) dir.Write(name, game_files::Data(name));
    dir.SetReadOnly(kModFiles[3]);
    RecordingWindow w;
    RecordingTaskbar taskbar;
    std::vector<std::string> at_message;
    w.on_message = [&](const std::string&) { at_message = taskbar.calls; };
    Frm1 frm1(w, dir.path(), &taskbar, Ticking(200));
    frm1.Command3_Click();
    ASSERT_EQ(w.messages.size(), 1u);
    ASSERT_FALSE(at_message.empty());
    EXPECT_EQ(at_message.back(), "clear");
    EXPECT_EQ(taskbar.calls, at_message);
    dir.SetReadOnly(kModFiles[3], false);
}

}  // namespace
