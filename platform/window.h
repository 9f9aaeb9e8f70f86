// The narrow window interface that behaviour is written against.
//
// Handlers (Form_Load, Command3_Click, HScroll1_Change, ...) live in the
// portable core and reach their window only through this interface: texts of
// named controls, scroll bar values, message boxes, modal windows and
// closing. The Win32 front end implements it over real controls; controls are
// named as in the window layouts ("visual", "Text1", ...).
#pragma once

#include <string>

namespace platform {

// Caption of every message box of the program.
extern const char kApplicationTitle[];

enum class Buttons { kOk, kYesNo };  // Yes and No have Yes as the default
enum class Answer { kOk, kYes, kNo };
enum class Form { kAbout, kHelp, kGameOptions };

class Window {
public:
    virtual ~Window() = default;

    // Caption of a label or button, text of a text box or combo box.
    virtual void SetText(const char* control, const std::string& text) = 0;
    virtual std::string Text(const char* control) = 0;

    // Scroll bars. SetValue raises the control's change event when the value
    // changes, as a user's move does.
    virtual int Value(const char* control) = 0;
    virtual void SetValue(const char* control, int value) = 0;
    virtual void SetRange(const char* control, int min, int max, int small_step,
                          int large_step) = 0;

    // Modal message box: no icon, kApplicationTitle as caption.
    virtual Answer Message(const std::string& text, Buttons buttons) = 0;

    // Builds `form` afresh and shows it modally; returns once it is closed.
    virtual void ShowModal(Form form) = 0;

    // Closes (unloads) this window. Closing the main window ends the program.
    virtual void Close() = 0;

    // During a long command: wait cursor on, presses refused, painting kept
    // alive by KeepPainted() between steps.
    virtual void SetBusy(bool busy) = 0;
    virtual void KeepPainted() = 0;
};

}  // namespace platform
