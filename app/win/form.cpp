#include "app/win/form.h"

#include <cstring>

#include "app/win/pictures.h"
#include "app/win/system.h"
#include "platform/win/wide.h"

namespace app {

namespace {

const wchar_t kFormClass[] = L"ZarnForm";

}  // namespace

FormWindow::FormWindow(const Form& form, ModalRunner modal, const platform::Folder* folder)
    : form_(form), modal_(modal), folder_(folder) {}

FormWindow::~FormWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
    for (auto& f : fonts_) DeleteObject(f.second);
}

void FormWindow::RegisterClasses() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kFormClass;
    RegisterClassW(&wc);
    RegisterPictureClass();
}

bool FormWindow::Open(Behaviour* behaviour, HWND owner) {
    behaviour_ = behaviour;
    dpi_ = DpiOf(owner);
    hwnd_ = CreateWindowExW(FormExStyle(form_), kFormClass, platform::Widen(form_.caption).c_str(),
                            kFormStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner, nullptr,
                            GetModuleHandleW(nullptr), this);
    if (!hwnd_) return false;
    dpi_ = DpiOf(hwnd_);
    SetIcons();
    CreateControls();
    Place();

    if (behaviour_) behaviour_->Load();  // before the window is first drawn
    if (!hwnd_) return true;              // the load step closed it
    ShowWindow(hwnd_, SW_SHOW);
    if (Slot* focus = form_.focus ? Find(form_.focus) : nullptr) SetFocus(focus->hwnd);
    UpdateWindow(hwnd_);
    return true;
}

FormWindow::Slot* FormWindow::Find(const char* name) {
    for (Slot& s : slots_)
        if (std::strcmp(s.row->name, name) == 0) return &s;
    return nullptr;
}

FormWindow::Slot* FormWindow::Find(HWND control) {
    for (Slot& s : slots_)
        if (s.hwnd == control) return &s;
    return nullptr;
}

LRESULT CALLBACK FormWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, (LONG_PTR)self);
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        for (HICON& icon : self->icons_) {
            if (icon) DestroyIcon(icon);
            icon = nullptr;
        }
        for (Slot& s : self->slots_) {
            if (s.brush) DeleteObject(s.brush);
            s.brush = nullptr;
            s.hwnd = nullptr;
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    return self->Handle(msg, wp, lp);
}

// Hands each message to the function that deals with it.
LRESULT FormWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND: OnCommand(wp, (HWND)lp); return 0;
    case WM_HSCROLL: if (lp) Scroll((HWND)lp, LOWORD(wp), HIWORD(wp)); return 0;
    case WM_NEXTDLGCTL: OnNextDlgCtl(wp, lp); return 0;
    case WM_ACTIVATE: if (OnActivate(wp)) return 0; break;
    case WM_CLOSE: Close(); return 0;  // the title bar's close box, Alt+F4
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: return ColourControl(msg, (HDC)wp, (HWND)lp);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(); return 0;
    case WM_SETCURSOR: if (OnSetCursor()) return TRUE; break;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE: OnColoursChanged(msg, wp, lp); break;
    case WM_DPICHANGED: OnDpiChanged(HIWORD(wp), reinterpret_cast<const RECT*>(lp)); return 0;
    case WM_DESTROY:
        if (!GetWindow(hwnd_, GW_OWNER)) PostQuitMessage(0);  // the main window: the program ends
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

// A button's press goes to the behaviour. Enter and Escape (IDOK, IDCANCEL)
// do nothing: no window has a default or a cancel button. A press that
// arrives while a handler runs is dropped: the waits that keep the window
// painted, and a message box, let messages sent from other threads and
// programs through, and each command runs to its end before the next.
void FormWindow::OnCommand(WPARAM wp, HWND control) {
    if (!control || HIWORD(wp) != BN_CLICKED || !Taking()) return;
    Slot* s = Find(control);
    if (!s || s->row->kind != Kind::kButton || !behaviour_) return;
    ++running_;
    behaviour_->Click(s->row->name);
    --running_;
}

bool TakesFocus(HWND control) {
    return control && IsWindowVisible(control) && IsWindowEnabled(control) &&
           (GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP);
}

// The dialog manager's focus move: a label's access key asks for the label,
// then for the next control after it that takes the focus. The label itself
// never gets it; the next control is found from where it stands. Only dialog
// classes handle the message by default; our windows are not one.
void FormWindow::OnNextDlgCtl(WPARAM wp, LPARAM lp) {
    HWND from = asked_;
    asked_ = nullptr;
    if (LOWORD(lp)) {
        if (TakesFocus((HWND)wp))
            SetFocus((HWND)wp);
        else
            asked_ = (HWND)wp;
        return;
    }
    if (HWND to = GetNextDlgTabItem(hwnd_, from ? from : GetFocus(), wp != 0)) SetFocus(to);
}

// As a dialog does: the control that had the focus when the window lost the
// activation (to a modal window, a message box, another program) gets it
// back when the window is active again; left to the default, the window
// would keep the focus itself and Space would press nothing.
bool FormWindow::OnActivate(WPARAM wp) {
    if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) focus_ = focus;
        return false;
    }
    if (HIWORD(wp) || !focus_ || !IsChild(hwnd_, focus_) || !IsWindowVisible(focus_) ||
        !IsWindowEnabled(focus_))
        return false;
    SetFocus(focus_);
    return true;
}

// The wait cursor while a command runs; false to let the system choose.
bool FormWindow::OnSetCursor() {
    if (!busy_) return false;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return true;
}

// The system's colours changed (a High Contrast theme, say): the brushes
// made from them go, to be made again at the next paint, and the controls,
// which may keep colours of their own, hear of it too.
void FormWindow::OnColoursChanged(UINT msg, WPARAM wp, LPARAM lp) {
    for (Slot& s : slots_) {
        if (s.brush) DeleteObject(s.brush);
        s.brush = nullptr;
        if (s.hwnd) SendMessageW(s.hwnd, msg, wp, lp);
    }
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

// Moved to a monitor of another DPI: the system's suggested rectangle, and
// every control placed again at the new DPI.
void FormWindow::OnDpiChanged(UINT dpi, const RECT* r) {
    if (r)
        SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    Layout(dpi);
    SetIcons();
}

// A scroll bar moved by the user; dropped while a handler runs, as a press is.
void FormWindow::Scroll(HWND bar, int code, int thumb) {
    Slot* s = Find(bar);
    if (!s || !Taking()) return;
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(bar, SB_CTL, &si);
    int pos = si.nPos;
    switch (code) {
    case SB_LINELEFT: pos -= s->small_step; break;
    case SB_LINERIGHT: pos += s->small_step; break;
    case SB_PAGELEFT: pos -= s->large_step; break;
    case SB_PAGERIGHT: pos += s->large_step; break;
    case SB_LEFT: pos = si.nMin; break;
    case SB_RIGHT: pos = si.nMax; break;
    // The message's own position: nTrackPos is only kept while the scroll
    // bar itself tracks a drag, and our ranges fit its 16 bits.
    case SB_THUMBPOSITION: pos = thumb; break;
    default: return;  // SB_THUMBTRACK: nothing while the thumb is dragged
    }
    if (pos < si.nMin) pos = si.nMin;
    if (pos > si.nMax) pos = si.nMax;
    if (pos == si.nPos) return;
    SetScrollPos(bar, SB_CTL, pos, TRUE);
    if (!behaviour_) return;
    ++running_;
    behaviour_->Change(s->row->name);
    --running_;
}

void FormWindow::SetText(const char* control, const std::string& text) {
    if (Slot* s = Find(control)) SetWindowTextW(s->hwnd, platform::Widen(text).c_str());
}

std::string FormWindow::Text(const char* control) {
    Slot* s = Find(control);
    if (!s || !s->hwnd) return {};
    int n = GetWindowTextLengthW(s->hwnd);
    platform::WString w(n + 1, L'\0');
    w.resize(GetWindowTextW(s->hwnd, &w[0], n + 1));
    return platform::Narrow(w);
}

int FormWindow::Value(const char* control) {
    Slot* s = Find(control);
    return s ? GetScrollPos(s->hwnd, SB_CTL) : 0;
}

void FormWindow::SetValue(const char* control, int value) {
    Slot* s = Find(control);
    if (!s) return;
    int old = GetScrollPos(s->hwnd, SB_CTL);
    SetScrollPos(s->hwnd, SB_CTL, value, TRUE);
    if (GetScrollPos(s->hwnd, SB_CTL) != old && behaviour_) behaviour_->Change(control);
}

void FormWindow::SetRange(const char* control, int min, int max, int small_step, int large_step) {
    Slot* s = Find(control);
    if (!s) return;
    SetScrollRange(s->hwnd, SB_CTL, min, max, TRUE);
    s->small_step = small_step;
    s->large_step = large_step;
}

// The box hands the activation back to this window when it goes, and the
// window, being no dialog, would keep the focus itself: the control that had
// it gets it back.
platform::Answer FormWindow::Message(const std::string& text, platform::Buttons buttons) {
    UINT type = buttons == platform::Buttons::kYesNo ? MB_YESNO | MB_DEFBUTTON1 : MB_OK;
    HWND focus = GetFocus();
    int r = MessageBoxW(hwnd_, platform::Widen(text).c_str(), platform::Widen(platform::kApplicationTitle).c_str(),
                        type | MB_APPLMODAL | MB_SETFOREGROUND);
    if (hwnd_ && focus && IsChild(hwnd_, focus) && IsWindowVisible(focus)) SetFocus(focus);
    return r == IDYES ? platform::Answer::kYes : r == IDNO ? platform::Answer::kNo : platform::Answer::kOk;
}

// Disabling this window for the modal one may take the focus away before
// the activation goes, so the control that has it is noted here.
void FormWindow::ShowModal(platform::Form form) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) focus_ = focus;
    if (modal_ && folder_) modal_(form, hwnd_, *folder_);
    // Back from the modal window: its control again, whatever order the
    // activation messages came in (under Wine they follow the X server's).
    if (hwnd_ && focus_ && IsChild(hwnd_, focus_) && IsWindowVisible(focus_)) SetFocus(focus_);
}

void FormWindow::Close() {
    if (!hwnd_) return;
    // A modal window gives its owner back its input before it goes: the
    // window that loses the activation hands it to an enabled window, and
    // that should be the owner rather than another program's.
    if (HWND owner = GetWindow(hwnd_, GW_OWNER)) EnableWindow(owner, TRUE);
    DestroyWindow(hwnd_);
}

void FormWindow::SetBusy(bool busy) {
    busy_ += busy ? 1 : -1;
    if (busy && busy_ == 1) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    } else if (!busy && busy_ == 0) {
        // Presses made while the command ran are dropped, not run after it.
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
        }
        POINT p;
        GetCursorPos(&p);
        SetCursorPos(p.x, p.y);  // lets WM_SETCURSOR put the arrow back
    }
}

void FormWindow::KeepPainted() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) DispatchMessageW(&m);
}

}  // namespace app
