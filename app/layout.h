// app/: the top floor, start-up, layouts, the Win32 front end and resources.
// Includes every floor below (platform/, panel/, settings/); nothing includes it.
//
// Window layouts as data.
//
// Each window is one const table of its controls, in tab order, with
// positions and sizes in twips (1/1440 inch; 15 twips make a pixel at 96 dpi)
// measured from the client area's top-left corner. One function per platform
// realises a table at the monitor's DPI (app/win/realise.cpp). Controls are
// created in table order, so earlier rows lie above later ones where they
// overlap; borderless pictures come last and lie beneath everything.
#pragma once

#include <cstddef>
#include <cstdint>

namespace app {

enum class Kind : std::uint8_t {
    kButton,      // push button; '&' marks the access key
    kLabel,       // static text, never takes the focus
    kPictureBox,  // picture that takes the focus without showing it
    kImage,       // borderless picture drawn beneath the controls
    kTextBox,     // single-line editable text
    kMemo,        // multi-line read-only text, vertical scroll bar, word wrap
    kScrollBar,   // horizontal scroll bar
    kCombo,       // editable combo box with a fixed, unsorted list
    kLine,        // straight line from (left, top) to (width, height), in twips
};

// Colours as 0xRRGGBB; kSystem keeps the control's own system colours.
constexpr std::uint32_t kSystem = 0xFFFFFFFFu;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// A font row. When this system lacks `face`, a stand-in of the same kind
// (sans-serif for a sans-serif face, script for a script face) and the same
// size takes its place: the first of `substitutes` whose every text fits its
// control at the monitor's DPI (app/win/fonts.cpp).
struct Font {
    const char* face;     // asked for first
    const char* const* substitutes;  // stand-ins in order of preference; may be null
    int size_hundredths;  // point size times 100: 825 for 8.25 pt
    bool bold;
    bool italic;
};

enum Flags : unsigned {
    kBorder = 1,    // single-line border
    kCentred = 2,   // text centred (left-aligned otherwise)
    kReadOnly = 4,
};

// A row is written in the order above: name, kind, caption, left, top, width,
// height, tab stop, font, colours, flags, other texts. It is held pointers
// first and in narrow fields, so that a table takes little room.
struct Control {
    const char* name;     // as the behaviour code knows it: "Command5", "Picture2(0)"
    const char* caption;  // text; for pictures the resource name; for a combo, its list "a|b|c"
    const Font* font;     // null: the window's font
    // Other texts the behaviour puts here at run time, '|'-separated: the
    // fonts must fit them as they fit the caption. Null: none.
    const char* also_shows;
    std::int16_t left, top, width, height;
    std::uint32_t fore, back;
    Kind kind;
    bool tab_stop;        // false: never takes the focus
    std::uint8_t flags;

    constexpr Control(const char* name, Kind kind, const char* caption, int left, int top, int width, int height,
                      bool tab_stop, const Font* font, std::uint32_t fore, std::uint32_t back, unsigned flags,
                      const char* also_shows = nullptr)
        : name(name), caption(caption), font(font), also_shows(also_shows), left(std::int16_t(left)),
          top(std::int16_t(top)), width(std::int16_t(width)), height(std::int16_t(height)), fore(fore),
          back(back), kind(kind), tab_stop(tab_stop), flags(std::uint8_t(flags)) {}
};

enum class Frame { kFixedDialog, kFixedSingle };

// Where the client area's top-left corner goes, in twips from the screen's
// top-left corner; kSystemPlaced lets the window system choose.
constexpr int kSystemPlaced = -1;

struct Form {
    const char* name;      // "frm1", "GameOptions", "About", "Help"
    const char* caption;
    int client_width, client_height;  // twips
    int left, top;                    // twips, or kSystemPlaced
    Frame frame;
    bool icon;             // shows the application icon
    std::uint32_t back;    // background, or kSystem for the dialog face colour
    const Font* font;
    const Control* controls;
    std::size_t count;
    const char* focus;     // control that holds the focus when the window opens
};

// The sans-serif face of every window's text, and its stand-ins.
extern const char* const kSansSerifSubstitutes[];
extern const Font kSansSerif;  // "MS Sans Serif" 8.25 pt regular

extern const Form kFrm1Layout;
extern const Form kGameOptionsLayout, kAboutLayout, kHelpLayout;  // the modal windows
// All four, for what concerns every window at once (the fonts).
extern const Form* const kForms[4];

// Twips to pixels at `dpi`, rounded to the nearest pixel.
constexpr int Pixels(int twips, int dpi) { return (twips * dpi + (twips >= 0 ? 720 : -720)) / 1440; }

}  // namespace app
