// The Game Options dialog: a small black panel of switch rows ("0" and "1"
// buttons, a status label, a name), three volume sliders with their number
// boxes, and the resolution box with "Save And Close" along the bottom.
#include "app/layout.h"

namespace app {
namespace {

const Font kSansBold = {"MS Sans Serif", kSansSerifSubstitutes, 825, true, false};

// Status labels: "On"/"Off" in white on black, boxed and centred.
constexpr unsigned kStatus = kBorder | kCentred;

const Control kGameOptionsControls[] = {
    // name        kind              caption                      left   top   width height tab
    {"EVBBo",   Kind::kButton,    "1",                          360, 1680,  255,  255, true, nullptr, kSystem, kSystem, 0},
    {"EVSo",    Kind::kButton,    "1",                          360, 2040,  255,  255, true, nullptr, kSystem, kSystem, 0},
    {"NAo",     Kind::kButton,    "1",                          360,  120,  255,  255, true, nullptr, kSystem, kSystem, 0},
    {"EHRo",    Kind::kButton,    "1",                          360, 2520,  255,  255, true, nullptr, kSystem, kSystem, 0},
    {"EVBB",    Kind::kButton,    "0",                          120, 1680,  255,  255, true, nullptr, kSystem, kSystem, 0},
    {"EVS",     Kind::kButton,    "0",                          120, 2040,  255,  255, true, nullptr, kSystem, kSystem, 0},
    {"NA",      Kind::kButton,    "0",                          120,  120,  255,  255, true, nullptr, kSystem, kSystem, 0},
    {"EHR",     Kind::kButton,    "0",                          120, 2520,  255,  255, true, nullptr, kSystem, kSystem, 0},
    {"EHRS",    Kind::kLabel,     "",                           600, 2520,  735,  255, false, &kSansBold, kWhite, kBlack, kStatus, "On|Off"},
    {"NAS",     Kind::kLabel,     "",                           600,  120, 1095,  255, false, &kSansBold, kWhite, kBlack, kStatus, "Sound On|Sound Off"},
    {"EVBBS",   Kind::kLabel,     "",                           600, 1680,  735,  255, false, &kSansBold, kWhite, kBlack, kStatus, "On|Off"},
    {"EVSS",    Kind::kLabel,     "",                           600, 2040,  735,  255, false, &kSansBold, kWhite, kBlack, kStatus, "On|Off"},
    {"Label2",  Kind::kLabel,     "Enable High Resolutions",   1320, 2520, 1935,  255, false, nullptr, kWhite, kBlack, kBorder | kCentred},
    {"Label3",  Kind::kLabel,     "No Music",                  1680,  120, 1575,  255, false, nullptr, kWhite, kBlack, kBorder | kCentred},
    {"Label4",  Kind::kLabel,     "Enable &VRAM Sidebar",      1320, 2040, 1935,  255, false, nullptr, kWhite, kBlack, kBorder | kCentred},
    {"Label5",  Kind::kLabel,     "Enable Video &Back Buffer", 1320, 1680, 1935,  255, false, nullptr, kWhite, kBlack, kBorder | kCentred},
    {"HScroll1", Kind::kScrollBar, "",                         1080,  480, 2055,  255, true, nullptr, kSystem, kSystem, 0},
    {"Text1",   Kind::kTextBox,   "",                          3120,  480,  615,  285, true, &kSansBold, kWhite, kBlack, kCentred, "100"},
    {"HScroll2", Kind::kScrollBar, "",                         1080,  840, 2055,  255, true, nullptr, kSystem, kSystem, 0},
    {"HScroll3", Kind::kScrollBar, "",                         1080, 1200, 2055,  255, true, nullptr, kSystem, kSystem, 0},
    {"Text2",   Kind::kTextBox,   "",                          3120,  840,  615,  285, true, &kSansBold, kWhite, kBlack, kCentred, "100"},
    {"Text3",   Kind::kTextBox,   "",                          3120, 1200,  615,  285, true, &kSansBold, kWhite, kBlack, kCentred, "100"},
    {"Label1",  Kind::kLabel,     "Sound Volume",                 0,  480, 1095,  255, false, nullptr, kWhite, kBlack, kCentred},
    {"Label6",  Kind::kLabel,     "Voice Volume",                 0,  840, 1095,  255, false, nullptr, kWhite, kBlack, kCentred},
    {"Label7",  Kind::kLabel,     "Music Volume",                 0, 1200, 1095,  255, false, nullptr, kWhite, kBlack, kCentred},
    {"Combo1",  Kind::kCombo,     "1280x1024|1024x768|800x600|640x480", 120, 2880, 1575, 315, true, nullptr, kSystem, kSystem, 0},
    {"Command1", Kind::kButton,   "Save And Close",            1800, 2880, 1815,  255, true, nullptr, kSystem, kSystem, 0},
    // Lines: from (left, top) to (width, height). Line2 and Line3 lie on the
    // right edge, just outside the client area.
    {"Line1",   Kind::kLine,      "",                          3840, 1560,    0, 1560, false, nullptr, kSystem, kSystem, 0},
    {"Line2",   Kind::kLine,      "",                          3840, 1560, 3840,  120, false, nullptr, kSystem, kSystem, 0},
    {"Line3",   Kind::kLine,      "",                          3840, 1560, 3840, 2400, false, nullptr, kSystem, kSystem, 0},
    {"Line4",   Kind::kLine,      "",                          3840, 2400,    0, 2400, false, nullptr, kSystem, kSystem, 0},
};

}  // namespace

const Form kGameOptionsLayout = {
    "GameOptions", "Game Options", 3840, 3270, kSystemPlaced, kSystemPlaced,
    Frame::kFixedSingle, false, kBlack, &kSansSerif,
    kGameOptionsControls, sizeof kGameOptionsControls / sizeof kGameOptionsControls[0], "EVBBo",
};

}  // namespace app
