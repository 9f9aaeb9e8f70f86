// The platform layer over a real temporary folder: what counts as a file,
// copy, delete and the application folder, the same on both builds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/platform.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(FileExists, AnswersForEachKindOfEntry) {
    struct Case {
        const char* what;
        const char* entry;    // created in the folder
        bool folder;          // a folder rather than a file
        bool read_only;
        const char* asked;    // the name asked for
        bool expected;
    } cases[] = {
        {"ordinary file", "expandmd81.mix", false, false, "expandmd81.mix", true},
        {"missing file", "other.mix", false, false, "expandmd81.mix", false},
        {"name in capitals", "EXPANDMD81.MIX", false, false, "expandmd81.mix", true},
        {"asked in mixed case", "expandmd81.mix", false, false, "ExpandMD81.Mix", true},
        {"folder of that name", "expandmd81.mix", true, false, "expandmd81.mix", false},
        {"read-only file", "expandmd81.mix", false, true, "expandmd81.mix", true},
        {"suffix in other case", "rzarn.yro.zarn", false, false, "rzarn.yro.Zarn", true},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        if (c.folder) dir.MakeFolder(c.entry);
        else dir.Write(c.entry, "data");
        if (c.read_only) dir.SetReadOnly(c.entry);
        EXPECT_EQ(platform::FileExists(dir.File(c.asked)), c.expected) << c.what;
    }
}

TEST(CopyAndRemove, MoveBytesAndRefuseWhatWindowsRefuses) {
    TempFolder dir("Игры");
    std::string bytes("\0\x01\xff mix data\r\n", 15);
    dir.Write("ra2md.csf", bytes);
    dir.Write("ra2md.csf.Zarn", "old contents that get replaced");
    ASSERT_TRUE(platform::CopyFileReplace(dir.File("ra2md.csf"), dir.File("ra2md.csf.Zarn")).ok);
    EXPECT_EQ(dir.Read("ra2md.csf.Zarn"), bytes);

    // A long copy reports how far it is, up to the whole size.
    std::string big(9u << 20, 'b');  // more than one piece of the copy
    dir.Write("expandmd80.mix", big);
    std::vector<std::uint64_t> copied;
    ASSERT_TRUE(platform::CopyFileReplace(dir.File("expandmd80.mix"), dir.File("big.Zarn"),
                                          [&](std::uint64_t done, std::uint64_t size) {
                                              EXPECT_EQ(size, big.size());
                                              copied.push_back(done);
                                          }).ok);
    ASSERT_FALSE(copied.empty());
    EXPECT_EQ(copied.back(), big.size());
    EXPECT_TRUE(std::is_sorted(copied.begin(), copied.end()));
    EXPECT_EQ(dir.Read("big.Zarn"), big);
    ASSERT_TRUE(platform::RemoveFile(dir.File("expandmd80.mix")).ok);
    ASSERT_TRUE(platform::RemoveFile(dir.File("big.Zarn")).ok);

    // A read-only file can be neither deleted nor overwritten.
    dir.SetReadOnly("ra2md.csf.Zarn");
    platform::Status s = platform::RemoveFile(dir.File("ra2md.csf.Zarn"));
    EXPECT_FALSE(s.ok);
    EXPECT_FALSE(s.reason.empty());
    EXPECT_FALSE(platform::CopyFileReplace(dir.File("ra2md.csf"), dir.File("ra2md.csf.Zarn")).ok);
    EXPECT_EQ(dir.Read("ra2md.csf.Zarn"), bytes);
    // The copy takes the source's permissions: a read-only file's copy is read-only.
    ASSERT_TRUE(platform::CopyFileReplace(dir.File("ra2md.csf.Zarn"), dir.File("copy.mix")).ok);
    EXPECT_FALSE(platform::RemoveFile(dir.File("copy.mix")).ok);
    dir.SetReadOnly("copy.mix", false);
    ASSERT_TRUE(platform::RemoveFile(dir.File("copy.mix")).ok);

    // Deleting matches the name without regard to case.
    ASSERT_TRUE(platform::RemoveFile(dir.File("RA2MD.CSF")).ok);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"ra2md.csf.Zarn"});

    // A missing file is a refusal with a reason, not a crash.
    s = platform::RemoveFile(dir.File("missing.mix"));
    EXPECT_FALSE(s.ok);
    EXPECT_FALSE(s.reason.empty());
}

TEST(ApplicationFolder, IsTheFolderOfTheRunningExecutable) {
    std::string folder = platform::ApplicationFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), platform::kPathSeparator);
    // The test program itself stands in that folder, whatever the working directory.
    std::filesystem::path here = std::filesystem::u8path(folder);
    bool found = false;
    for (auto& e : std::filesystem::directory_iterator(here))
        if (e.path().stem() == "zarn_tests") found = true;
    EXPECT_TRUE(found) << folder;
}

}  // namespace
