// Realising a layout table: the controls it lists, created once, and the
// window, its controls and its icons placed and sized at the monitor's DPI.
#include "app/win/form.h"

#include "app/win/icon.h"
#include "app/win/pictures.h"
#include "app/win/system.h"
#include "platform/win/wide.h"

namespace app {

namespace {

constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL

}  // namespace

// The application icon, small and big, at this window's DPI; the ones it had
// before go.
void FormWindow::SetIcons() {
    if (!form_.icon) return;
    const int kinds[2][2] = {{ICON_SMALL, SM_CXSMICON}, {ICON_BIG, SM_CXICON}};
    for (const auto& k : kinds) {
        HICON icon = LoadIconAt(IconMetric(k[1], dpi_));
        SendMessageW(hwnd_, WM_SETICON, (WPARAM)k[0], (LPARAM)icon);
        if (icons_[k[0]]) DestroyIcon(icons_[k[0]]);
        icons_[k[0]] = icon;
    }
}

const DWORD FormWindow::kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

DWORD FormWindow::FormExStyle(const Form& f) {
    // A dialog frame without an icon is the classic modal frame.
    return WS_EX_CONTROLPARENT |
           (f.frame == Frame::kFixedDialog && !f.icon ? WS_EX_DLGMODALFRAME : 0);
}

void FormWindow::CreateControls() {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    slots_.clear();
    slots_.reserve(form_.count);
    for (std::size_t i = 0; i < form_.count; ++i) {
        const Control& c = form_.controls[i];
        Slot slot;
        slot.row = &c;
        const wchar_t* cls = nullptr;
        DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (c.tab_stop ? WS_TABSTOP : 0);
        DWORD ex = 0;
        platform::WString text = platform::Widen(c.caption);
        switch (c.kind) {
        case Kind::kButton:
            cls = L"BUTTON";
            style |= BS_PUSHBUTTON;
            break;
        case Kind::kLabel:
            cls = L"STATIC";
            style |= (c.flags & kCentred) ? SS_CENTER : SS_LEFTNOWORDWRAP;
            if (c.flags & kBorder) style |= WS_BORDER;
            break;
        case Kind::kPictureBox:
        case Kind::kImage:
            cls = kPictureClass;
            text.clear();
            break;
        case Kind::kTextBox:
            cls = L"EDIT";
            style |= ES_AUTOHSCROLL | ((c.flags & kCentred) ? ES_CENTER : ES_LEFT);
            ex = WS_EX_CLIENTEDGE;
            break;
        case Kind::kMemo:
            cls = L"EDIT";
            style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL |
                     ((c.flags & kReadOnly) ? ES_READONLY : 0);
            ex = WS_EX_CLIENTEDGE;
            break;
        case Kind::kScrollBar:
            cls = L"SCROLLBAR";
            style |= SBS_HORZ;
            break;
        case Kind::kCombo:
            cls = L"COMBOBOX";
            style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
            text.clear();
            break;
        case Kind::kLine:
            break;  // drawn on the window's surface
        }
        if (cls) {
            slot.hwnd = CreateWindowExW(ex, cls, text.c_str(), style, 0, 0, 0, 0, hwnd_,
                                        (HMENU)(INT_PTR)(kFirstControlId + i), inst, nullptr);
            if (c.kind == Kind::kPictureBox || c.kind == Kind::kImage)
                SetPicture(slot.hwnd, c.caption);
            // A scroll bar control starts with an empty range, where every
            // value set is clamped to 0. Layouts set no range of their own, so
            // give it room for a first value, as the classic toolkits did;
            // the behaviour narrows it when it handles the change.
            if (c.kind == Kind::kScrollBar) SetScrollRange(slot.hwnd, SB_CTL, 0, 32767, FALSE);
            if (c.kind == Kind::kCombo) {
                std::string list = c.caption;
                for (std::size_t start = 0; start <= list.size();) {
                    std::size_t bar = list.find('|', start);
                    if (bar == std::string::npos) bar = list.size();
                    SendMessageW(slot.hwnd, CB_ADDSTRING, 0,
                                 (LPARAM)platform::Widen(list.substr(start, bar - start)).c_str());
                    start = bar + 1;
                }
            }
        }
        slots_.push_back(slot);
    }
}

void FormWindow::Place() {
    // Size from the client area; place the client origin where the layout
    // says, or where the system puts a new window.
    RECT rc = {0, 0, ToPixels(form_.client_width, dpi_), ToPixels(form_.client_height, dpi_)};
    AdjustForDpi(&rc, kFormStyle, FormExStyle(form_), dpi_);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    int x = 0, y = 0;
    if (form_.left == kSystemPlaced) {
        flags |= SWP_NOMOVE;
    } else {
        x = ToPixels(form_.left, dpi_) + rc.left;
        y = ToPixels(form_.top, dpi_) + rc.top;
    }
    SetWindowPos(hwnd_, nullptr, x, y, rc.right - rc.left, rc.bottom - rc.top, flags);
    Layout(dpi_);
}

void FormWindow::Layout(UINT dpi) {
    dpi_ = dpi;
    // The old fonts go only once no control holds them any more.
    std::vector<std::pair<const Font*, HFONT>> old;
    old.swap(fonts_);
    for (Slot& s : slots_) {
        if (!s.hwnd) continue;
        const Control& c = *s.row;
        int x = ToPixels(c.left, dpi), y = ToPixels(c.top, dpi);
        int w = ToPixels(c.left + c.width, dpi) - x, h = ToPixels(c.top + c.height, dpi) - y;
        HFONT font = FontFor(c.font ? *c.font : *form_.font);
        SendMessageW(s.hwnd, WM_SETFONT, (WPARAM)font, FALSE);
        if (c.kind == Kind::kCombo) {
            // The window's height includes the drop-down list; the field's
            // own height comes from the font.
            SendMessageW(s.hwnd, CB_SETITEMHEIGHT, (WPARAM)-1, h - 6);
            h = h * 6;
        }
        SetWindowPos(s.hwnd, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (auto& f : old) DeleteObject(f.second);
    // The fonts were set without drawing and the moves keep the old bits, and
    // the window's own invalidation stops at its children (WS_CLIPCHILDREN):
    // every control is drawn afresh, or a label keeps its text of the old size.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace app
