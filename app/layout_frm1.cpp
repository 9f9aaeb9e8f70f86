// The main window: a wide black banner with the artwork across the top and
// one row of buttons along the bottom.
#include "app/layout.h"

namespace app {
namespace {

// Script faces only: a chancery italic like Monotype Corsiva first (Z003 is
// the one Linux desktops carry, once named URW Chancery L), then the script
// faces of a stock Windows.
const char* const kScriptSubstitutes[] = {"Z003", "URW Chancery L", "Gabriola", "Segoe Script",
                                          nullptr};

const Font kScript = {"Monotype Corsiva", kScriptSubstitutes, 1425, true, true};

constexpr std::uint32_t kDarkRed = 0xC00000;

const Control kFrm1Controls[] = {
    // name            kind              caption          left   top    width  height tab
    {"Picture2(0)", Kind::kPictureBox, "A",             120,   0,    885,  780, true, nullptr, kSystem, kBlack, 0},
    {"Command5",    Kind::kButton,     "E&xit",       10200, 2040, 1335,  375, true, nullptr, kSystem, kSystem, 0},
    {"Command3",    Kind::kButton,     "&Disable",     2160, 2040,  975,  375, true, nullptr, kSystem, kSystem, 0},
    {"Command2",    Kind::kButton,     "&Enable",         0, 2040,  975,  375, true, nullptr, kSystem, kSystem, 0},
    {"Command1",    Kind::kButton,     "&Launch",      3120, 2040, 4095,  375, true, nullptr, kSystem, kSystem, 0},
    {"Picture2(3)", Kind::kPictureBox, "B",            9840, 1080,  645,  645, true, nullptr, kSystem, kBlack, 0},
    {"Picture2(2)", Kind::kPictureBox, "C",               0,  960, 1050,  675, true, nullptr, kSystem, kBlack, 0},
    {"visual",      Kind::kLabel,      "",              960, 2040, 1215,  375, false, &kScript, kDarkRed, kBlack, kBorder,
                    "Enabled|Disabled"},
    {"Command4",    Kind::kButton,     "&Info",        9360, 2040,  855,  375, true, nullptr, kSystem, kSystem, 0},
    {"Command6",    Kind::kButton,     "&Help",        8400, 2040,  975,  375, true, nullptr, kSystem, kSystem, 0},
    {"Command7",    Kind::kButton,     "Game Options", 7200, 2040, 1215,  375, true, nullptr, kSystem, kSystem, 0},
    {"Uninstall",   Kind::kButton,     "Uninstall",   10800,    0,  735,  255, true, nullptr, kSystem, kSystem, 0},
    {"Clean",       Kind::kButton,     "Clean",       10800,  480,  735,  255, true, nullptr, kSystem, kSystem, 0},
    {"Label1",      Kind::kLabel,      "",            10800,  240,  765,  255, false, nullptr, kSystem, kSystem, kBorder},
    {"Label2",      Kind::kLabel,      "",            10800,  720,  735, 1335, false, nullptr, kSystem, kSystem, kBorder},
    {"Image1",      Kind::kImage,      "D",            9720,    0, 1005, 1020, false, nullptr, kSystem, kBlack, 0},
    {"Image2",      Kind::kImage,      "E",            1080,    0, 8610, 1995, false, nullptr, kSystem, kBlack, 0},
};

}  // namespace

const Form kFrm1Layout = {
    "frm1", "The Marrowgate: Zeal And Rising Nations!", 11505, 2385, 2505, 4680,
    Frame::kFixedDialog, true, kBlack, &kSansSerif,
    kFrm1Controls, sizeof kFrm1Controls / sizeof kFrm1Controls[0], "Picture2(0)",
};

}  // namespace app
