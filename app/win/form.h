// A top-level window realised from a layout table, and the Win32 side of
// the narrow window interface that behaviour is written against.
//
// One class, its jobs in separate files: form.cpp (the window procedure and
// the window interface), realise.cpp (controls from the layout, placed at the
// monitor's DPI), fonts.cpp (the layout's fonts), paint.cpp (surface and
// colours).
//
// Event handler conventions: a Behaviour receives Load() once, after the
// controls exist and before the first paint; Click(name) for a button press;
// Change(name) after a scroll bar's value changed (not while its thumb is
// dragged). The window procedure does nothing else with events.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "app/layout.h"
#include "platform/folder.h"
#include "platform/window.h"

namespace app {

class Behaviour {
public:
    virtual ~Behaviour() = default;
    virtual void Load() {}
    virtual void Click(const char* /*control*/) {}
    virtual void Change(const char* /*control*/) {}
};

class FormWindow : public platform::Window {
public:
    // Opens a modal window above `owner` for the game folder `folder` and
    // returns when it is closed.
    using ModalRunner = void (*)(platform::Form form, HWND owner, const platform::Folder& folder);

    FormWindow(const Form& form, ModalRunner modal = nullptr, const platform::Folder* folder = nullptr);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    // Builds the window and its controls, runs behaviour.Load(), then shows
    // the window with the focus on the layout's first control.
    bool Open(Behaviour* behaviour, HWND owner);
    HWND hwnd() const { return hwnd_; }
    bool IsOpen() const { return hwnd_ != nullptr; }

    // platform::Window
    void SetText(const char* control, const std::string& text) override;
    std::string Text(const char* control) override;
    int Value(const char* control) override;
    void SetValue(const char* control, int value) override;
    void SetRange(const char* control, int min, int max, int small_step, int large_step) override;
    platform::Answer Message(const std::string& text, platform::Buttons buttons) override;
    void ShowModal(platform::Form form) override;
    void Close() override;
    void SetBusy(bool busy) override;
    void KeepPainted() override;

    static void RegisterClasses();

private:
    struct Slot {
        const Control* row;
        HWND hwnd = nullptr;
        HBRUSH brush = nullptr;  // background of coloured labels and text boxes
        int small_step = 1, large_step = 1;
    };

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
    void OnCommand(WPARAM wp, HWND control);
    void OnNextDlgCtl(WPARAM wp, LPARAM lp);
    bool OnActivate(WPARAM wp);
    bool OnSetCursor();
    void OnColoursChanged(UINT msg, WPARAM wp, LPARAM lp);
    void OnDpiChanged(UINT dpi, const RECT* suggested);
    static const DWORD kFormStyle;
    static DWORD FormExStyle(const Form& form);
    void CreateControls();
    void SetIcons();        // the application icon at this DPI's sizes
    void Place();           // sizes the window from its client area and places it
    void Layout(UINT dpi);  // places every control and sets its font at `dpi`
    void Paint();
    LRESULT ColourControl(UINT msg, HDC dc, HWND control);
    void Scroll(HWND bar, int code, int thumb);  // thumb: SB_THUMBPOSITION's position
    bool Taking() const { return !busy_ && !running_; }  // whether an event may start a handler
    Slot* Find(const char* name);
    Slot* Find(HWND control);
    HFONT FontFor(const Font& font);

    const Form& form_;
    ModalRunner modal_;
    const platform::Folder* folder_;
    Behaviour* behaviour_ = nullptr;
    HWND hwnd_ = nullptr;
    UINT dpi_ = 96;
    std::vector<Slot> slots_;
    std::vector<std::pair<const Font*, HFONT>> fonts_;
    int busy_ = 0;
    int running_ = 0;  // a handler of a press or a scroll is running
    HWND focus_ = nullptr;  // the control that had the focus when the window lost it
    HWND asked_ = nullptr;  // a label asked for by its access key; the next control after it follows
    HICON icons_[2] = {};  // ICON_SMALL, ICON_BIG: ours, destroyed with the window
};

// Whether `control` may take the focus: a tab stop of its layout (labels,
// images and lines never are), shown and enabled.
bool TakesFocus(HWND control);

// Twips to pixels of this window's monitor.
inline int ToPixels(int twips, UINT dpi) { return Pixels(twips, (int)dpi); }

}  // namespace app
