// The main window's Exit, and the buttons that open windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/frm1.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(Frm1Exit, ClosesWithoutAQuestionAndTouchesNoFile) {
    TempFolder dir;
    dir.Write("expandmd81.mix", "x");
    RecordingWindow w;
    Frm1 frm1(w, dir.path());
    frm1.Command5_Click();
    EXPECT_TRUE(w.closed);
    EXPECT_TRUE(w.messages.empty());
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"expandmd81.mix"});
}

TEST(Frm1Windows, InfoHelpAndGameOptionsOpenTheirWindows) {
    struct Case {
        const char* what;
        void (Frm1::*press)();
        bool settings_file;
        std::vector<ui::Form> opened;
        std::vector<std::string> messages;
    } cases[] = {
        {"Info", &Frm1::Command4_Click, false, {ui::Form::kAbout}, {}},
        {"Help", &Frm1::Command6_Click, false, {ui::Form::kHelp}, {}},
        {"Game Options", &Frm1::Command7_Click, true, {ui::Form::kGameOptions}, {}},
        {"Game Options without RA2MD.ini", &Frm1::Command7_Click, false, {},
         {"Please Place Controll Panal Exe into Yr Folder"}},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        if (c.settings_file) dir.Write("ra2md.INI", "[Audio]\r\n");
        RecordingWindow w;
        Frm1 frm1(w, dir.path());
        (frm1.*c.press)();
        EXPECT_EQ(w.opened, c.opened) << c.what;
        EXPECT_EQ(w.messages, c.messages) << c.what;
        EXPECT_FALSE(w.closed) << c.what;
    }
}

}  // namespace
