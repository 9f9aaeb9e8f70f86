// The three modal windows' layouts and behaviour, for RunModal.
#pragma once

#include "app/layout.h"
#include "app/win/form.h"
#include "platform/folder.h"
#include "platform/window.h"
#include "settings/game_options.h"

namespace app {

// The layout of a modal window.
const Form& LayoutOf(platform::Form form);

// Maps a modal window's events to its handlers: About's "Ok" and Help's
// "&Close Help" close their window; Game Options' presses and slider
// changes go to the GameOptions handlers of the same name.
class DialogEvents : public Behaviour {
public:
    // `folder` is the application folder that start-up hands in.
    DialogEvents(platform::Form form, platform::Window& window, const platform::Folder& folder);
    void Load() override;
    void Click(const char* control) override;
    void Change(const char* control) override;

private:
    platform::Form form_;
    platform::Window& window_;
    core::GameOptions options_;
};

}  // namespace app
