// panel/: the middle floor, the portable core of the main window. Includes
// only platform/ and itself; app/ includes it, settings/ never does.
//
// Behaviour of the main window: its load step and the press handler of each
// of its nine buttons. The front end maps a button's press to the handler of
// the same name through kHandlers; nothing else of the window has behaviour.
#pragma once

#include <string>

#include "panel/progress.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/folder.h"
#include "platform/program.h"
#include "platform/taskbar.h"
#include "platform/window.h"

namespace core {

class Frm1 {
public:
    // The services the commands reach, handed in by start-up: `folder` is
    // the application folder, every path's base; `files` tests, copies and
    // deletes; `programs` starts the game and the patch program. Enable and
    // Disable show their progress on `taskbar` (which may be null) once they
    // have run for a while by `clock`.
    Frm1(platform::Window& window, const platform::Folder& folder, platform::Files& files,
         platform::Programs& programs, platform::Taskbar* taskbar, platform::Clock& clock);

    // The application folder, one separator and the name.
    std::string GameFilePath(const std::string& name) const;

    void Form_Load();
    // Sets "visual" to "Enabled" or "Disabled" from the marker file.
    void RefreshModState();

    void Command1_Click();   // &Launch
    void Command2_Click();   // &Enable
    void Command3_Click();   // &Disable
    void Command4_Click();   // &Info
    void Command5_Click();   // E&xit
    void Command6_Click();   // &Help
    void Command7_Click();   // Game Options
    void Uninstall_Click();  // Uninstall
    void Clean_Click();      // Clean

    struct Handler {
        const char* control;
        void (Frm1::*click)();
    };
    static const Handler kHandlers[9];

private:
    // Copies source to target, then deletes source. False when refused.
    bool Move(const std::string& source, const std::string& target, Progress& progress);
    // Moves every file of ModFiles present under its `from` form to its
    // other form, in table order; false at a refusal.
    bool MoveAll(bool enable);
    // Deletes the file at `path` when FileExists says it is there.
    bool DeleteIfPresent(const std::string& path);
    bool Delete(const std::string& path);
    // Starts the program at `path` in the game folder; when it is not there,
    // says so instead. False when it was not started.
    bool Start(const std::string& path, platform::ShowState show_state);

    platform::Window& window_;
    const platform::Folder& folder_;
    platform::Files& files_;
    platform::Programs& programs_;
    platform::Taskbar* taskbar_;
    platform::Clock& clock_;
};

}  // namespace core
