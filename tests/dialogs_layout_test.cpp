// The three modal windows' layout tables: tab order, focus, sizes, the
// handlers' controls, and the About and Help texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>

#include "app/layout.h"
#include "settings/game_options.h"

namespace {

std::string Caption(const layout::Form& f, const char* name) {
    const layout::Control* c = layout::Find(f, name);
    return c ? c->caption : "(missing)";
}

TEST(DialogLayouts, FramesTabOrderAndFocus) {
    struct Case {
        const layout::Form& form;
        const char* caption;
        int width_px, height_px;  // client area at 96 dpi
        int left_px, top_px;      // client origin, -1: placed by the system
        layout::Frame frame;
        const char* tab_order;
        const char* focus;
    } cases[] = {
        {layout::kGameOptions, "Game Options", 256, 218, -1, -1, layout::Frame::kFixedSingle,
         "EVBBo EVSo NAo EHRo EVBB EVS NA EHR HScroll1 Text1 HScroll2 HScroll3 Text2 Text3 "
         "Combo1 Command1 ",
         "EVBBo"},
        {layout::kAbout, "About ZARN", 358, 83, 25, 140, layout::Frame::kFixedSingle, "Command1 ",
         "Command1"},
        {layout::kHelp, "Mod Help", 720, 430, 379, 386, layout::Frame::kFixedDialog,
         "Text1 Command1 ", "Text1"},
    };
    for (const Case& c : cases) {
        const layout::Form& f = c.form;
        SCOPED_TRACE(f.name);
        EXPECT_STREQ(f.caption, c.caption);
        EXPECT_EQ(layout::Pixels(f.client_width, 96), c.width_px);
        EXPECT_EQ(layout::Pixels(f.client_height, 96), c.height_px);
        EXPECT_EQ(f.left == layout::kSystemPlaced ? -1 : layout::Pixels(f.left, 96), c.left_px);
        EXPECT_EQ(f.top == layout::kSystemPlaced ? -1 : layout::Pixels(f.top, 96), c.top_px);
        EXPECT_EQ(f.frame, c.frame);
        EXPECT_FALSE(f.icon) << "no icon of its own";
        std::string order;
        std::set<std::string> names;
        for (std::size_t i = 0; i < f.count; ++i) {
            EXPECT_TRUE(names.insert(f.controls[i].name).second) << "duplicate " << f.controls[i].name;
            if (f.controls[i].tab_stop) order += std::string(f.controls[i].name) + " ";
        }
        EXPECT_EQ(order, c.tab_order);
        EXPECT_STREQ(f.focus, c.focus);
    }
}

TEST(DialogLayouts, EveryGameOptionsHandlerHasItsControl) {
    struct Case {
        const GameOptions::Handler* table;
        std::size_t count;
        layout::Kind kind;
    } cases[] = {
        {GameOptions::kClicks, sizeof GameOptions::kClicks / sizeof GameOptions::kClicks[0],
         layout::Kind::kButton},
        {GameOptions::kChanges, sizeof GameOptions::kChanges / sizeof GameOptions::kChanges[0],
         layout::Kind::kScrollBar},
    };
    std::size_t handled = 0;
    for (const Case& c : cases) {
        for (std::size_t i = 0; i < c.count; ++i) {
            const layout::Control* row = layout::Find(layout::kGameOptions, c.table[i].control);
            ASSERT_NE(row, nullptr) << c.table[i].control;
            EXPECT_EQ(row->kind, c.kind) << c.table[i].control;
        }
        handled += c.count;
    }
    // And every button and scroll bar of the dialog has a handler.
    std::size_t active = 0;
    for (std::size_t i = 0; i < layout::kGameOptions.count; ++i) {
        layout::Kind k = layout::kGameOptions.controls[i].kind;
        active += k == layout::Kind::kButton || k == layout::Kind::kScrollBar;
    }
    EXPECT_EQ(handled, active);
}

TEST(DialogLayouts, AboutCreditsAndTheHelpTextAgree) {
    const layout::Form& about = layout::kAbout;
    EXPECT_EQ(Caption(about, "Label1"), "The Marrowgate:The Zeal And Rising Nations. ");
    EXPECT_EQ(Caption(about, "Label6"), "v 2.1");
    EXPECT_EQ(Caption(about, "Command1"), "Ok");

    // "Mod Created By:", three spaces, the handle, a space, "(name)".
    std::string mod = Caption(about, "Label2");
    const std::string kModPrefix = "Mod Created By:   ";
    ASSERT_EQ(mod.compare(0, kModPrefix.size(), kModPrefix), 0) << mod;
    std::string mod_handle = mod.substr(kModPrefix.size(), mod.find(" (") - kModPrefix.size());
    EXPECT_FALSE(mod_handle.empty());
    EXPECT_EQ(mod.back(), ')');

    // The panel's author: "handle (name)" and "Contorl Pannel Created By: handle ".
    std::string panel = Caption(about, "Label3");
    std::string panel_handle = panel.substr(0, panel.find(" ("));
    EXPECT_EQ(panel.back(), ')');
    EXPECT_EQ(Caption(about, "Label4"), "Contorl Pannel Created By: " + panel_handle + " ");

    std::string help = Caption(layout::kHelp, "Text1");
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = help.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    EXPECT_EQ(lines, 12u);
    EXPECT_EQ(std::count(help.begin(), help.end(), '\n'), 12) << "only CR LF breaks";
    EXPECT_EQ(std::count(help.begin(), help.end(), '\r'), 12) << "only CR LF breaks";
    EXPECT_EQ(help.rfind("Marrowgate : Zeal and Rising Nations is a Mod for Yuri's Revenge, the "
                         "mission \r\n",
                         0),
              0u);
    std::string last = "this mod is created by " + mod_handle + " and " + panel_handle +
                       ", with help from others!\r\n";
    ASSERT_GE(help.size(), last.size());
    EXPECT_EQ(help.substr(help.size() - last.size()), last);
    EXPECT_EQ(Caption(layout::kHelp, "Command1"), "&Close Help");
}

}  // namespace
