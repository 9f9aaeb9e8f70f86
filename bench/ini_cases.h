// Random INI files and profile calls for the differential run (ini_diff.cpp,
// tools/ini_diff.sh): our POSIX reader and writer against kernel32 under Wine;
// and damaged game settings files for the Game Options UI test.
//
// A case is a file text (or no file) and a few calls. Everything comes from a
// small generator of our own seeded by the case number, so both builds make
// the same cases byte for byte. The text leans towards what matters: names in
// varied letter case, blanks, quotes, comments, odd headers, the three line
// breaks, long values, and now and then junk bytes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/profile.h"

namespace ini_cases {

// splitmix64: small, and the same on every compiler.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    unsigned Below(unsigned n) { return (unsigned)(Next() % n); }
    bool OneIn(unsigned n) { return Below(n) == 0; }
    template <size_t N>
    const char* Pick(const char* const (&items)[N]) { return items[Below(N)]; }

private:
    uint64_t state_;
};

struct Call {
    bool write = false;
    std::string section, key, text;  // text: the default of a read, the value of a write
    unsigned capacity = 100;
};

struct Case {
    bool has_file = true;
    bool utf16 = false;  // written as UTF-16 LE with its mark; reads only
    std::string file;
    std::vector<Call> calls;
    // Every section and key the file names, for the reads after a write.
    std::vector<std::pair<std::string, std::string>> names;
};

inline const char* const kSections[] = {"Audio", "Video", "audio", "VIDEO", "Intro", "Options",
                                        "A", "b", "Multi Player", "Network", "x]y"};
inline const char* const kKeys[] = {"SoundVolume", "soundvolume", "InGameMusic", "ScreenWidth",
                                    "k", "K", "a b", "Name", "Port", "x", "is"};
inline const char* const kValues[] = {"yes", "no", "0.8", "0.700000", "", "1024", "\"a b\"",
                                      "'x'", "\"", "'a\"", "a=b", "p ; not a comment", "\"\"",
                                      "Yes", "  spaced  ", "x\ty", "\"q\" tail"};
inline const char* const kDefaults[] = {"p", "", "  ", "d  ", " x \t ", "Error", "p\t", " "};
inline const char* const kBlanks[] = {"", "", "", " ", "  ", "\t", " \t", "\v", "\f"};
inline const char* const kBreaks[] = {"\r\n", "\n", "\r"};

inline std::string Blanks(Random& r) { return r.Pick(kBlanks); }

// A name as it may be spelt elsewhere: other letter case now and then.
inline std::string Respell(Random& r, std::string name) {
    if (r.OneIn(3))
        for (char& c : name)
            if (r.OneIn(2)) c = (c >= 'a' && c <= 'z') ? char(c - 32) : (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
    return name;
}

inline std::string Junk(Random& r, size_t length, bool with_nul) {
    std::string s;
    for (size_t i = 0; i < length; ++i) {
        char c = (char)(1 + r.Below(255));
        if (c == '\r' || c == '\n') c = 'j';
        if (with_nul && r.OneIn(12)) c = '\0';
        s += c;
    }
    return s;
}

inline std::string Value(Random& r, bool ascii_only) {
    switch (r.Below(10)) {
        case 0: return std::string(60 + r.Below(90), char('a' + r.Below(26)));
        case 1: return "\"" + std::string(95 + r.Below(8), 'Q') + "\"";
        case 2: return ascii_only ? "plain" : Junk(r, 1 + r.Below(12), false);
        case 3: return ascii_only ? "ascii" : std::string("caf\xE9 \xA0\xFF");
        default: return r.Pick(kValues);
    }
}

inline Case Make(uint64_t number) {
    Random r(number * 0x2545F4914F6CDD1Dull + 1);
    Case c;
    c.has_file = !r.OneIn(25);
    int encoding = r.Below(30);  // 0: UTF-8 mark, 1: UTF-16; else 8-bit
    bool ascii_only = encoding <= 1;
    c.utf16 = encoding == 1;
    if (encoding == 0) c.file = "\xEF\xBB\xBF";
    bool mixed = r.OneIn(8);
    std::string eol = r.Pick(kBreaks);
    unsigned lines = r.Below(14);
    std::string section = "";
    for (unsigned i = 0; i < lines; ++i) {
        std::string line;
        unsigned kind = r.Below(20);
        if (kind < 5) {
            section = r.Pick(kSections);
            line = Blanks(r) + "[" + Blanks(r) + Respell(r, section) + Blanks(r) + "]" + Blanks(r);
            if (r.OneIn(8)) line += r.OneIn(2) ? "; note" : "]";
        } else if (kind < 14) {
            std::string key = r.Pick(kKeys);
            line = Blanks(r) + Respell(r, key) + Blanks(r) + "=" + Blanks(r) + Value(r, ascii_only) + Blanks(r);
            c.names.push_back({section, key});
        } else if (kind == 14) {
            std::string key = r.Pick(kKeys);
            line = Blanks(r) + key + Blanks(r);  // no '='
            c.names.push_back({section, key});
        } else if (kind == 15) {
            line = Blanks(r) + (r.OneIn(2) ? ";" : "#") + r.Pick(kKeys) + "=" + r.Pick(kValues);
        } else if (kind == 16) {
            line = Blanks(r) + Blanks(r);
        } else if (kind == 17) {
            line = "[" + std::string(r.Pick(kSections)) + (r.OneIn(2) ? "" : "=x");  // no ']'
        } else if (kind == 18 && !ascii_only) {
            line = Junk(r, 1 + r.Below(40), r.OneIn(3));
        } else {
            line = std::string(r.Pick(kKeys)) + "=" + std::string(r.OneIn(4) ? 1000 : 3, 'v');
        }
        c.file += line;
        if (i + 1 < lines || !r.OneIn(4)) c.file += mixed ? r.Pick(kBreaks) : eol.c_str();
    }

    unsigned calls = 1 + r.Below(4);
    for (unsigned i = 0; i < calls; ++i) {
        Call call;
        bool known = !c.names.empty() && !r.OneIn(4);
        if (known) {
            const auto& name = c.names[r.Below((unsigned)c.names.size())];
            call.section = Respell(r, name.first);
            call.key = Respell(r, name.second);
        } else {
            call.section = Respell(r, r.Pick(kSections));
            call.key = Respell(r, r.Pick(kKeys));
        }
        if (r.OneIn(10)) call.section = Blanks(r) + call.section + Blanks(r);
        if (r.OneIn(10)) call.key = Blanks(r) + call.key + Blanks(r);
        call.write = !c.utf16 && r.OneIn(3) && !call.section.empty();
        if (call.write) {
            call.text = Value(r, ascii_only);
        } else {
            call.text = r.OneIn(6) ? std::string(130, 'D') : r.Pick(kDefaults);
            if (r.OneIn(6)) call.capacity = 1 + r.Below(110);
        }
        c.calls.push_back(call);
    }
    return c;
}

// Bytes as printable text, for the result lines.
inline std::string Escape(const std::string& s) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char ch : s) {
        if (ch >= 32 && ch < 127 && ch != '\\') {
            out += (char)ch;
        } else {
            out += "\\x";
            out += hex[ch >> 4];
            out += hex[ch & 15];
        }
    }
    return out;
}

// The file as it goes to disk: UTF-16 LE with its mark for a UTF-16 case.
inline std::string FileBytes(const Case& c) {
    if (!c.utf16) return c.file;
    std::string out = "\xFF\xFE";
    for (char ch : c.file) {
        out += ch;
        out += '\0';
    }
    return out;
}

// Called with each read's arguments and its result line, "<count> <text>".
using ReadHook = std::function<void(const Call&, const std::string& path, const std::string& line)>;

inline std::string ReadLine(const Call& call, const std::string& path, const ReadHook& hook) {
    std::string buffer(call.capacity + 1, '\0');
    unsigned n = platform::ReadIniString(call.section, call.key, call.text, &buffer[0], call.capacity, path);
    std::string line = std::to_string(n) + " " + Escape(buffer.substr(0, n));
    if (hook) hook(call, path, line);
    return line;
}

// Puts the case's file at `path` (UTF-8), makes its calls, and gives the
// result lines: "<case>.<call> R <count> <text>" for a read, "W <result>"
// for a write, and after each write "A <section>/<key> <count> <text>" for
// the key written and every key the file names, read back with "p". Writes
// are compared by what reads back, not byte for byte, since Wine rewrites
// the whole file. The file is left behind for the caller to remove.
inline std::string Run(const Case& c, uint64_t number, const std::string& path,
                       const ReadHook& hook = {}) {
    if (c.has_file) {
        std::ofstream out(std::filesystem::u8path(path), std::ios::binary | std::ios::trunc);
        std::string bytes = FileBytes(c);
        out.write(bytes.data(), (std::streamsize)bytes.size());
    }
    std::string lines;
    for (size_t i = 0; i < c.calls.size(); ++i) {
        const Call& call = c.calls[i];
        std::string tag = std::to_string(number) + "." + std::to_string(i);
        if (!call.write) {
            lines += tag + " R " + ReadLine(call, path, hook) + "\n";
            continue;
        }
        bool ok = platform::WriteIniString(call.section, call.key, call.text, path);
        lines += tag + " W " + (ok ? "1" : "0") + "\n";
        std::set<std::pair<std::string, std::string>> names(c.names.begin(), c.names.end());
        names.insert({call.section, call.key});
        for (const auto& name : names) {
            Call read{false, name.first, name.second, "p", 100};
            lines += tag + " A " + Escape(name.first) + "/" + Escape(name.second) + " " +
                     ReadLine(read, path, hook) + "\n";
        }
    }
    return lines;
}

// Damaged game settings files, for the Game Options UI test: the values each key may hold.
inline const char* const kSettingsSwitches[] = {"yes", "no", "Yes", " yes", "yes ", "ye\ts", "\"yes\"", "",
                                                "1", "yes\xA0", "\x01yes"};
inline const char* const kSettingsSizes[] = {"1024", "768", "800", "600", "1280", "640", "480", "1600", "1200",
                                             "12345", "", "abc", " 800", "80 0", "0800", "96", "-800"};
inline const char* const kSettingsVolumes[] = {"0.8", "0.700000", "1", "0", "0.125", "0.375", "0.155", "0.285",
                                               "000.2950", "1.5", "99999999999", "-99999999999",
                                               "0.50000000000000000001", "0.3\x01", "\t0.6\xE9"};
inline const char* const kSettingsNotNumbers[] = {"- 0.5", "0 .5", "0,5", "1e-1", "abc", "", "0.5.5", "-.", "p"};

// Blanks as editors leave them; now and then one the reader takes for part of a name.
inline std::string SettingsBlank(Random& r) {
    return r.OneIn(30) ? "\f" : std::string(r.Below(3), " \t"[r.Below(2)]);
}

// A volume: a number now and then signed, with zeros in front or blanks around; or no number.
inline std::string VolumeText(Random& r) {
    if (r.OneIn(10)) return r.Pick(kSettingsNotNumbers);
    if (r.OneIn(2)) return r.Pick(kSettingsVolumes);
    std::string s = SettingsBlank(r) + "  +-"[r.Below(4)] + std::string(r.Below(3), '0') + (r.OneIn(3) ? "" : ".");
    for (unsigned i = 1 + r.Below(5); i > 0; --i) s += char('0' + r.Below(10));
    return s + SettingsBlank(r);
}

// The game's RA2MD.ini with the nine keys of Game Options, damaged as files in the wild
// are: a section or a key missing, a key twice, a line of 100,000 characters, odd values,
// any line ends, cut short, binary bytes, UTF-16 or UTF-8 with a mark; now and then, and
// for number 1, empty.
inline std::string DamagedSettings(uint64_t number) {
    Random r(number * 0x2545F4914F6CDD1Dull + 18);
    if (number == 1 || r.OneIn(30)) return "";
    if (r.OneIn(25)) return Junk(r, 1 + r.Below(300), true);
    const std::string eol = r.Pick(kBreaks);
    const bool mixed = r.OneIn(6);
    std::string text = r.OneIn(3) ? "[Options]" + eol + "GameSpeed=2" + eol : "";
    auto line = [&](const std::string& s) { text += s + (mixed ? r.Pick(kBreaks) : eol.c_str()); };
    for (const char* section : {"Audio", "Video"}) {
        if (!r.OneIn(8)) line(SettingsBlank(r) + "[" + Respell(r, section) + "]");
        for (const std::string key : {"SoundVolume", "VoiceVolume", "ScoreVolume", "InGameMusic", "AllowHiResModes",
                                      "AllowVRAMSidebar", "VideoBackBuffer", "ScreenWidth", "ScreenHeight"}) {
            if ((key == "InGameMusic" || key.find("Volume") != key.npos) != (section[0] == 'A')) continue;
            if (r.OneIn(24)) line((r.OneIn(2) ? key : "x") + "=" + std::string(100000, "05y \xE9"[r.Below(5)]));
            for (unsigned times = r.OneIn(12) ? 0 : r.OneIn(6) ? 2 : 1; times > 0; --times)
                line(SettingsBlank(r) + Respell(r, key) + SettingsBlank(r) + "=" +
                     (key.find("Volume") != key.npos   ? VolumeText(r)
                      : key.find("Screen") == 0        ? r.Pick(kSettingsSizes)
                                                       : r.Pick(kSettingsSwitches)));
        }
    }
    if (r.OneIn(5)) text.resize(r.Below((unsigned)text.size() + 1));  // cut short
    if (r.OneIn(8) && !text.empty()) {
        std::size_t at = r.Below((unsigned)text.size()), length = std::min<std::size_t>(text.size() - at, 40);
        text.replace(at, length, Junk(r, length, true));
    }
    Case c;
    c.utf16 = r.OneIn(10);
    c.file = (!c.utf16 && r.OneIn(15) ? "\xEF\xBB\xBF" : "") + text;
    return FileBytes(c);
}

// FNV-1a, for checking a run's lines against a recorded figure.
inline uint64_t Fingerprint(const std::string& text, uint64_t hash = 0xCBF29CE484222325ull) {
    for (unsigned char ch : text) hash = (hash ^ ch) * 0x100000001B3ull;
    return hash;
}

}  // namespace ini_cases
