// The value forms of the game's settings (keys.h) and how the Game Options
// dialog turns them into what it shows, and back.
//
// Numbers are read and written with a '.' whatever the user's locale, and
// exactly as decimals: no binary floating point is involved, so 0.125 is
// exactly an eighth and 0.285 exactly 28.5 hundredths (which rounds to 28).
// Text that is not a decimal number gives no value; nothing here throws.
#pragma once

#include <optional>
#include <string>

namespace core {

// A switch is on only for the exact text "yes": "Yes", "p" and "Error" are off.
bool IsOn(const std::string& stored);
// "yes" or "no".
const char* SwitchText(bool on);

// A stored volume ("0.8", "0.700000") as a slider position: the number times
// 100, rounded to the nearest whole number, an exact half to the even one
// (0.125 gives 12, 0.375 gives 38). No range check; a position beyond an int
// is held at INT_MAX (or -INT_MAX). Nothing for text that is not a decimal
// number.
std::optional<int> VolumeFromStored(const std::string& stored);

// A volume as typed in its text box ("80") as the text to store: the number
// divided by 100, in its shortest form with at most 15 significant digits, no
// exponent, a leading zero before the point ("0.8"; 100 gives "1", 7 gives
// "0.07", 0 gives "0"). A 16th digit and beyond round half to even. No range
// check. Nothing for text that is not a decimal number.
std::optional<std::string> StoredFromVolume(const std::string& typed);

// What counts as a decimal number, for both: blanks around it, an optional
// sign, digits with an optional '.', at least one digit ("80", "0.8", ".5",
// "5.", "-0.25"). No exponent, no thousands separator, no ','.

// The screen size as the resolution box shows it: width, "x", height.
std::string JoinScreenSize(const std::string& width, const std::string& height);

struct ScreenSize {
    std::string width;
    std::string height;
};

// The resolution box's text split back by its length alone: 9 characters
// give the first 4 and the last 4, 8 the first 4 and the last 3, 7 the first
// 3 and the last 3. Only a text of the list entries' form is split: 4 or 3
// digits, "x", 4 or 3 digits, the height not longer than the width
// ("1280x1024", "800x600"), exactly the texts whose split lands on the "x".
// Anything else ("1024xp", "1024xError", "12345x67") would store pieces of
// words or of numbers: it is not split, and the caller leaves both keys as
// they are.
std::optional<ScreenSize> SplitScreenSize(const std::string& text);

}  // namespace core
