// Our own writer's promises beyond the values read back: the file replaced in
// one step, links followed, a full disk survived, a UTF-16 file read as Windows
// reads it and left alone.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include <string>
#include <vector>

#include "platform/profile.h"
#include "tests/support/temp_folder.h"

using namespace std::string_literals;

namespace {

// The game folder here is on another file system than the program's working
// folder (a game on a second disk), and RA2MD.ini a link to the real file.
TEST(ProfileWriter, ReplacesTheFileInOneStep) {
    setenv("TMPDIR", "/dev/shm", 1);
    TempFolder folder;
    unsetenv("TMPDIR");
    folder.Write("real.ini", "[Audio]\nSoundVolume=0.5\n");
    std::string real = folder.File("real.ini"), path = folder.File("RA2MD.ini");
    ASSERT_EQ(chmod(real.c_str(), 0640), 0);
    ASSERT_EQ(symlink(real.c_str(), path.c_str()), 0);
    // A second name for the old file keeps the old text: the new text went to
    // a new file beside it that was renamed over the name (a rename cannot
    // cross file systems), never into the old one.
    ASSERT_EQ(link(real.c_str(), folder.File("old.ini").c_str()), 0);

    EXPECT_TRUE(profile::WriteString("Audio", "SoundVolume", "0.8", path));
    EXPECT_EQ(folder.Read("real.ini"), "[Audio]\nSoundVolume=0.8\n");
    EXPECT_EQ(folder.Read("old.ini"), "[Audio]\nSoundVolume=0.5\n");
    struct stat st, again, link_st;
    ASSERT_EQ(lstat(path.c_str(), &link_st), 0);
    EXPECT_TRUE(S_ISLNK(link_st.st_mode));
    ASSERT_EQ(stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // Writing the value the file already holds leaves the file itself alone.
    EXPECT_TRUE(profile::WriteString("Audio", "SoundVolume", "0.8", path));
    ASSERT_EQ(stat(real.c_str(), &again), 0);
    EXPECT_EQ(again.st_ino, st.st_ino);

    // When the disk is full (here the file size limit), the write is refused
    // and the file left whole.
    rlimit old, small;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    small = {4096, old.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool wrote = profile::WriteString("Audio", "SoundVolume", std::string(8192, 'x'), path);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_FALSE(wrote);
    EXPECT_EQ(folder.Read("RA2MD.ini"), "[Audio]\nSoundVolume=0.8\n");
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"RA2MD.ini", "old.ini", "real.ini"}));
}

// A UTF-16 file is read as Windows reads it, a character beyond U+FFFF as one
// '?' as the system's conversion to the ANSI code page gives it (Wine's gives
// two): here U+1F7FF, U+4E2D and U+10FC00 before an "x". It is never rewritten.
TEST(ProfileWriter, ReadsUtf16AsWindowsDoesButLeavesItAlone) {
    TempFolder folder;
    const std::string text =
        "\xFF\xFE[\0A\0]\0\r\0\n\0j\0=\0\x3D\xD8\xFF\xDF\x2D\x4E\xFF\xDB\x00\xDCx\0"s;
    folder.Write("RA2MD.ini", text);
    char buffer[100];
    unsigned n = profile::ReadString("A", "j", "p", buffer, 100, folder.File("RA2MD.ini"));
    EXPECT_EQ(std::string(buffer, n), "???x");
    EXPECT_FALSE(profile::WriteString("A", "j", "v", folder.File("RA2MD.ini")));
    EXPECT_EQ(folder.Read("RA2MD.ini"), text);
}

}  // namespace
