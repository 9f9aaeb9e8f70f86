// Painting the window's surface (background, straight lines) and the colours
// of its labels and text boxes.
#include "app/win/form.h"

namespace app {

namespace {

COLORREF Rgb(std::uint32_t c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

}  // namespace

void FormWindow::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    HBRUSH back = form_.back == kSystem ? GetSysColorBrush(COLOR_BTNFACE)
                                        : CreateSolidBrush(Rgb(form_.back));
    FillRect(dc, &ps.rcPaint, back);
    if (form_.back != kSystem) DeleteObject(back);
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT));
    HGDIOBJ old = SelectObject(dc, pen);
    for (const Slot& s : slots_) {
        const Control& c = *s.row;
        if (c.kind != Kind::kLine) continue;
        MoveToEx(dc, ToPixels(c.left, dpi_), ToPixels(c.top, dpi_), nullptr);
        LineTo(dc, ToPixels(c.width, dpi_), ToPixels(c.height, dpi_));
    }
    SelectObject(dc, old);
    DeleteObject(pen);
    EndPaint(hwnd_, &ps);
}

// Labels and text boxes in their layout's colours, or in the system's; a
// combo box, its text field and its list (children that are no control of
// the layout) in the system's window colours, as for a text box.
LRESULT FormWindow::ColourControl(UINT msg, HDC dc, HWND control) {
    Slot* s = Find(control);
    if (!s) {
        HWND parent = GetParent(control);
        Slot* combo = parent ? Find(parent) : nullptr;
        bool in_combo = (combo && combo->row->kind == Kind::kCombo) ||
                        msg == WM_CTLCOLORLISTBOX;
        if (!in_combo) return DefWindowProcW(hwnd_, msg, (WPARAM)dc, (LPARAM)control);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return (LRESULT)GetSysColorBrush(COLOR_WINDOW);
    }
    const Control& c = *s->row;
    bool window_colours = c.kind == Kind::kMemo || c.kind == Kind::kTextBox ||
                          c.kind == Kind::kCombo;
    COLORREF fore = c.fore != kSystem ? Rgb(c.fore)
                                      : GetSysColor(window_colours ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
    COLORREF back = c.back != kSystem ? Rgb(c.back)
                                      : GetSysColor(window_colours ? COLOR_WINDOW : COLOR_BTNFACE);
    if (!s->brush) s->brush = CreateSolidBrush(back);
    SetTextColor(dc, fore);
    SetBkColor(dc, back);
    return (LRESULT)s->brush;
}

}  // namespace app
