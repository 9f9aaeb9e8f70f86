// The profile reader and writer, natively our own (platform/posix), under Wine
// kernel32's: writes that read back what they expect on both (the bytes after a
// write compared where the writer keeps them), and a short run of the
// generated differential cases, reads and writes (tools/ini_diff.sh runs the
// long one).
#include "platform/profile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bench/ini_cases.h"
#include "tests/support/profile_platform.h"
#include "tests/support/temp_folder.h"

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

// Whether a write is tried at all (exists, an ordinary file, read-only, on a
// read-only medium: may write). A read-only medium needs a mount, so the
// decision is tested over every combination instead.
TEST(Profile, MayWriteRefusesAFolderAReadOnlyFileOrAReadOnlyMedium) {
    const bool cases[][5] = {{1, 1, 0, 0, 1}, {0, 1, 0, 0, 1}, {1, 0, 0, 0, 0}, {1, 1, 1, 0, 0},
                             {1, 1, 0, 1, 0}, {0, 1, 0, 1, 0}, {1, 1, 1, 1, 0}};
    for (const bool* c : cases) {
        profile::WriteTarget t;
        t.exists = c[0], t.regular = c[1], t.read_only = c[2], t.read_only_medium = c[3];
        EXPECT_EQ(profile::MayWrite(t), c[4]) << c[0] << c[1] << c[2] << c[3];
    }
}

// The first 500 generated cases give, on either layer, the lines that
// kernel32 under Wine gave when this figure was recorded. On a failure,
// tools/ini_diff.sh 500 shows which lines differ.
TEST(Profile, GeneratedCasesMatchKernel32) {
    TempFolder folder;
    uint64_t fingerprint = ini_cases::Fingerprint("");
    size_t lines = 0;
    for (uint64_t number = 0; number < 500; ++number) {
        std::string path = folder.File("case" + std::to_string(number) + ".ini");
        std::string out = ini_cases::Run(ini_cases::Make(number), number, path);
        fingerprint = ini_cases::Fingerprint(out, fingerprint);
        for (char c : out) lines += c == '\n';
    }
    EXPECT_EQ(lines, 2371u);
    EXPECT_EQ(fingerprint, 1112368944351744658ull);
}

}  // namespace
