#include "platform/posix/ini_text.h"

#include <vector>

namespace platform {
namespace {

enum class Kind { kOther, kSection, kKey };  // kOther: blank, a comment, or text of no form

// One line of the file: its text [begin, end) without the line break, where
// the next line starts, and what the line says.
struct Line {
    size_t begin = 0, end = 0, next = 0;
    Kind kind = Kind::kOther;
    std::string_view name;
    std::optional<std::string_view> value;
};

// Ctrl-Z counts as a blank too, as it does to kernel32 (a relic of files
// that DOS editors ended with it).
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Names and values are C strings to the profile functions: a NUL ends them.
std::string_view UpToNul(std::string_view s) { return s.substr(0, s.find('\0')); }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

Line Classify(std::string_view text, size_t begin, size_t end, size_t next) {
    Line line;
    line.begin = begin;
    line.end = end;
    line.next = next;
    std::string_view s = Trim(text.substr(begin, end - begin));
    if (s.empty() || s.front() == ';') return line;
    if (s.front() == '[') {
        size_t close = s.rfind(']');
        if (close != std::string_view::npos) {
            line.kind = Kind::kSection;
            line.name = Trim(UpToNul(s.substr(1, close - 1)));
            return line;
        }
    }
    line.kind = Kind::kKey;
    size_t eq = s.find('=');
    line.name = Trim(UpToNul(s.substr(0, eq)));
    if (eq != std::string_view::npos) line.value = Trim(UpToNul(s.substr(eq + 1)));
    return line;
}

std::vector<Line> SplitLines(std::string_view text, size_t start) {
    std::vector<Line> lines;
    size_t begin = start;
    while (begin < text.size()) {
        size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string_view::npos) {
            lines.push_back(Classify(text, begin, text.size(), text.size()));
            break;
        }
        size_t next = end + 1;
        if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
        lines.push_back(Classify(text, begin, end, next));
        begin = next;
    }
    return lines;
}

// Where a key stands: indexes into the lines, -1 for "not there". Without a
// header line, the section is the part before the first header.
struct Place {
    bool section_found = false;
    long header = -1;
    long key = -1;
    long last_key = -1;
};

Place Locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Place place;
    bool inside = section.empty();
    place.section_found = inside;
    for (size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (line.kind == Kind::kSection) {
            if (inside) break;  // later sections of the same name are not read
            if (SameName(line.name, section)) {
                inside = place.section_found = true;
                place.header = (long)i;
            }
        } else if (inside && line.kind == Kind::kKey) {
            if (place.key < 0 && SameName(line.name, key)) place.key = (long)i;
            place.last_key = (long)i;
        }
    }
    return place;
}

enum class Encoding { kEightBit, kUtf8Marked, kUtf16Le, kUtf16Be };

Encoding Detect(std::string_view file) {
    if (file.substr(0, 3) == "\xEF\xBB\xBF") return Encoding::kUtf8Marked;
    if (file.substr(0, 2) == "\xFF\xFE") return Encoding::kUtf16Le;
    if (file.substr(0, 2) == "\xFE\xFF") return Encoding::kUtf16Be;
    return Encoding::kEightBit;
}

// UTF-16 text as 8-bit text: characters up to U+00FF as themselves, the rest
// as '?'. A pair of surrogates is one character.
std::string FromUtf16(std::string_view file, bool little_endian) {
    std::string out;
    out.reserve(file.size() / 2);
    for (size_t i = 2; i + 1 < file.size(); i += 2) {
        unsigned lo = (unsigned char)file[i], hi = (unsigned char)file[i + 1];
        unsigned unit = little_endian ? (hi << 8 | lo) : (lo << 8 | hi);
        if (unit >= 0xDC00 && unit <= 0xDFFF && !out.empty() && out.back() == '?') continue;
        out += unit <= 0xFF ? char(unit) : '?';
    }
    return out;
}

std::string_view LineBreakOf(std::string_view file) {
    size_t at = file.find_first_of("\r\n");
    if (at == std::string_view::npos) return "\r\n";
    if (file[at] == '\n') return "\n";
    return file.substr(at + 1, 1) == "\n" ? "\r\n" : "\r";
}

}  // namespace

std::optional<std::string> FindIniValue(std::string_view file, std::string_view section,
                                        std::string_view key) {
    std::string decoded;
    size_t start = 0;
    switch (Detect(file)) {
        case Encoding::kEightBit: break;
        case Encoding::kUtf8Marked: start = 3; break;
        case Encoding::kUtf16Le: decoded = FromUtf16(file, true); file = decoded; break;
        case Encoding::kUtf16Be: decoded = FromUtf16(file, false); file = decoded; break;
    }
    std::vector<Line> lines = SplitLines(file, start);
    Place place = Locate(lines, Trim(section), Trim(key));
    if (place.key < 0 || !lines[place.key].value) return std::nullopt;
    return std::string(*lines[place.key].value);
}

std::optional<std::string> WithIniValue(std::string_view file, std::string_view section,
                                        std::string_view key, std::string_view value) {
    Encoding encoding = Detect(file);
    if (encoding == Encoding::kUtf16Le || encoding == Encoding::kUtf16Be) return std::nullopt;
    std::vector<Line> lines = SplitLines(file, encoding == Encoding::kUtf8Marked ? 3 : 0);
    section = Trim(section);
    key = Trim(key);
    Place place = Locate(lines, section, key);
    std::string_view eol = LineBreakOf(file);
    std::string out;
    out.reserve(file.size() + section.size() + key.size() + value.size() + 8);

    if (place.key >= 0) {
        const Line& line = lines[place.key];
        out.append(file.substr(0, line.begin));
        out.append(line.name).append("=").append(value);
        out.append(file.substr(line.end));
        return out;
    }
    std::string entry = std::string(key) + "=" + std::string(value);
    long after = place.last_key >= 0 ? place.last_key : place.header;
    if (place.section_found && after >= 0) {
        const Line& line = lines[after];
        if (line.next > line.end) {  // the line has its break: the new one goes after it
            out.append(file.substr(0, line.next)).append(entry).append(eol);
        } else {  // the last line of a file without a final break
            out.append(file.substr(0, line.end)).append(eol).append(entry);
        }
        out.append(file.substr(line.next));
        return out;
    }
    if (place.section_found) {  // the nameless part before the first header, empty
        size_t start = encoding == Encoding::kUtf8Marked ? 3 : 0;
        return out.append(file.substr(0, start)).append(entry).append(eol)
            .append(file.substr(start));
    }
    out.append(file);
    if (!lines.empty() && lines.back().next == lines.back().end) out.append(eol);
    out.append("[").append(section).append("]").append(eol).append(entry).append(eol);
    return out;
}

}  // namespace platform
