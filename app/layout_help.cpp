// The Help window: the help text in a tall read-only box on the right of a
// black window, and "&Close Help" in the bottom-left corner.
#include "app/layout.h"

namespace app {
namespace {

const Font kSans12 = {"MS Sans Serif", kSansSerifSubstitutes, 1200, false, false};

// Twelve lines, each with its closing line break; the trailing spaces are
// part of the text. The last line names the About box's two handles.
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

const Control kHelpControls[] = {
    // name        kind           caption        left   top  width height tab
    {"Text1",    Kind::kMemo,   kHelpText,     2040,  120, 8655, 6255, true, nullptr, kSystem, kSystem, kReadOnly},
    {"Command1", Kind::kButton, "&Close Help",  120, 6120, 1815,  315, true, &kSansSerif, kSystem, kSystem, 0},
};

}  // namespace

const Form kHelpLayout = {
    "Help", "Mod Help", 10800, 6450, 5685, 5790,
    Frame::kFixedDialog, false, kBlack, &kSans12,
    kHelpControls, sizeof kHelpControls / sizeof kHelpControls[0], "Text1",
};

}  // namespace app
