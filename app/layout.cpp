#include "app/layout.h"

#include <cstring>

namespace app {

// Sans-serif faces, the closest to "MS Sans Serif" first: the faces Windows
// carries, then the narrower ones Linux desktops and Wine set-ups carry.
const char* const kSansSerifSubstitutes[] = {"Microsoft Sans Serif", "Tahoma", "Arial",
                                             "DejaVu Sans Condensed", "Liberation Sans",
                                             "Nimbus Sans Narrow", nullptr};
const Font kSansSerif = {"MS Sans Serif", kSansSerifSubstitutes, 825, false, false};

const Form* const kForms[4] = {&kFrm1Layout, &kGameOptionsLayout, &kAboutLayout, &kHelpLayout};

const Control* FindControl(const Form& form, const char* name) {
    for (std::size_t i = 0; i < form.count; ++i)
        if (std::strcmp(form.controls[i].name, name) == 0) return &form.controls[i];
    return nullptr;
}

}  // namespace app
