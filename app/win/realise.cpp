// Realising a layout table: the controls it lists, created once, and the
// window and its controls placed and sized at the monitor's DPI.
#include "app/win/form.h"

#include <cmath>
#include <vector>

#include "app/win/pictures.h"
#include "app/win/system.h"
#include "platform/win/wide.h"

namespace {

constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL

constexpr int kIconSize = 32;  // the one picture of the application icon

// A system metric at `dpi` (Windows 10 1607 and later), else the system's
// own in proportion.
int MetricForDpi(int index, UINT dpi) {
    using ForDpi = int(WINAPI*)(int, UINT);
    static auto for_dpi = reinterpret_cast<ForDpi>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    if (for_dpi) return for_dpi(index, dpi);
    return MulDiv(GetSystemMetrics(index), (int)dpi, (int)DpiOf(nullptr));
}

// Weights of `from` source pixels for each of `to` target pixels along one
// axis: a tent as wide as a target pixel when shrinking, so that every source
// pixel counts, and as wide as a source pixel when growing, which blends
// neighbours linearly.
std::vector<std::vector<float>> Weights(int from, int to) {
    float scale = (float)from / (float)to;
    float radius = scale > 1 ? scale : 1;
    std::vector<std::vector<float>> w(to, std::vector<float>(from, 0.f));
    for (int o = 0; o < to; ++o) {
        float centre = ((float)o + 0.5f) * scale - 0.5f, sum = 0;
        for (int i = 0; i < from; ++i) {
            float x = 1 - std::fabs((float)i - centre) / radius;
            if (x > 0) sum += w[o][i] = x;
        }
        for (float& x : w[o]) x /= sum;
    }
    return w;
}

// 32-bit top-down pixels of a bitmap, size by size.
std::vector<DWORD> Pixels32(HBITMAP bitmap, int size) {
    std::vector<DWORD> px((std::size_t)size * size);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bitmap, 0, (UINT)size, px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    return px;
}

// The icon picture at `size` pixels: as it is at its own size, else scaled
// once, smoothly, with its transparent ground kept transparent (colours are
// mixed by their opacity, then given an alpha channel).
HICON LoadIconAt(int size) {
    HICON natural = (HICON)LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                      kIconSize, kIconSize, 0);
    if (!natural || size == kIconSize || size <= 0) return natural;
    ICONINFO info = {};
    if (!GetIconInfo(natural, &info)) return natural;
    std::vector<DWORD> colour = Pixels32(info.hbmColor, kIconSize);
    std::vector<DWORD> mask = Pixels32(info.hbmMask, kIconSize);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(natural);

    // Premultiplied blue, green, red, alpha, from 0 to 1.
    std::vector<float> src((std::size_t)kIconSize * kIconSize * 4);
    for (std::size_t i = 0; i < colour.size(); ++i) {
        float a = (mask[i] & 0xFFFFFF) ? 0.f : 1.f;
        for (int c = 0; c < 3; ++c) src[i * 4 + c] = a * (float)((colour[i] >> (8 * c)) & 0xFF) / 255.f;
        src[i * 4 + 3] = a;
    }
    auto w = Weights(kIconSize, size);
    std::vector<float> rows((std::size_t)kIconSize * size * 4, 0.f);  // scaled across
    for (int y = 0; y < kIconSize; ++y)
        for (int x = 0; x < size; ++x)
            for (int i = 0; i < kIconSize; ++i)
                if (float k = w[x][i])
                    for (int c = 0; c < 4; ++c)
                        rows[((std::size_t)y * size + x) * 4 + c] += k * src[((std::size_t)y * kIconSize + i) * 4 + c];

    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    int stride = ((size + 15) / 16) * 2;  // a monochrome bitmap's rows are whole WORDs
    std::vector<BYTE> and_mask((std::size_t)stride * size, 0);
    if (!dib) return nullptr;
    auto* out = static_cast<DWORD*>(bits);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float px[4] = {};
            for (int j = 0; j < kIconSize; ++j)
                if (float k = w[y][j])
                    for (int c = 0; c < 4; ++c) px[c] += k * rows[((std::size_t)j * size + x) * 4 + c];
            float a = px[3];
            DWORD v = (DWORD)std::lround(a * 255.f) << 24;
            for (int c = 0; c < 3 && a > 0; ++c) {
                long b = std::lround(px[c] / a * 255.f);  // straight colour for the icon
                v |= (DWORD)(b < 0 ? 0 : b > 255 ? 255 : b) << (8 * c);
            }
            out[y * size + x] = v;
            if (a < 0.5f) and_mask[(std::size_t)y * stride + x / 8] |= (BYTE)(0x80 >> (x % 8));
        }
    HBITMAP mono = CreateBitmap(size, size, 1, 1, and_mask.data());
    ICONINFO ii = {TRUE, 0, 0, mono, dib};
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(mono);
    DeleteObject(dib);
    return icon;
}

}  // namespace

void FormWindow::SetIcons() {
    if (!form_.icon) return;
    const int kinds[2][2] = {{ICON_SMALL, SM_CXSMICON}, {ICON_BIG, SM_CXICON}};
    for (const auto& k : kinds) {
        HICON icon = LoadIconAt(MetricForDpi(k[1], dpi_));
        SendMessageW(hwnd_, WM_SETICON, (WPARAM)k[0], (LPARAM)icon);
        if (icons_[k[0]]) DestroyIcon(icons_[k[0]]);
        icons_[k[0]] = icon;
    }
}

const DWORD FormWindow::kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

DWORD FormWindow::FormExStyle(const layout::Form& f) {
    // A dialog frame without an icon is the classic modal frame.
    return WS_EX_CONTROLPARENT |
           (f.frame == layout::Frame::kFixedDialog && !f.icon ? WS_EX_DLGMODALFRAME : 0);
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

void FormWindow::Place() {
    // Size from the client area; place the client origin where the layout
    // says, or where the system puts a new window.
    RECT rc = {0, 0, ToPixels(form_.client_width, dpi_), ToPixels(form_.client_height, dpi_)};
    AdjustForDpi(&rc, kFormStyle, FormExStyle(form_), dpi_);
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
