// The three modal windows' layout tables: tab order, focus, sizes, the
// handlers' controls, and the published texts.
#include <gtest/gtest.h>

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

TEST(DialogLayouts, TextsAreAsPublished) {
    const char kHelpText[] =
        "Marrowgate : Zeal and Rising Nations is a Mod for Yuri's Revenge, the mission \r\n"
        "CD for Red Alert 2.\r\n"
        "this mod is known as a partial addition mod because not only does it improve \r\n"
        "the existing sides but it also adds a whole new side, M:ZARN to Yuri's revenge \r\n"
        "is like yuri's revenge to RA2\r\n"
        "In this version of the mod, the CDA side is almost completey functional, \r\n"
        "although there is plenty of graphics work to be added. the CDA AI needs a lot \r\n"
        "of work, so avoid an AI controled CDA side in this release.\r\n"
        "also the sound plugin is on its way to completion, there is no delivery system for \r\n"
        "this plug in as of yet, so you will need to either add it manually or install it \r\n"
        "following the instuctions very carefully\r\n"
        "this mod is created by Marrowgate and ZDev, with help from others!\r\n";
    struct Case {
        const layout::Form& form;
        const char* name;
        const char* text;
    } cases[] = {
        {layout::kAbout, "Label1", "The Marrowgate:The Zeal And Rising Nations. "},
        {layout::kAbout, "Label2", "Mod Created By:   Marrowgate (The ZARN Team)"},
        {layout::kAbout, "Label3", "ZDev (The ZARN Team)"},
        {layout::kAbout, "Label4", "Contorl Pannel Created By: ZDev "},
        {layout::kAbout, "Label6", "v 2.1"},
        {layout::kAbout, "Command1", "Ok"},
        {layout::kHelp, "Text1", kHelpText},
        {layout::kHelp, "Command1", "&Close Help"},
        {layout::kGameOptions, "Combo1", "1280x1024|1024x768|800x600|640x480"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Caption(c.form, c.name), c.text) << c.form.name << " " << c.name;
}

}  // namespace
