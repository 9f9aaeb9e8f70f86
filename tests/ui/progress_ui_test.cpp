// A Disable long enough to show its progress on the task bar button runs to
// its end under Wine, which has no task bar of that kind: the files move
// byte for byte, no message comes and the panel runs on. (What the button
// shows is decided in the core, tested natively with a recording task bar.)
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/support/game_files.h"
#include "tests/ui/panel_process.h"

namespace {

TEST(ProgressUi, ALongDisableEndsWhereTheTaskbarHasNoProgress) {
    TempFolder folder;
    const char* big[] = {"ecachemd80.mix", "expandmd80.mix", "expandmd81.mix"};
    for (const char* name : big) folder.Write(name, game_files::Data(name, 48u << 20));
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    ASSERT_EQ(WindowText(panel.Main("visual")), "Enabled");
    PanelProcess::Click(panel.Main("Command3"));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(panel.Main("visual")) == "Disabled"; }, 60000));
    EXPECT_EQ(panel.WaitForMessageBox(0).hwnd, nullptr);
    EXPECT_TRUE(panel.Running());
    for (const char* name : big) {
        EXPECT_EQ(folder.Read(name), "") << name;
        EXPECT_TRUE(folder.Read(std::string(name) + ".Zarn") == game_files::Data(name, 48u << 20))
            << name;
    }
}

}  // namespace
