#include "app/layout.h"

#include <cstring>

namespace layout {

const char* const kSansSerifSubstitutes[] = {"Microsoft Sans Serif", "Tahoma", "Arial", nullptr};
const Font kSansSerif = {"MS Sans Serif", kSansSerifSubstitutes, 825, false, false};

const Control* Find(const Form& form, const char* name) {
    for (std::size_t i = 0; i < form.count; ++i)
        if (std::strcmp(form.controls[i].name, name) == 0) return &form.controls[i];
    return nullptr;
}

}  // namespace layout
