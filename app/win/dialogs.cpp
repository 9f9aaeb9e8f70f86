#include "app/win/dialogs.h"

#include <cstring>

namespace app {

namespace {

// Runs the handler named after `control`, if the table has one.
void Dispatch(core::GameOptions& options, const core::GameOptions::Handler* table,
              std::size_t count, const char* control) {
    for (std::size_t i = 0; i < count; ++i)
        if (std::strcmp(table[i].control, control) == 0) (options.*table[i].run)();
}

}  // namespace

const Form& LayoutOf(platform::Form form) {
    switch (form) {
    case platform::Form::kAbout: return kAboutLayout;
    case platform::Form::kHelp: return kHelpLayout;
    case platform::Form::kGameOptions: break;
    }
    return kGameOptionsLayout;
}

DialogEvents::DialogEvents(platform::Form form, platform::Window& window,
                           const platform::Folder& folder)
    : form_(form), window_(window), options_(window, folder) {}

void DialogEvents::Load() {
    if (form_ == platform::Form::kGameOptions) options_.Form_Load();
}

void DialogEvents::Click(const char* control) {
    if (form_ == platform::Form::kGameOptions) {
        Dispatch(options_, core::GameOptions::kClicks,
                 sizeof core::GameOptions::kClicks / sizeof core::GameOptions::kClicks[0],
                 control);
    } else if (std::strcmp(control, "Command1") == 0) {
        window_.Close();  // "Ok", "&Close Help"
    }
}

void DialogEvents::Change(const char* control) {
    if (form_ == platform::Form::kGameOptions)
        Dispatch(options_, core::GameOptions::kChanges,
                 sizeof core::GameOptions::kChanges / sizeof core::GameOptions::kChanges[0],
                 control);
}

}  // namespace app
