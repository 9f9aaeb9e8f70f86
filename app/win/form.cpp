#include "app/win/form.h"

#include <cstring>

#include "app/win/pictures.h"
#include "app/win/system.h"
#include "app/win/wide.h"

namespace {

const wchar_t kFormClass[] = L"ZarnForm";
constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL

COLORREF Rgb(std::uint32_t c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

struct FaceQuery {
    bool found = false;
    bool raster = false;
};

int CALLBACK OnFace(const LOGFONTW*, const TEXTMETRICW*, DWORD type, LPARAM data) {
    auto* q = reinterpret_cast<FaceQuery*>(data);
    q->found = true;
    q->raster = (type & RASTER_FONTTYPE) != 0;
    return 0;
}

// The first face of the font's list that this system has. A bitmap face
// (the real "MS Sans Serif") is taken only at 96 dpi, where it was drawn;
// elsewhere its scalable substitutes look right.
WString ChooseFace(const layout::Font& font, UINT dpi) {
    HDC dc = GetDC(nullptr);
    WString chosen;
    for (int i = -1; chosen.empty(); ++i) {
        const char* face = i < 0 ? font.face : font.substitutes ? font.substitutes[i] : nullptr;
        if (!face) break;
        LOGFONTW lf = {};
        lf.lfCharSet = DEFAULT_CHARSET;
        WString w = Widen(face);
        lstrcpynW(lf.lfFaceName, w.c_str(), LF_FACESIZE);
        FaceQuery q;
        EnumFontFamiliesExW(dc, &lf, OnFace, (LPARAM)&q, 0);
        if (q.found && (!q.raster || dpi == 96)) chosen = w;
    }
    ReleaseDC(nullptr, dc);
    return chosen.empty() ? Widen(font.face) : chosen;
}

DWORD FormStyle() { return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN; }

DWORD FormExStyle(const layout::Form& f) {
    // A dialog frame without an icon is the classic modal frame.
    return WS_EX_CONTROLPARENT |
           (f.frame == layout::Frame::kFixedDialog && !f.icon ? WS_EX_DLGMODALFRAME : 0);
}

}  // namespace

FormWindow::FormWindow(const layout::Form& form, ModalRunner modal)
    : form_(form), modal_(std::move(modal)) {}

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
    hwnd_ = CreateWindowExW(FormExStyle(form_), kFormClass, Widen(form_.caption).c_str(),
                            FormStyle(), CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner, nullptr,
                            GetModuleHandleW(nullptr), this);
    if (!hwnd_) return false;
    dpi_ = DpiOf(hwnd_);
    if (form_.icon) {
        HINSTANCE inst = GetModuleHandleW(nullptr);
        SendMessageW(hwnd_, WM_SETICON, ICON_BIG,
                     (LPARAM)LoadImageW(inst, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                        GetSystemMetrics(SM_CYICON), LR_SHARED));
        SendMessageW(hwnd_, WM_SETICON, ICON_SMALL,
                     (LPARAM)LoadImageW(inst, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    }
    CreateControls();

    // Size from the client area; place the client origin where the layout
    // says, or where the system puts a new window.
    RECT rc = {0, 0, ToPixels(form_.client_width, dpi_), ToPixels(form_.client_height, dpi_)};
    AdjustForDpi(&rc, FormStyle(), FormExStyle(form_), dpi_);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    int x = 0, y = 0;
    if (form_.left == layout::kSystemPlaced) {
        flags |= SWP_NOMOVE;
    } else {
        x = ToPixels(form_.left, dpi_) + rc.left;
        y = ToPixels(form_.top, dpi_) + rc.top;
    }
    SetWindowPos(hwnd_, nullptr, x, y, rc.right - rc.left, rc.bottom - rc.top, flags);
    Layout(dpi_);

    if (behaviour_) behaviour_->Load();  // before the window is first drawn
    if (!hwnd_) return true;              // the load step closed it
    ShowWindow(hwnd_, SW_SHOW);
    if (Slot* focus = form_.focus ? Find(form_.focus) : nullptr) SetFocus(focus->hwnd);
    UpdateWindow(hwnd_);
    return true;
}

void FormWindow::CreateControls() {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    slots_.clear();
    slots_.reserve(form_.count);
    for (std::size_t i = 0; i < form_.count; ++i) {
        const layout::Control& c = form_.controls[i];
        Slot slot;
        slot.row = &c;
        const wchar_t* cls = nullptr;
        DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (c.tab_stop ? WS_TABSTOP : 0);
        DWORD ex = 0;
        WString text = Widen(c.caption);
        switch (c.kind) {
        case layout::Kind::kButton:
            cls = L"BUTTON";
            style |= BS_PUSHBUTTON;
            break;
        case layout::Kind::kLabel:
            cls = L"STATIC";
            style |= (c.flags & layout::kCentred) ? SS_CENTER : SS_LEFTNOWORDWRAP;
            if (c.flags & layout::kBorder) style |= WS_BORDER;
            break;
        case layout::Kind::kPictureBox:
        case layout::Kind::kImage:
            cls = kPictureClass;
            text.clear();
            break;
        case layout::Kind::kTextBox:
            cls = L"EDIT";
            style |= ES_AUTOHSCROLL | ((c.flags & layout::kCentred) ? ES_CENTER : ES_LEFT);
            ex = WS_EX_CLIENTEDGE;
            break;
        case layout::Kind::kMemo:
            cls = L"EDIT";
            style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL |
                     ((c.flags & layout::kReadOnly) ? ES_READONLY : 0);
            ex = WS_EX_CLIENTEDGE;
            break;
        case layout::Kind::kScrollBar:
            cls = L"SCROLLBAR";
            style |= SBS_HORZ;
            break;
        case layout::Kind::kCombo:
            cls = L"COMBOBOX";
            style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
            text.clear();
            break;
        case layout::Kind::kLine:
            break;  // drawn on the window's surface
        }
        if (cls) {
            slot.hwnd = CreateWindowExW(ex, cls, text.c_str(), style, 0, 0, 0, 0, hwnd_,
                                        (HMENU)(INT_PTR)(kFirstControlId + i), inst, nullptr);
            if (c.kind == layout::Kind::kPictureBox || c.kind == layout::Kind::kImage)
                SetPicture(slot.hwnd, LoadPicture(Widen(c.caption).c_str()));
            // A scroll bar control starts with an empty range, where every
            // value set is clamped to 0. Layouts set no range of their own, so
            // give it room for a first value, as the classic toolkits did;
            // the behaviour narrows it when it handles the change.
            if (c.kind == layout::Kind::kScrollBar) SetScrollRange(slot.hwnd, SB_CTL, 0, 32767, FALSE);
            if (c.kind == layout::Kind::kCombo) {
                std::string list = c.caption;
                for (std::size_t start = 0; start <= list.size();) {
                    std::size_t bar = list.find('|', start);
                    if (bar == std::string::npos) bar = list.size();
                    SendMessageW(slot.hwnd, CB_ADDSTRING, 0,
                                 (LPARAM)Widen(list.substr(start, bar - start)).c_str());
                    start = bar + 1;
                }
            }
        }
        slots_.push_back(slot);
    }
}

HFONT FormWindow::FontFor(const layout::Font& font) {
    for (auto& f : fonts_)
        if (f.first == &font) return f.second;
    LOGFONTW lf = {};
    lf.lfHeight = -MulDiv(font.size_hundredths, (int)dpi_, 7200);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = font.italic ? FF_SCRIPT : FF_SWISS;
    lstrcpynW(lf.lfFaceName, ChooseFace(font, dpi_).c_str(), LF_FACESIZE);
    HFONT h = CreateFontIndirectW(&lf);
    fonts_.emplace_back(&font, h);
    return h;
}

void FormWindow::Layout(UINT dpi) {
    dpi_ = dpi;
    for (auto& f : fonts_) DeleteObject(f.second);
    fonts_.clear();
    for (Slot& s : slots_) {
        if (!s.hwnd) continue;
        const layout::Control& c = *s.row;
        int x = ToPixels(c.left, dpi), y = ToPixels(c.top, dpi);
        int w = ToPixels(c.left + c.width, dpi) - x, h = ToPixels(c.top + c.height, dpi) - y;
        HFONT font = FontFor(c.font ? *c.font : *form_.font);
        SendMessageW(s.hwnd, WM_SETFONT, (WPARAM)font, FALSE);
        if (c.kind == layout::Kind::kCombo) {
            // The window's height includes the drop-down list; the field's
            // own height comes from the font.
            SendMessageW(s.hwnd, CB_SETITEMHEIGHT, (WPARAM)-1, h - 6);
            h = h * 6;
        }
        SetWindowPos(s.hwnd, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
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
        for (Slot& s : self->slots_) {
            if (s.brush) DeleteObject(s.brush);
            s.brush = nullptr;
            s.hwnd = nullptr;
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    return self->Handle(msg, wp, lp);
}

LRESULT FormWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (lp && HIWORD(wp) == BN_CLICKED) {
            Slot* s = Find((HWND)lp);
            if (s && s->row->kind == layout::Kind::kButton && behaviour_) behaviour_->Click(s->row->name);
        }
        return 0;  // Enter and Escape (IDOK, IDCANCEL) do nothing: no default or cancel button
    case WM_HSCROLL:
        if (lp) Scroll((HWND)lp, LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_NEXTDLGCTL: {
        // The dialog manager's focus move: a label's access key asks for the
        // label, then for the next control after it that takes the focus.
        // Only dialog classes handle it by default; our windows are not one.
        HWND to = LOWORD(lp) ? (HWND)wp : GetNextDlgTabItem(hwnd_, GetFocus(), wp != 0);
        if (to) SetFocus(to);
        return 0;
    }
    case WM_CLOSE:  // the title bar's close box, Alt+F4
        Close();
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        return ColourControl((HDC)wp, (HWND)lp);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SETCURSOR:
        if (busy_) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_DPICHANGED: {
        const RECT* r = reinterpret_cast<const RECT*>(lp);
        SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        Layout(HIWORD(wp));
        return 0;
    }
    case WM_DESTROY:
        if (!GetWindow(hwnd_, GW_OWNER)) PostQuitMessage(0);  // the main window: the program ends
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

void FormWindow::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    HBRUSH back = form_.back == layout::kSystem ? GetSysColorBrush(COLOR_BTNFACE)
                                                 : CreateSolidBrush(Rgb(form_.back));
    FillRect(dc, &ps.rcPaint, back);
    if (form_.back != layout::kSystem) DeleteObject(back);
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT));
    HGDIOBJ old = SelectObject(dc, pen);
    for (const Slot& s : slots_) {
        const layout::Control& c = *s.row;
        if (c.kind != layout::Kind::kLine) continue;
        MoveToEx(dc, ToPixels(c.left, dpi_), ToPixels(c.top, dpi_), nullptr);
        LineTo(dc, ToPixels(c.width, dpi_), ToPixels(c.height, dpi_));
    }
    SelectObject(dc, old);
    DeleteObject(pen);
    EndPaint(hwnd_, &ps);
}

LRESULT FormWindow::ColourControl(HDC dc, HWND control) {
    Slot* s = Find(control);
    if (!s) return DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)control);
    const layout::Control& c = *s->row;
    bool text_box = c.kind == layout::Kind::kMemo || c.kind == layout::Kind::kTextBox;
    COLORREF fore = c.fore != layout::kSystem ? Rgb(c.fore)
                                              : GetSysColor(text_box ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
    COLORREF back = c.back != layout::kSystem ? Rgb(c.back)
                                              : GetSysColor(text_box ? COLOR_WINDOW : COLOR_BTNFACE);
    if (!s->brush) s->brush = CreateSolidBrush(back);
    SetTextColor(dc, fore);
    SetBkColor(dc, back);
    return (LRESULT)s->brush;
}

void FormWindow::Scroll(HWND bar, int code, int thumb) {
    Slot* s = Find(bar);
    if (!s) return;
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
    if (behaviour_) behaviour_->Change(s->row->name);
}

void FormWindow::SetText(const char* control, const std::string& text) {
    if (Slot* s = Find(control)) SetWindowTextW(s->hwnd, Widen(text).c_str());
}

std::string FormWindow::Text(const char* control) {
    Slot* s = Find(control);
    if (!s || !s->hwnd) return {};
    int n = GetWindowTextLengthW(s->hwnd);
    WString w(n + 1, L'\0');
    w.resize(GetWindowTextW(s->hwnd, &w[0], n + 1));
    return Narrow(w);
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

ui::Answer FormWindow::Message(const std::string& text, ui::Buttons buttons) {
    UINT type = buttons == ui::Buttons::kYesNo ? MB_YESNO | MB_DEFBUTTON1 : MB_OK;
    int r = MessageBoxW(hwnd_, Widen(text).c_str(), Widen(ui::kApplicationTitle).c_str(),
                        type | MB_APPLMODAL | MB_SETFOREGROUND);
    return r == IDYES ? ui::Answer::kYes : r == IDNO ? ui::Answer::kNo : ui::Answer::kOk;
}

void FormWindow::ShowModal(ui::Form form) {
    if (modal_) modal_(form, hwnd_);
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
