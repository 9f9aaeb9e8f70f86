// Fonts for the layouts' font rows at a given DPI.
//
// A row names a face ("MS Sans Serif", "Monotype Corsiva") that many systems
// lack. A stand-in of the same kind and size then takes its place, chosen by
// measuring: the first of the row's stand-ins that this system has and in
// which every text of every control using the row, in any window, fits that
// control at this DPI. Where none fits, the first stand-in present; where
// none is present, the system's own substitute for the named face. Sizes and
// rectangles never change. The choice is made once per row and DPI, when a
// window first needs the row, and stops at the first face that fits.
#include "app/win/form.h"

#include "platform/win/wide.h"

namespace {

LOGFONTW LogFont(const layout::Font& font, const wchar_t* face, UINT dpi) {
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
// frame, whether the text wraps (a centred label) and whether one line is
// centred vertically (a push button).
struct Room {
    int width = 0, height = 0;
    bool wraps = false, centred_vertically = false;
};

bool RoomOf(const layout::Control& c, UINT dpi, Room* room) {
    int w = ToPixels(c.left + c.width, dpi) - ToPixels(c.left, dpi);
    int h = ToPixels(c.top + c.height, dpi) - ToPixels(c.top, dpi);
    int edge = MulDiv(2, (int)dpi, 96);  // a 3-D frame, scaled as themes scale it
    switch (c.kind) {
    case layout::Kind::kButton:
        *room = {w - 2 * edge, h - 2 * edge, false, true};
        return true;
    case layout::Kind::kLabel: {
        int border = (c.flags & layout::kBorder) ? 1 : 0;  // WS_BORDER: one pixel at every DPI
        *room = {w - 2 * border, h - 2 * border, (c.flags & layout::kCentred) != 0, false};
        return true;
    }
    case layout::Kind::kTextBox:
        *room = {w - 2 * edge, h - 2 * edge, false, false};
        return true;
    case layout::Kind::kCombo:  // the field left of the arrow; its height is set apart
        *room = {w - 2 * edge - GetSystemMetrics(SM_CXVSCROLL), h - 6, false, false};
        return true;
    default:
        return false;  // pictures, lines, scroll bars, and the memo, which wraps and scrolls
    }
}

// A candidate face selected into a memory DC for measuring.
class Measurer {
public:
    Measurer(HDC dc, const layout::Font& row, const wchar_t* face, UINT dpi) : dc_(dc) {
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
        if (room.wraps) {  // every line inside the height
            DrawTextW(dc_, text, -1, &rc, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
            return rc.right <= room.width && rc.bottom <= room.height;
        }
        DrawTextW(dc_, text, -1, &rc, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
        Ink ink = InkOf(text);
        int top = room.centred_vertically ? (room.height - tm_.tmHeight) / 2 : 0;
        return rc.right - ink.left + ink.right <= room.width && top + ink.top >= 0 &&
               top + ink.bottom <= room.height;
    }

private:
    // How far the drawn glyphs reach beyond a line's box: left of its start,
    // right of its end (italics lean out), and their rows from its top.
    struct Ink {
        int left = 0, right = 0, top = 0, bottom = 0;
    };
    Ink InkOf(const wchar_t* text) const {
        Ink ink;
        ink.bottom = tm_.tmHeight;
        const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
        bool first = true, any = false;
        int lowest = 0, highest = 0, last_over = 0;
        for (const wchar_t* p = text; *p; ++p) {
            if (*p == L'&' && p[1]) ++p;  // an access key's marker draws nothing
            GLYPHMETRICS gm;
            if (GetGlyphOutlineW(dc_, *p, GGO_METRICS, &gm, 0, nullptr, &identity) == GDI_ERROR)
                return ink;  // a bitmap face: its cell is all there is
            if (*p == L' ') continue;
            if (first) ink.left = gm.gmptGlyphOrigin.x < 0 ? gm.gmptGlyphOrigin.x : 0;
            first = false;
            last_over = gm.gmptGlyphOrigin.x + (int)gm.gmBlackBoxX - gm.gmCellIncX;
            int top = tm_.tmAscent - gm.gmptGlyphOrigin.y;
            int bottom = top + (int)gm.gmBlackBoxY;
            if (!any || top < highest) highest = top;
            if (!any || bottom > lowest) lowest = bottom;
            any = true;
        }
        if (!any) return ink;
        ink.right = last_over > 0 ? last_over : 0;
        ink.top = highest;
        ink.bottom = lowest;
        return ink;
    }

    HDC dc_;
    HFONT font_;
    HGDIOBJ old_;
    TEXTMETRICW tm_;
};

// Whether every text of every control that uses `row`, in any window, fits
// its control in the measurer's face at `dpi`.
bool AllFit(const Measurer& m, const layout::Font& row, UINT dpi) {
    for (const layout::Form* form : layout::kForms) {
        for (std::size_t i = 0; i < form->count; ++i) {
            const layout::Control& c = form->controls[i];
            Room room;
            if ((c.font ? c.font : form->font) != &row || !RoomOf(c, dpi, &room)) continue;
            // The caption (for a combo, its list "a|b|c"), then what the
            // behaviour may show there.
            for (const char* texts : {c.caption, c.also_shows}) {
                if (!texts) continue;
                WString all = Widen(texts);
                for (std::size_t start = 0; start <= all.size();) {
                    std::size_t bar = c.kind == layout::Kind::kCombo || texts == c.also_shows
                                          ? all.find(L'|', start)
                                          : WString::npos;
                    if (bar == WString::npos) bar = all.size();
                    if (bar > start && !m.Fits(all.substr(start, bar - start).c_str(), room))
                        return false;
                    start = bar + 1;
                }
            }
        }
    }
    return true;
}

WString ChooseFace(const layout::Font& row, UINT dpi) {
    HDC dc = CreateCompatibleDC(nullptr);
    WString chosen, first_present;
    for (int i = -1; chosen.empty(); ++i) {
        const char* name = i < 0 ? row.face : row.substitutes ? row.substitutes[i] : nullptr;
        if (!name) break;
        WString face = Widen(name);
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
        if (AllFit(m, row, dpi)) chosen = face;
    }
    DeleteDC(dc);
    if (!chosen.empty()) return chosen;
    return first_present.empty() ? Widen(row.face) : first_present;
}

// The face for `row` at `dpi`, chosen once for the process.
const WString& FaceFor(const layout::Font& row, UINT dpi) {
    struct Choice {
        const layout::Font* row;
        UINT dpi;
        WString face;
    };
    static std::vector<Choice> chosen;
    for (const Choice& c : chosen)
        if (c.row == &row && c.dpi == dpi) return c.face;
    chosen.push_back({&row, dpi, ChooseFace(row, dpi)});
    return chosen.back().face;
}

}  // namespace

HFONT FormWindow::FontFor(const layout::Font& font) {
    for (auto& f : fonts_)
        if (f.first == &font) return f.second;
    LOGFONTW lf = LogFont(font, FaceFor(font, dpi_).c_str(), dpi_);
    HFONT h = CreateFontIndirectW(&lf);
    fonts_.emplace_back(&font, h);
    return h;
}
