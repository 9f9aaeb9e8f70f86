// The layout tables: the modal windows' frames, tab order, focus, handlers'
// controls and texts, and every window's control places, each checked once
// against the published values. The UI tests check the realised windows
// against these tables.
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

// A place typed wrong in a table would show consistently in the realised
// window; only this comparison catches it.
TEST(WindowLayouts, EveryControlIsPlacedAsPublished) {
    struct Case {
        const layout::Form& form;
        const char* rows;  // name left top width height, in twips
    } cases[] = {
        {layout::kFrm1,
         "Picture2(0) 120 0 885 780, Command5 10200 2040 1335 375, "
         "Command3 2160 2040 975 375, Command2 0 2040 975 375, Command1 3120 2040 4095 375, "
         "Picture2(3) 9840 1080 645 645, Picture2(2) 0 960 1050 675, "
         "visual 960 2040 1215 375, Command4 9360 2040 855 375, Command6 8400 2040 975 375, "
         "Command7 7200 2040 1215 375, Uninstall 10800 0 735 255, Clean 10800 480 735 255, "
         "Label1 10800 240 765 255, Label2 10800 720 735 1335, Image1 9720 0 1005 1020, "
         "Image2 1080 0 8610 1995"},
        {layout::kGameOptions,
         "EVBBo 360 1680 255 255, EVSo 360 2040 255 255, NAo 360 120 255 255, "
         "EHRo 360 2520 255 255, EVBB 120 1680 255 255, EVS 120 2040 255 255, "
         "NA 120 120 255 255, EHR 120 2520 255 255, EHRS 600 2520 735 255, "
         "NAS 600 120 1095 255, EVBBS 600 1680 735 255, EVSS 600 2040 735 255, "
         "Label2 1320 2520 1935 255, Label3 1680 120 1575 255, Label4 1320 2040 1935 255, "
         "Label5 1320 1680 1935 255, HScroll1 1080 480 2055 255, Text1 3120 480 615 285, "
         "HScroll2 1080 840 2055 255, HScroll3 1080 1200 2055 255, Text2 3120 840 615 285, "
         "Text3 3120 1200 615 285, Label1 0 480 1095 255, Label6 0 840 1095 255, "
         "Label7 0 1200 1095 255, Combo1 120 2880 1575 315, Command1 1800 2880 1815 255, "
         "Line1 3840 1560 0 1560, Line2 3840 1560 3840 120, Line3 3840 1560 3840 2400, "
         "Line4 3840 2400 0 2400"},
        {layout::kAbout,
         "Label1 120 120 3495 255, Label2 120 360 3735 255, Label3 1440 600 2055 255, "
         "Label4 120 960 2535 255, Command1 3960 120 1215 375, Label6 4320 600 495 255"},
        {layout::kHelp,
         "Text1 2040 120 8655 6255, Command1 120 6120 1815 315"},
    };
    for (const Case& c : cases) {
        std::string rows;
        for (std::size_t i = 0; i < c.form.count; ++i) {
            const layout::Control& r = c.form.controls[i];
            rows += (i ? ", " : "") + std::string(r.name) + " " + std::to_string(r.left) + " " +
                    std::to_string(r.top) + " " + std::to_string(r.width) + " " +
                    std::to_string(r.height);
        }
        EXPECT_EQ(rows, c.rows) << c.form.name;
    }
}

}  // namespace
