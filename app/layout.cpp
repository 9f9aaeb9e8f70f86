#include "app/layout.h"

#include <cstring>

namespace layout {

const Control* Find(const Form& form, const char* name) {
    for (std::size_t i = 0; i < form.count; ++i)
        if (std::strcmp(form.controls[i].name, name) == 0) return &form.controls[i];
    return nullptr;
}

}  // namespace layout
