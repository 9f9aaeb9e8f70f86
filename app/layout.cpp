#include "app/layout.h"

namespace app {

// Sans-serif faces, the closest to "MS Sans Serif" first: the faces Windows
// carries, then the narrower ones Linux desktops and Wine set-ups carry.
const char* const kSansSerifSubstitutes[] = {"Microsoft Sans Serif", "Tahoma", "Arial",
                                             "DejaVu Sans Condensed", "Liberation Sans",
                                             "Nimbus Sans Narrow", nullptr};
const Font kSansSerif = {"MS Sans Serif", kSansSerifSubstitutes, 825, false, false};

const Form* const kForms[4] = {&kFrm1Layout, &kGameOptionsLayout, &kAboutLayout, &kHelpLayout};

}  // namespace app
