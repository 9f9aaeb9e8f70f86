// The About box: the title, the credits and the version in plain labels on
// the dialog face, with "Ok" at the top right.
#include "app/layout.h"

namespace app {
namespace {

// The credits: the modification's author and the panel's. The help text's
// last line names the same two handles (layout_help.cpp).
const Control kAboutControls[] = {
    // name        kind           caption                                            left   top  width height tab
    {"Label1",   Kind::kLabel,  "The Marrowgate:The Zeal And Rising Nations. ",      120,  120, 3495, 255, false, nullptr, kSystem, kSystem, 0},
    {"Label2",   Kind::kLabel,  "Mod Created By:   Marrowgate (The ZARN Team)",      120,  360, 3735, 255, false, nullptr, kSystem, kSystem, 0},
    {"Label3",   Kind::kLabel,  "ZDev (The ZARN Team)",                           1440,  600, 2055, 255, false, nullptr, kSystem, kSystem, 0},
    {"Label4",   Kind::kLabel,  "Contorl Pannel Created By: ZDev ",               120,  960, 2535, 255, false, nullptr, kSystem, kSystem, 0},
    {"Command1", Kind::kButton, "Ok",                                               3960,  120, 1215, 375, true, nullptr, kSystem, kSystem, 0},
    {"Label6",   Kind::kLabel,  "v 2.1",                                            4320,  600,  495, 255, false, nullptr, kSystem, kSystem, 0},
};

}  // namespace

const Form kAboutLayout = {
    "About", "About ZARN", 5370, 1245, 375, 2100,
    Frame::kFixedSingle, false, kSystem, &kSansSerif,
    kAboutControls, sizeof kAboutControls / sizeof kAboutControls[0], "Command1",
};

}  // namespace app
