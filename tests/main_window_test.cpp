// The main window's load step and the layout table it is built from.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "app/layout.h"
#include "panel/frm1.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(Frm1Load, ShowsTheStateOfTheMarkerFile) {
    struct Case {
        const char* what;
        const char* entry;  // null: nothing in the folder
        bool folder, read_only;
        const char* expected;
    } cases[] = {
        {"marker alone", "expandmd81.mix", false, false, "Enabled"},
        {"nothing", nullptr, false, false, "Disabled"},
        {"only the disabled form", "expandmd81.mix.Zarn", false, false, "Disabled"},
        {"marker in capitals", "EXPANDMD81.MIX", false, false, "Enabled"},
        {"folder of that name", "expandmd81.mix", true, false, "Disabled"},
        {"read-only marker", "expandmd81.mix", false, true, "Enabled"},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        if (c.entry && c.folder) dir.MakeFolder(c.entry);
        if (c.entry && !c.folder) dir.Write(c.entry, "x");
        if (c.read_only) dir.SetReadOnly(c.entry);
        RecordingWindow w;
        Frm1 frm1(w, dir.path());
        frm1.Form_Load();
        EXPECT_EQ(w.texts["visual"], c.expected) << c.what;
        EXPECT_TRUE(w.messages.empty()) << c.what;
        EXPECT_FALSE(w.closed) << c.what;
    }
}

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

TEST(Frm1Layout, RowsAreTheMainWindowsControlsInTabOrder) {
    const layout::Form& f = layout::kFrm1;
    EXPECT_STREQ(f.caption, "The Marrowgate: Zeal And Rising Nations!");
    EXPECT_EQ(layout::Pixels(f.client_width, 96), 767);
    EXPECT_EQ(layout::Pixels(f.client_height, 96), 159);
    EXPECT_EQ(layout::Pixels(f.left, 96), 167);
    EXPECT_EQ(layout::Pixels(f.top, 96), 312);

    // Tab order: the focusable rows, in table order.
    std::string order;
    std::set<std::string> names;
    for (std::size_t i = 0; i < f.count; ++i) {
        EXPECT_TRUE(names.insert(f.controls[i].name).second) << "duplicate " << f.controls[i].name;
        if (f.controls[i].tab_stop) order += std::string(f.controls[i].name) + " ";
    }
    EXPECT_EQ(order,
              "Picture2(0) Command5 Command3 Command2 Command1 Picture2(3) Picture2(2) Command4 "
              "Command6 Command7 Uninstall Clean ");
    EXPECT_STREQ(f.focus, "Picture2(0)");
    // No element 1 of the Picture2 array.
    EXPECT_EQ(layout::Find(f, "Picture2(1)"), nullptr);

    // Every handler of the behaviour has a push button of that name.
    for (const Frm1::Handler& h : Frm1::kHandlers) {
        const layout::Control* c = layout::Find(f, h.control);
        ASSERT_NE(c, nullptr) << h.control;
        EXPECT_EQ(c->kind, layout::Kind::kButton) << h.control;
    }
}

TEST(Frm1Layout, PicturesAreExactlyTheSizeOfTheirArtwork) {
    struct Case {
        const char* control;
        int width, height;  // pixels of the picture
    } cases[] = {{"Picture2(0)", 59, 52}, {"Picture2(3)", 43, 43}, {"Picture2(2)", 70, 45},
                 {"Image1", 67, 68},      {"Image2", 574, 133}};
    for (const Case& c : cases) {
        const layout::Control* row = layout::Find(layout::kFrm1, c.control);
        ASSERT_NE(row, nullptr) << c.control;
        EXPECT_EQ(layout::Pixels(row->width, 96), c.width) << c.control;
        EXPECT_EQ(layout::Pixels(row->height, 96), c.height) << c.control;
    }
}

}  // namespace
