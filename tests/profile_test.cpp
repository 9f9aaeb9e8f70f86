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

// What a read puts into a buffer of `capacity`, up to the count it returns;
// the NUL after it is checked here.
std::string ReadAt(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& fallback = "p", unsigned capacity = 100) {
    std::string buffer(capacity + 1, '#');
    unsigned n = profile::ReadString(section, key, fallback, &buffer[0], capacity, path);
    EXPECT_LE(n, capacity);
    EXPECT_EQ(buffer[n < capacity ? n : capacity], '\0');
    return buffer.substr(0, n);
}

TEST(Profile, Reads) {
    struct Read {
        std::string section, key, text, fallback = "p";
        unsigned capacity = 100;
    };
    const std::string v150(150, 'v');
    struct Case {
        std::string file;
        std::vector<Read> reads;
    } cases[] = {
        {"[audio]\r\nsoundvolume=0.8\r\n", {{"AUDIO", "SoundVolume", "0.8"}}},
        {"  [ Audio ]  \r\n \t SoundVolume \t=  0.8 a \t\r\n",
         {{"Audio", "SoundVolume", "0.8 a"}, {" Audio\t", " SoundVolume ", "0.8 a"}}},
        {"[A]\r\nk=\v\f\x1Av\x1A\r\nj=\xA0v\xA0\r\n", {{"A", "k", "v"}, {"A", "j", "\xA0v\xA0"}}},
        {"[A]\r\nd=\"a b\"\r\ns=' x '\r\none=\"\r\nodd='a\"\r\nin=\"a\"b\"\r\nnone=\"\"\r\n",
         {{"A", "d", "a b"}, {"A", "s", " x "}, {"A", "one", "\""}, {"A", "odd", "'a\""},
          {"A", "in", "a\"b"}, {"A", "none", ""}}},
        {"[A]\r\n;k=1\r\n  ; k=2\r\nk=3 ; not a comment\r\n#j=4\r\n",
         {{"A", "k", "3 ; not a comment"}, {"A", "#j", "4"}}},
        {"[A]\r\nk=1\r\nk=2\r\n[B]\r\n[a]\r\nk=3\r\nj=4\r\n", {{"A", "k", "1"}, {"A", "j", "p"}}},
        {"[A]\nk=lf\n[B]\rk=cr\r[C]\r\n\n\rk=mixed",
         {{"A", "k", "lf"}, {"B", "k", "cr"}, {"C", "k", "mixed"}}},
        {"[Video\r\nw=1\r\n[Video] ; screen\r\nh=2\r\n[E]]\r\nx=3\r\n",
         {{"Video", "w", "p"}, {"Video", "h", "2"}, {"E]", "x", "3"}}},
        {"k=top\r\n[A]\r\nk\r\nj= \t \r\n",
         {{"", "k", "top"}, {"B", "k", "p"}, {"A", "k", "p"}, {"A", "j", ""}}},
        {"", {{"A", "k", "p", "p  "}, {"A", "k", "  p \t", "  p \t "}, {"A", "k", "", ""}}},
        {"[A]\r\nlong=" + v150 + "\r\nq=\"" + std::string(99, 'q') + "\"\r\nabc='abc'\r\n",
         {{"A", "long", v150.substr(0, 99)}, {"A", "q", std::string(98, 'q')},
          {"A", "abc", "abc", "p", 5},
          {"A", "abc", "ab", "p", 4},  // kernel32 drops a letter here: see posix/profile.cpp
          {"A", "k", std::string(99, 'd'), std::string(120, 'd')}, {"A", "long", "", "p", 1}}},
        {"[A]\r\nt\0x=1\r\nv=a\0b\r\nafter=2\r\n"s,
         {{"A", "t", "1"}, {"A", "v", "a"}, {"A", "after", "2"}}},
        {"\xEF\xBB\xBF[A]\r\nk=v\r\n", {{"A", "k", "v"}}},
        {"\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0"s, {{"A", "k", "v"}}},
        {kMissing, {{"A", "k", "p"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TempFolder folder;
        if (c.file != kMissing) folder.Write("RA2MD.ini", c.file);
        for (const Read& r : c.reads)
            EXPECT_EQ(ReadAt(folder.File("RA2MD.ini"), r.section, r.key, r.fallback, r.capacity),
                      r.text) << "[" << r.section << "] " << r.key;
    }
}

// Each write, then the whole file where the writer keeps the other bytes, and
// the key read back (trimmed) on both.
TEST(Profile, Writes) {
    struct Case {
        std::string file, section, key, value, after;
    } cases[] = {
        {"[Audio]\r\nSoundVolume = 0.700000 \r\nVoiceVolume=0.5\r\n", "audio", "soundvolume", "0.8",
         "[Audio]\r\nSoundVolume=0.8\r\nVoiceVolume=0.5\r\n"},
        {"; top\r\n[Audio]\r\na=1\r\n; a note\r\n\r\n[Video]\r\nw=1\r\n", "Audio", "InGameMusic",
         "yes", "; top\r\n[Audio]\r\na=1\r\nInGameMusic=yes\r\n; a note\r\n\r\n[Video]\r\nw=1\r\n"},
        {"[Audio]\n[Video]\nw=1\n", "Audio", "k", "v", "[Audio]\nk=v\n[Video]\nw=1\n"},
        {"[Audio]\r\na=1\r\n", "Video", "ScreenWidth", "1024",
         "[Audio]\r\na=1\r\n[Video]\r\nScreenWidth=1024\r\n"},
        {"[Audio]\na=1", "Video", "w", "2", "[Audio]\na=1\n[Video]\nw=2\n"},
        {"[Audio]\ra=1", "Audio", "b", "2", "[Audio]\ra=1\rb=2"},
        {"[A]\nk=1\n[B]\n[A]\nk=2\n", "a", "k", "3", "[A]\nk=3\n[B]\n[A]\nk=2\n"},
        {"[A]\nk\nj=1\n", "A", "k", "v", "[A]\nk=v\nj=1\n"},
        {"[A]\r\n", "A", "k", " x ", "[A]\r\nk= x \r\n"},
        {"\xEF\xBB\xBF[A]\r\nk=1\r\n", "A", "k", "2", "\xEF\xBB\xBF[A]\r\nk=2\r\n"},
        {kMissing, "Audio", "InGameMusic", "yes", "[Audio]\r\nInGameMusic=yes\r\n"},
        {"", "Audio", "k", "v", "[Audio]\r\nk=v\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.after);
        TempFolder folder;
        if (c.file != kMissing) folder.Write("RA2MD.ini", c.file);
        std::string path = folder.File("RA2MD.ini");
        EXPECT_TRUE(profile::WriteString(c.section, c.key, c.value, path));
        if (kWriterKeepsOtherBytes) { EXPECT_EQ(folder.Read("RA2MD.ini"), c.after); }
        EXPECT_EQ(ReadAt(path, c.section, c.key), c.value == " x " ? "x" : c.value);
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"RA2MD.ini"});
    }
}

// Whether a write is tried at all. A read-only medium needs a mount, so the
// decision is tested over every combination instead.
TEST(Profile, MayWriteRefusesAFolderAReadOnlyFileOrAReadOnlyMedium) {
    // exists, an ordinary file, read-only, on a read-only medium: may write
    const bool cases[][5] = {{1, 1, 0, 0, 1}, {0, 1, 0, 0, 1}, {1, 0, 0, 0, 0}, {1, 1, 1, 0, 0},
                             {1, 1, 0, 1, 0}, {0, 1, 0, 1, 0}, {1, 1, 1, 1, 0}};
    for (const bool* c : cases) {
        profile::WriteTarget t;
        t.exists = c[0], t.regular = c[1], t.read_only = c[2], t.read_only_medium = c[3];
        EXPECT_EQ(profile::MayWrite(t), c[4]) << c[0] << c[1] << c[2] << c[3];
    }
}

}  // namespace
