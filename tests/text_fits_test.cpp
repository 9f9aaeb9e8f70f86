// The fonts are chosen so that every text a control can show fits it, and
// the texts set at run time are known to the chooser only through the
// layouts' also_shows lists. Here the real behaviour runs over real game
// folders, and every text it puts in a control must be that control's
// caption or listed for it; a number box may show any volume, whose widest,
// "100", must be listed. (The UI tests measure the texts in the real windows.)
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>

#include "app/layout.h"
#include "panel/frm1.h"
#include "settings/game_options.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace {

// Remembers every text ever set, not only the last.
struct AllTexts : RecordingWindow {
    std::set<std::pair<std::string, std::string>> seen;
    void SetText(const char* c, const std::string& t) override {
        seen.insert({c, t});
        RecordingWindow::SetText(c, t);
    }
};

bool Listed(const layout::Control& c, const std::string& text) {
    if (text == c.caption) return true;
    std::string all = c.also_shows ? c.also_shows : "";
    for (std::size_t start = 0; start <= all.size();) {
        std::size_t bar = all.find('|', start);
        if (bar == std::string::npos) bar = all.size();
        if (all.compare(start, bar - start, text) == 0) return true;
        start = bar + 1;
    }
    return false;
}

void ExpectListed(const layout::Form& form, const AllTexts& w) {
    for (const auto& [name, text] : w.seen) {
        const layout::Control* c = layout::Find(form, name.c_str());
        ASSERT_NE(c, nullptr) << name;
        if (c->kind == layout::Kind::kCombo) continue;  // any text the user types
        if (c->kind == layout::Kind::kTextBox) {
            EXPECT_TRUE(Listed(*c, "100")) << form.name << " " << name;
            EXPECT_LE(text.size(), 3u) << form.name << " " << name << " shows \"" << text << "\"";
            continue;
        }
        EXPECT_TRUE(Listed(*c, text)) << form.name << " " << name << " shows \"" << text
                                      << "\", not listed in its layout row";
    }
}

TEST(TextFits, EveryTextTheBehaviourSetsIsListedForTheFontChoice) {
    for (const char* marker : {"expandmd81.mix", "expandmd81.mix.Zarn"}) {
        TempFolder dir;
        dir.Write(marker, "x");
        AllTexts w;
        Frm1 frm1(w, dir.path());
        frm1.Form_Load();
        EXPECT_FALSE(w.seen.empty());
        ExpectListed(layout::kFrm1, w);
    }
    for (const char* yes_no : {"yes", "no"}) {
        TempFolder dir;
        std::string v = std::strcmp(yes_no, "yes") == 0 ? "1.000000" : "0.000000";
        dir.Write("RA2MD.ini", "[Audio]\r\nSoundVolume=" + v + "\r\nVoiceVolume=" + v +
                                   "\r\nScoreVolume=" + v + "\r\nInGameMusic=" + yes_no +
                                   "\r\n[Video]\r\nAllowHiResModes=" + yes_no +
                                   "\r\nVideoBackBuffer=" + yes_no + "\r\nAllowVRAMSidebar=" +
                                   yes_no + "\r\nScreenWidth=1280\r\nScreenHeight=1024\r\n");
        AllTexts w;
        GameOptions options(w, dir.path());
        w.on_change = [&](const char* control) {
            for (const GameOptions::Handler& h : GameOptions::kChanges)
                if (std::strcmp(h.control, control) == 0) (options.*h.run)();
        };
        options.Form_Load();
        // Every switch both ways, and the sliders to each end.
        for (const GameOptions::Handler& h : GameOptions::kClicks)
            if (std::strcmp(h.control, "Command1") != 0) (options.*h.run)();
        for (const char* bar : {"HScroll1", "HScroll2", "HScroll3"})
            for (int value : {0, 100}) w.SetValue(bar, value);
        EXPECT_GE(w.seen.size(), 8u);
        ExpectListed(layout::kGameOptions, w);
    }
}

}  // namespace
