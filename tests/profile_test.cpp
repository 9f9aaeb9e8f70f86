// The profile reader and writer against one table of INI cases: natively our
// own (platform/posix), under Wine kernel32's. Every case reads back what it
// expects on both; the file's bytes after a write are compared where the
// writer keeps them (tests/support/profile_platform.h).
#include "platform/profile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/profile_platform.h"
#include "tests/support/temp_folder.h"

using namespace std::string_literals;

namespace {

const char kMissing[] = "\x01missing";  // a case without a file

struct Read {
    std::string section, key, fallback;
    unsigned capacity;
    std::string text;
};

// What a read puts into a buffer of `capacity`, up to the count it returns;
// the NUL after it is checked here.
std::string ReadAt(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& fallback, unsigned capacity = 100) {
    std::string buffer(capacity + 1, '#');
    unsigned n = profile::ReadString(section, key, fallback, &buffer[0], capacity, path);
    EXPECT_LE(n, capacity);
    EXPECT_EQ(buffer[n < capacity ? n : capacity], '\0');
    return buffer.substr(0, n);
}

TEST(Profile, Reads) {
    const std::string long_value(150, 'v');
    const std::string quoted_99 = "\"" + std::string(99, 'q') + "\"";
    struct Case {
        const char* name;
        std::string file;
        std::vector<Read> reads;
    } cases[] = {
        {"plain", "[Audio]\r\nSoundVolume=0.8\r\n",
         {{"Audio", "SoundVolume", "p", 100, "0.8"}}},
        {"names without regard to case", "[audio]\r\nsoundvolume=0.8\r\n",
         {{"AUDIO", "SoundVolume", "p", 100, "0.8"}}},
        {"blanks around names, '=' and value", "  [ Audio ]  \r\n \t SoundVolume \t=  0.8 a \t\r\n",
         {{"Audio", "SoundVolume", "p", 100, "0.8 a"},
          {" Audio\t", " SoundVolume ", "p", 100, "0.8 a"}}},
        {"vertical tab, form feed and Ctrl-Z are blanks", "[A]\r\nk=\v\f\x1Av\x1A\r\nj=\xA0v\xA0\r\n",
         {{"A", "k", "p", 100, "v"}, {"A", "j", "p", 100, "\xA0v\xA0"}}},
        {"outer quotes stripped",
         "[A]\r\nd=\"a b\"\r\ns=' x '\r\none=\"\r\nodd='a\"\r\nin=\"a\"b\"\r\nnone=\"\"\r\n",
         {{"A", "d", "p", 100, "a b"}, {"A", "s", "p", 100, " x "},
          {"A", "one", "p", 100, "\""}, {"A", "odd", "p", 100, "'a\""},
          {"A", "in", "p", 100, "a\"b"}, {"A", "none", "p", 100, ""}}},
        {"comments", "[A]\r\n;k=1\r\n  ; k=2\r\nk=3 ; not a comment\r\n#j=4\r\n",
         {{"A", "k", "p", 100, "3 ; not a comment"}, {"A", "#j", "p", 100, "4"}}},
        {"first section and first key win", "[A]\r\nk=1\r\nk=2\r\n[B]\r\n[a]\r\nk=3\r\nj=4\r\n",
         {{"A", "k", "p", 100, "1"}, {"A", "j", "p", 100, "p"}}},
        {"LF, CR and mixed line breaks", "[A]\nk=lf\n[B]\rk=cr\r[C]\r\n\n\rk=mixed",
         {{"A", "k", "p", 100, "lf"}, {"B", "k", "p", 100, "cr"},
          {"C", "k", "p", 100, "mixed"}}},
        {"odd headers", "[Video\r\nw=1\r\n[Video] ; screen\r\nh=2\r\n[E]]\r\nx=3\r\n",
         {{"Video", "w", "p", 100, "p"}, {"Video", "h", "p", 100, "2"},
          {"E]", "x", "p", 100, "3"}}},
        {"keys before any section", "k=top\r\n[A]\r\n", {{"", "k", "p", 100, "top"}}},
        {"absent section, key, or '='", "[A]\r\nk\r\n",
         {{"B", "k", "p", 100, "p"}, {"A", "j", "p", 100, "p"},
          {"A", "k", "p", 100, "p"}}},
        {"empty value", "[A]\r\nk=\r\nj= \t \r\n",
         {{"A", "k", "p", 100, ""}, {"A", "j", "p", 100, ""}}},
        {"default: trailing spaces only go", "",
         {{"A", "k", "p  ", 100, "p"}, {"A", "k", "  p \t ", 100, "  p \t"},
          {"A", "k", "", 100, ""}}},
        {"capacity", "[A]\r\nlong=" + long_value + "\r\nq=" + quoted_99 + "\r\nabc='abc'\r\n",
         {{"A", "long", "p", 100, long_value.substr(0, 99)},
          {"A", "q", "p", 100, std::string(98, 'q')},
          {"A", "abc", "p", 5, "abc"},
          {"A", "abc", "p", 4, "ab"},  // kernel32 drops a letter here: see posix/profile.cpp
          {"A", "k", std::string(120, 'd'), 100, std::string(99, 'd')},
          {"A", "long", "p", 1, ""}}},
        {"NUL ends a name or value", "[A]\r\nt\0x=1\r\nv=a\0b\r\nafter=2\r\n"s,
         {{"A", "t", "p", 100, "1"}, {"A", "v", "p", 100, "a"},
          {"A", "after", "p", 100, "2"}}},
        {"UTF-8 mark", "\xEF\xBB\xBF[A]\r\nk=v\r\n", {{"A", "k", "p", 100, "v"}}},
        {"UTF-16 with its mark", "\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0"s,
         {{"A", "k", "p", 100, "v"}}},
        {"missing file", kMissing, {{"A", "k", "p", 100, "p"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        if (c.file != kMissing) folder.Write("RA2MD.ini", c.file);
        for (const Read& r : c.reads)
            EXPECT_EQ(ReadAt(folder.File("RA2MD.ini"), r.section, r.key, r.fallback, r.capacity),
                      r.text)
                << "[" << r.section << "] " << r.key;
    }
}

TEST(Profile, Writes) {
    struct Check {
        std::string section, key, value;
    };
    struct Case {
        const char* name;
        std::string file;
        std::string section, key, value;
        std::string after;  // the whole file, where the writer keeps the other bytes
        std::vector<Check> checks;
    } cases[] = {
        {"replace a value, the file's spelling of the name kept",
         "[Audio]\r\nSoundVolume = 0.700000 \r\nVoiceVolume=0.5\r\n", "audio", "soundvolume", "0.8",
         "[Audio]\r\nSoundVolume=0.8\r\nVoiceVolume=0.5\r\n",
         {{"Audio", "SoundVolume", "0.8"}, {"Audio", "VoiceVolume", "0.5"}}},
        {"add a key after the last key line of its section",
         "; top\r\n[Audio]\r\na=1\r\n; a note\r\n\r\n[Video]\r\nw=1\r\n", "Audio", "InGameMusic",
         "yes", "; top\r\n[Audio]\r\na=1\r\nInGameMusic=yes\r\n; a note\r\n\r\n[Video]\r\nw=1\r\n",
         {{"Audio", "InGameMusic", "yes"}, {"Audio", "a", "1"}, {"Video", "w", "1"}}},
        {"add a key to a section without keys", "[Audio]\n[Video]\nw=1\n", "Audio", "k", "v",
         "[Audio]\nk=v\n[Video]\nw=1\n", {{"Audio", "k", "v"}, {"Video", "w", "1"}}},
        {"add a section at the end", "[Audio]\r\na=1\r\n", "Video", "ScreenWidth", "1024",
         "[Audio]\r\na=1\r\n[Video]\r\nScreenWidth=1024\r\n",
         {{"Video", "ScreenWidth", "1024"}, {"Audio", "a", "1"}}},
        {"no final line break, new section", "[Audio]\na=1", "Video", "w", "2",
         "[Audio]\na=1\n[Video]\nw=2\n", {{"Video", "w", "2"}, {"Audio", "a", "1"}}},
        {"no final line break, new key", "[Audio]\ra=1", "Audio", "b", "2", "[Audio]\ra=1\rb=2",
         {{"Audio", "b", "2"}, {"Audio", "a", "1"}}},
        {"first of two sections of a name", "[A]\nk=1\n[B]\n[A]\nk=2\n", "a", "k", "3",
         "[A]\nk=3\n[B]\n[A]\nk=2\n", {{"A", "k", "3"}}},
        {"key without '=' gets one", "[A]\nk\nj=1\n", "A", "k", "v", "[A]\nk=v\nj=1\n",
         {{"A", "k", "v"}, {"A", "j", "1"}}},
        {"value written as given, read back trimmed", "[A]\r\n", "A", "k", " x ",
         "[A]\r\nk= x \r\n", {{"A", "k", "x"}}},
        {"UTF-8 mark kept", "\xEF\xBB\xBF[A]\r\nk=1\r\n", "A", "k", "2",
         "\xEF\xBB\xBF[A]\r\nk=2\r\n", {{"A", "k", "2"}}},
        {"missing file created", kMissing, "Audio", "InGameMusic", "yes",
         "[Audio]\r\nInGameMusic=yes\r\n", {{"Audio", "InGameMusic", "yes"}}},
        {"empty file", "", "Audio", "k", "v", "[Audio]\r\nk=v\r\n", {{"Audio", "k", "v"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        if (c.file != kMissing) folder.Write("RA2MD.ini", c.file);
        std::string path = folder.File("RA2MD.ini");
        EXPECT_TRUE(profile::WriteString(c.section, c.key, c.value, path));
        if (kWriterKeepsOtherBytes) {
            EXPECT_EQ(folder.Read("RA2MD.ini"), c.after);
        }
        for (const Check& check : c.checks)
            EXPECT_EQ(ReadAt(path, check.section, check.key, "p"), check.value)
                << "[" << check.section << "] " << check.key;
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"RA2MD.ini"});
    }
}

}  // namespace
