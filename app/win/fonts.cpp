// Fonts for the layouts' font rows at a given DPI.
#include "app/win/form.h"

#include "platform/win/wide.h"

namespace {

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

}  // namespace

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
