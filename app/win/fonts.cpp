// Fonts for the layouts' font rows at a given DPI.
//
// A row names a face ("MS Sans Serif", "Monotype Corsiva") that many systems
// lack. A stand-in of the same kind and size then takes its place, chosen by
// measuring: the first of the row's stand-ins that this system has and in
// which every text of every control using the row, in any window, fits that
// control at this DPI. Where none fits, the first stand-in present; where
// none is present, the system's own substitute for the named face. A row
// that a wrapping text box uses (the help text) takes, among the stand-ins
// that fit, the one whose lines, as the box wraps them, leave the fewest
// holding a single word. Sizes and rectangles never change. The choice is
// made once per row and DPI, when a window first needs the row.
#include "app/win/form.h"

#include "platform/win/wide.h"

namespace app {

namespace {

LOGFONTW LogFont(const Font& font, const wchar_t* face, UINT dpi) {
    LOGFONTW lf = {};
    lf.lfHeight = -MulDiv(font.size_hundredths, (int)dpi, 7200);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = font.italic ? FF_SCRIPT : FF_SWISS;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    return lf;
}

struct Listed {
    bool found = false;
    bool raster = false;
};

int CALLBACK OnFace(const LOGFONTW*, const TEXTMETRICW*, DWORD type, LPARAM data) {
    auto* q = reinterpret_cast<Listed*>(data);
    q->found = true;
    q->raster = (type & RASTER_FONTTYPE) != 0;
    return 0;
}

// Where a control draws its text, in pixels at a DPI: the room inside its
// frame, the parts of it that controls lying above cover (neighbours
// overlap by a pixel or two), how the text is placed in it, and whether it
// wraps (a centred label).
struct Room {
    int width = 0, height = 0;
    bool centred = false, centred_vertically = false, wraps = false;
    RECT covered[4] = {};  // relative to the room
    int covers = 0;
};

bool RoomOf(const Form& form, std::size_t index, UINT dpi, Room* room) {
    const Control& c = form.controls[index];
    RECT at = {ToPixels(c.left, dpi), ToPixels(c.top, dpi), ToPixels(c.left + c.width, dpi),
               ToPixels(c.top + c.height, dpi)};
    int w = at.right - at.left, h = at.bottom - at.top;
    int edge = MulDiv(2, (int)dpi, 96);  // a 3-D frame, scaled as themes scale it
    int inset = edge;                    // from the control's edge to its room
    *room = Room();
    switch (c.kind) {
    case Kind::kButton:
        room->centred = room->centred_vertically = true;
        room->width = w - 2 * edge, room->height = h - 2 * edge;
        break;
    case Kind::kLabel:
        inset = (c.flags & kBorder) ? 1 : 0;  // WS_BORDER: one pixel at every DPI
        room->centred = room->wraps = (c.flags & kCentred) != 0;
        room->width = w - 2 * inset, room->height = h - 2 * inset;
        break;
    case Kind::kTextBox:
        room->centred = (c.flags & kCentred) != 0;
        room->width = w - 2 * edge, room->height = h - 2 * edge;
        break;
    case Kind::kCombo:  // the field left of the arrow; its height is set apart
        room->width = w - 2 * edge - GetSystemMetrics(SM_CXVSCROLL), room->height = h - 6;
        break;
    default:
        return false;  // pictures, lines, scroll bars, and the memo, which wraps and scrolls
    }
    // Earlier rows lie above later ones (every row but a line is a window).
    for (std::size_t j = 0; j < index && room->covers < 4; ++j) {
        const Control& o = form.controls[j];
        if (o.kind == Kind::kLine) continue;
        RECT over = {ToPixels(o.left, dpi), ToPixels(o.top, dpi), ToPixels(o.left + o.width, dpi),
                     ToPixels(o.top + o.height, dpi)};
        RECT both;
        if (!IntersectRect(&both, &at, &over)) continue;
        OffsetRect(&both, -at.left - inset, -at.top - inset);
        room->covered[room->covers++] = both;
    }
    return true;
}

// A candidate face selected into a memory DC for measuring.
class Measurer {
public:
    Measurer(HDC dc, const Font& row, const wchar_t* face, UINT dpi) : dc_(dc) {
        LOGFONTW lf = LogFont(row, face, dpi);
        font_ = CreateFontIndirectW(&lf);
        old_ = SelectObject(dc_, font_);
        GetTextMetricsW(dc_, &tm_);
    }
    ~Measurer() {
        SelectObject(dc_, old_);
        DeleteObject(font_);
    }
    Measurer(const Measurer&) = delete;
    Measurer& operator=(const Measurer&) = delete;

    // The face the system gave: Wine answers for a missing name with another
    // face, which only this shows.
    bool Is(const wchar_t* face) const {
        wchar_t got[LF_FACESIZE] = {};
        GetTextFaceW(dc_, LF_FACESIZE, got);
        return lstrcmpiW(got, face) == 0;
    }

    bool Fits(const wchar_t* text, const Room& room) const {
        RECT rc = {0, 0, room.width, 0};
        if (room.wraps) {
            DrawTextW(dc_, text, -1, &rc, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
            if (rc.bottom > tm_.tmHeight) {  // more than one line: all inside the height
                OffsetRect(&rc, (room.width - rc.right) / 2, 0);
                return Clear(rc, room);
            }
        }
        DrawTextW(dc_, text, -1, &rc, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
        RECT ink = InkOf(text);
        // Across, upright glyphs keep within the line's box (their outline
        // boxes are a pixel loose); italic ones may lean out of it, or begin
        // clear of a neighbour's edge over its first pixels.
        if (!tm_.tmItalic) ink.left = 0;
        ink.right = tm_.tmItalic && ink.right > rc.right ? ink.right : rc.right;
        OffsetRect(&ink, room.centred ? (room.width - rc.right) / 2 : 0,
                   room.centred_vertically ? (room.height - tm_.tmHeight) / 2 : 0);
        return Clear(ink, room);
    }

private:
    // Whether `box` lies in the room and under nothing that covers it.
    static bool Clear(const RECT& box, const Room& room) {
        if (box.left < 0 || box.top < 0 || box.right > room.width || box.bottom > room.height)
            return false;
        RECT both;
        for (int i = 0; i < room.covers; ++i)
            if (IntersectRect(&both, &box, &room.covered[i])) return false;
        return true;
    }

    // The box of the glyphs of a line drawn from (0, 0), from their outlines'
    // metrics: most glyphs stay clear of the line's top and bottom.
    RECT InkOf(const wchar_t* text) const {
        if (!(tm_.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE))) return DrawnRows(text);
        const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
        RECT ink = {0, 0, 0, 0};
        bool any = false;
        int pen = 0;
        for (const wchar_t* p = text; *p; ++p) {
            if (*p == L'&' && p[1]) ++p;  // an access key's marker draws nothing
            GLYPHMETRICS gm;
            if (GetGlyphOutlineW(dc_, *p, GGO_METRICS, &gm, 0, nullptr, &identity) == GDI_ERROR)
                return DrawnRows(text);
            if (gm.gmBlackBoxX > 0 && *p != L' ') {
                RECT glyph = {pen + gm.gmptGlyphOrigin.x, tm_.tmAscent - gm.gmptGlyphOrigin.y,
                              pen + gm.gmptGlyphOrigin.x + (int)gm.gmBlackBoxX,
                              tm_.tmAscent - gm.gmptGlyphOrigin.y + (int)gm.gmBlackBoxY};
                if (any)
                    UnionRect(&ink, &ink, &glyph);
                else
                    ink = glyph;
                any = true;
            }
            pen += gm.gmCellIncX;
        }
        return ink;
    }

    // A bitmap face has no outlines (Windows gives no metrics for its glyphs,
    // Wine their cells): its line is drawn, black on white, and the rows it
    // inks found (an access key's underline among them); across, its glyphs
    // keep within their cells.
    RECT DrawnRows(const wchar_t* text) const {
        RECT cells = {0, 0, 0, tm_.tmHeight};
        DrawTextW(dc_, text, -1, &cells, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = cells.right;
        bi.bmiHeader.biHeight = -cells.bottom;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        DWORD* px = nullptr;
        HBITMAP bmp = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, (void**)&px, nullptr, 0);
        if (!bmp) return cells;
        HGDIOBJ old = SelectObject(dc_, bmp);
        const int n = cells.right * cells.bottom;
        for (int i = 0; i < n; ++i) px[i] = 0xFFFFFF;
        SetTextColor(dc_, 0);
        SetBkColor(dc_, 0xFFFFFF);
        DrawTextW(dc_, text, -1, &cells, DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP);
        GdiFlush();
        int top = cells.bottom, bottom = 0;
        for (int i = 0; i < n; ++i) {
            if ((px[i] & 0xFFFFFF) == 0xFFFFFF) continue;
            if (i / cells.right < top) top = i / cells.right;
            bottom = i / cells.right + 1;
        }
        SelectObject(dc_, old);
        DeleteObject(bmp);
        cells.top = bottom ? top : 0;
        cells.bottom = bottom;
        return cells;
    }

    HDC dc_;
    HFONT font_;
    HGDIOBJ old_;
    TEXTMETRICW tm_;
};

// Whether every text of every control that uses `row`, in any window, fits
// its control in the measurer's face at `dpi`.
bool AllFit(const Measurer& m, const Font& row, UINT dpi) {
    for (const Form* form : kForms) {
        for (std::size_t i = 0; i < form->count; ++i) {
            const Control& c = form->controls[i];
            Room room;
            if ((c.font ? c.font : form->font) != &row || !RoomOf(*form, i, dpi, &room)) continue;
            // The caption (for a combo, its list "a|b|c"), then what the
            // behaviour may show there.
            for (const char* texts : {c.caption, c.also_shows}) {
                if (!texts) continue;
                platform::WString all = platform::Widen(texts);
                for (std::size_t start = 0; start <= all.size();) {
                    std::size_t bar = c.kind == Kind::kCombo || texts == c.also_shows
                                          ? all.find(L'|', start)
                                          : platform::WString::npos;
                    if (bar == platform::WString::npos) bar = all.size();
                    if (bar > start && !m.Fits(all.substr(start, bar - start).c_str(), room))
                        return false;
                    start = bar + 1;
                }
            }
        }
    }
    return true;
}

// The wrapping text box that uses `row`, if any.
const Control* MemoOf(const Font& row) {
    for (const Form* form : kForms)
        for (const Control* c = form->controls; c != form->controls + form->count; ++c)
            if (c->kind == Kind::kMemo && (c->font ? c->font : form->font) == &row) return c;
    return nullptr;
}

// How many lines of the memo's text hold a single word when a hidden box of
// the memo's kind and size wraps it in `face`: the box itself decides where
// its lines break, so nothing here has to agree with it.
int SingleWordLines(const Control& memo, const Font& row, const wchar_t* face, UINT dpi) {
    LOGFONTW lf = LogFont(row, face, dpi);
    HFONT font = CreateFontIndirectW(&lf);
    HWND box = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", platform::Widen(memo.caption).c_str(),
                               WS_POPUP | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_READONLY, 0, 0,
                               ToPixels(memo.width, dpi), ToPixels(memo.height, dpi), nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    SendMessageW(box, WM_SETFONT, (WPARAM)font, FALSE);
    int lines = (int)SendMessageW(box, EM_GETLINECOUNT, 0, 0), single = 0;
    for (int i = 0; i < lines; ++i) {
        wchar_t text[512];
        *(WORD*)text = (WORD)(sizeof text / sizeof *text - 1);
        int n = (int)SendMessageW(box, EM_GETLINE, i, (LPARAM)text);
        int words = 0;
        for (int k = 0; k < n; ++k) words += text[k] != L' ' && (k == 0 || text[k - 1] == L' ');
        single += words == 1;
    }
    DestroyWindow(box);
    DeleteObject(font);
    return single;
}

platform::WString ChooseFace(const Font& row, UINT dpi) {
    HDC dc = CreateCompatibleDC(nullptr);
    const Control* memo = MemoOf(row);
    platform::WString chosen, first_present;
    int fewest = 0;
    for (int i = -1; chosen.empty() || (memo && i >= 0 && fewest > 0); ++i) {
        const char* name = i < 0 ? row.face : row.substitutes ? row.substitutes[i] : nullptr;
        if (!name) break;
        platform::WString face = platform::Widen(name);
        LOGFONTW query = {};
        query.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(query.lfFaceName, face.c_str(), LF_FACESIZE);
        Listed listed;
        EnumFontFamiliesExW(dc, &query, OnFace, (LPARAM)&listed, 0);
        // A bitmap face (the real "MS Sans Serif") only at 96 dpi, where it
        // was drawn; elsewhere its scalable stand-ins look right.
        if (!listed.found || (listed.raster && dpi != 96)) continue;
        Measurer m(dc, row, face.c_str(), dpi);
        if (!m.Is(face.c_str())) continue;
        if (first_present.empty()) first_present = face;
        if (!AllFit(m, row, dpi)) continue;
        // The named face, present and fitting, stays; among stand-ins, a
        // memo's row goes on looking for fewer one-word lines.
        int single = memo && i >= 0 ? SingleWordLines(*memo, row, face.c_str(), dpi) : 0;
        if (chosen.empty() || single < fewest) chosen = face, fewest = single;
    }
    DeleteDC(dc);
    if (!chosen.empty()) return chosen;
    return first_present.empty() ? platform::Widen(row.face) : first_present;
}

// The face for `row` at `dpi`, chosen once for the process. Each choice is
// a node of its own, made once and never moved or freed: a face handed out
// stays valid for the life of the process, however many are chosen after it.
// (A plain list, not a container: a std::deque here cost about 1.5 KB of
// code.)
const platform::WString& FaceFor(const Font& row, UINT dpi) {
    struct Choice {
        const Font* row;
        UINT dpi;
        platform::WString face;
        const Choice* next;
    };
    static const Choice* chosen = nullptr;
    for (const Choice* c = chosen; c; c = c->next)
        if (c->row == &row && c->dpi == dpi) return c->face;
    chosen = new Choice{&row, dpi, ChooseFace(row, dpi), chosen};
    return chosen->face;
}

}  // namespace

HFONT FormWindow::FontFor(const Font& font) {
    for (auto& f : fonts_)
        if (f.first == &font) return f.second;
    LOGFONTW lf = LogFont(font, FaceFor(font, dpi_).c_str(), dpi_);
    HFONT h = CreateFontIndirectW(&lf);
    fonts_.emplace_back(&font, h);
    return h;
}

}  // namespace app
