// Our own writer's promises beyond the values read back: the file replaced in
// one step, links followed, a UTF-16 file read as Windows reads it.
// (settings_file_test.cpp checks that every other byte of the game's file is
// kept.)
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/profile.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(ProfileWriter, ReplacesTheFileInOneStep) {
    TempFolder folder;
    folder.Write("RA2MD.ini", "[Audio]\nSoundVolume=0.5\n");
    std::string path = folder.File("RA2MD.ini");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    // A second name for the old file keeps the old text: the new text went to
    // a new file that was renamed over the name, never into the old one.
    std::string old_link = folder.File("old.ini");
    ASSERT_EQ(link(path.c_str(), old_link.c_str()), 0);

    EXPECT_TRUE(profile::WriteString("Audio", "SoundVolume", "0.8", path));
    EXPECT_EQ(folder.Read("RA2MD.ini"), "[Audio]\nSoundVolume=0.8\n");
    EXPECT_EQ(folder.Read("old.ini"), "[Audio]\nSoundVolume=0.5\n");
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"RA2MD.ini", "old.ini"}));  // no temporary left
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // Writing the value the file already holds leaves the file itself alone.
    EXPECT_TRUE(profile::WriteString("Audio", "SoundVolume", "0.8", path));
    struct stat again;
    ASSERT_EQ(stat(path.c_str(), &again), 0);
    EXPECT_EQ(again.st_ino, st.st_ino);
}

TEST(ProfileWriter, WritesThroughASymbolicLink) {
    TempFolder folder;
    folder.Write("real.ini", "[Audio]\r\n");
    ASSERT_EQ(symlink(folder.File("real.ini").c_str(), folder.File("RA2MD.ini").c_str()), 0);
    EXPECT_TRUE(profile::WriteString("Audio", "k", "v", folder.File("RA2MD.ini")));
    EXPECT_EQ(folder.Read("real.ini"), "[Audio]\r\nk=v\r\n");
    struct stat st;
    ASSERT_EQ(lstat(folder.File("RA2MD.ini").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

// A character beyond U+FFFF in a UTF-16 file reads as one '?', as the
// system's conversion to the ANSI code page gives it (Wine's gives two).
TEST(ProfileReader, APairOfSurrogatesIsOneCharacter) {
    TempFolder folder;
    folder.Write("RA2MD.ini", std::string("\xFF\xFE[\0A\0]\0\r\0\n\0j\0=\0\x3D\xD8\xFF\xDFx\0", 22));
    char buffer[100];
    unsigned n = profile::ReadString("A", "j", "p", buffer, 100, folder.File("RA2MD.ini"));
    EXPECT_EQ(std::string(buffer, n), "?x");
}

}  // namespace
