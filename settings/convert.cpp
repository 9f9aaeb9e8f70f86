#include "settings/convert.h"

#include <algorithm>
#include <climits>

#include "settings/keys.h"

namespace core {
namespace {

// A decimal number held exactly: digits x 10^-scale, with a sign.
struct Decimal {
    bool negative = false;
    std::string digits;
    long scale = 0;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<Decimal> ParseDecimal(const std::string& text) {
    size_t i = 0, end = text.size();
    while (i < end && IsBlank(text[i])) ++i;
    while (end > i && IsBlank(text[end - 1])) --end;
    Decimal d;
    if (i < end && (text[i] == '+' || text[i] == '-')) d.negative = text[i++] == '-';
    bool point = false;
    for (; i < end; ++i) {
        char c = text[i];
        if (IsDigit(c)) {
            d.digits += c;
            if (point) ++d.scale;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (d.digits.empty()) return std::nullopt;
    return d;
}

// Adds one to a string of digits, growing it on a carry out of the front.
void Increment(std::string& digits) {
    for (size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
}

// Keeps the first `keep` digits, rounding on the rest: up when they are more
// than half a unit of the last kept digit, and when exactly half, only if
// that digit is odd.
void RoundHalfEven(std::string& digits, size_t keep) {
    if (keep >= digits.size()) return;
    char first = digits[keep];
    bool rest_zero = digits.find_first_not_of('0', keep + 1) == std::string::npos;
    bool last_odd = keep > 0 && (digits[keep - 1] - '0') % 2 == 1;
    bool up = first > '5' || (first == '5' && (!rest_zero || last_odd));
    digits.resize(keep);
    if (up) Increment(digits);
}

}  // namespace

bool IsOn(const std::string& stored) { return stored == kSwitchOn; }

const char* SwitchText(bool on) { return on ? kSwitchOn : kSwitchOff; }

std::optional<int> VolumeFromStored(const std::string& stored) {
    std::optional<Decimal> d = ParseDecimal(stored);
    if (!d) return std::nullopt;
    long scale = d->scale - 2;  // times 100
    std::string digits = d->digits;  // every digit after the point too: more than `scale`
    if (scale < 0)
        digits.append((size_t)-scale, '0');
    else
        RoundHalfEven(digits, digits.size() - (size_t)scale);
    size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) return 0;
    digits.erase(0, first);
    // Beyond an int the slider could not tell it from INT_MAX anyway: held there, it is still
    // a number above 1 (or below 0), which the slider keeps within its range.
    long long whole = digits.size() > 10 ? INT_MAX : std::min<long long>(std::stoll(digits), INT_MAX);
    return d->negative ? -(int)whole : (int)whole;
}

std::optional<std::string> StoredFromVolume(const std::string& typed) {
    std::optional<Decimal> d = ParseDecimal(typed);
    if (!d) return std::nullopt;
    std::string digits = d->digits;
    long scale = d->scale + 2;  // divided by 100
    size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) return std::string("0");
    digits.erase(0, first);
    const size_t kSignificant = 15;
    if (digits.size() > kSignificant) {
        scale -= (long)(digits.size() - kSignificant);
        RoundHalfEven(digits, kSignificant);  // may carry to 16 digits, ending in 0
    }
    while (scale > 0 && digits.back() == '0') {
        digits.pop_back();
        --scale;
    }
    std::string text = d->negative ? "-" : "";
    if (scale <= 0) {
        text += digits;
        text.append((size_t)-scale, '0');
    } else if ((long)digits.size() <= scale) {
        text += "0.";
        text.append((size_t)scale - digits.size(), '0');
        text += digits;
    } else {
        text += digits.substr(0, digits.size() - (size_t)scale);
        text += '.';
        text += digits.substr(digits.size() - (size_t)scale);
    }
    return text;
}

std::string JoinScreenSize(const std::string& width, const std::string& height) {
    return width + "x" + height;
}

std::optional<ScreenSize> SplitScreenSize(const std::string& text) {
    // Where the split by length puts the "x": after 3 characters of 7, after
    // 4 of 8 or 9.
    size_t x = text.size() == 7 ? 3 : text.size() == 8 || text.size() == 9 ? 4 : 0;
    if (x == 0 || text[x] != 'x') return std::nullopt;
    for (size_t i = 0; i < text.size(); ++i)
        if (i != x && !IsDigit(text[i])) return std::nullopt;
    return ScreenSize{text.substr(0, x), text.substr(x + 1)};
}

}  // namespace core
