// The platform layer on both builds: files in a real temporary folder, and the
// decisions about refusals and system DLLs over facts no test machine has.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "panel/failure.h"
#include "platform/loader.h"
#include "platform/platform.h"
#include "platform/refusal.h"
#include "tests/support/remedies.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace platform;

// A name asked in any letter case finds the file, read-only too; a folder is no file.
TEST(Platform, FileExists) {
    struct { const char *entry, *asked; bool folder, read_only, found; } cases[] = {
        {"expandmd81.mix", "expandmd81.mix", false, false, true},
        {"other.mix", "expandmd81.mix", false, false, false},
        {"EXPANDMD81.MIX", "expandmd81.mix", false, false, true},
        {"expandmd81.mix", "ExpandMD81.Mix", false, false, true},
        {"expandmd81.mix", "expandmd81.mix", true, false, false},
        {"expandmd81.mix", "expandmd81.mix", false, true, true},
        {"rzarn.yro.zarn", "rzarn.yro.Zarn", false, false, true},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        c.folder ? dir.MakeFolder(c.entry) : dir.Write(c.entry, "data");
        if (c.read_only) dir.SetReadOnly(c.entry);
        EXPECT_EQ(FileExists(dir.File(c.asked)), c.found) << c.entry << " " << c.asked;
    }
}

// Copies byte for byte with progress up to the size, in a folder of non-English
// letters; a read-only file is neither deleted nor overwritten, and its copy is
// read-only too; deletes ignore letter case; a missing file is refused with a reason.
TEST(Platform, CopyAndRemove) {
    TempFolder dir("Игры");
    const std::string bytes("\0\x01\xff mix data\r\n", 15), big(9u << 20, 'b');
    dir.Write("ra2md.csf", bytes);
    dir.Write("ra2md.csf.Zarn", "old contents that get replaced");
    dir.Write("expandmd80.mix", big);
    ASSERT_TRUE(CopyFileReplace(dir.File("ra2md.csf"), dir.File("ra2md.csf.Zarn")).ok);
    EXPECT_EQ(dir.Read("ra2md.csf.Zarn"), bytes);
    std::vector<std::uint64_t> copied;
    ASSERT_TRUE(CopyFileReplace(dir.File("expandmd80.mix"), dir.File("big.Zarn"),
                                [&](std::uint64_t done, std::uint64_t size) {
                                    EXPECT_EQ(size, big.size());
                                    copied.push_back(done);
                                }).ok);
    ASSERT_FALSE(copied.empty());
    EXPECT_EQ(copied.back(), big.size());
    EXPECT_TRUE(std::is_sorted(copied.begin(), copied.end()));
    EXPECT_EQ(dir.Read("big.Zarn"), big);
    ASSERT_TRUE(RemoveFile(dir.File("expandmd80.mix")).ok && RemoveFile(dir.File("big.Zarn")).ok);

    dir.SetReadOnly("ra2md.csf.Zarn");
    EXPECT_FALSE(RemoveFile(dir.File("ra2md.csf.Zarn")).ok);
    EXPECT_FALSE(CopyFileReplace(dir.File("ra2md.csf"), dir.File("ra2md.csf.Zarn")).ok);
    EXPECT_EQ(dir.Read("ra2md.csf.Zarn"), bytes);
    ASSERT_TRUE(CopyFileReplace(dir.File("ra2md.csf.Zarn"), dir.File("copy.mix")).ok);
    EXPECT_FALSE(RemoveFile(dir.File("copy.mix")).ok);
    dir.SetReadOnly("copy.mix", false);
    ASSERT_TRUE(RemoveFile(dir.File("copy.mix")).ok);
    ASSERT_TRUE(RemoveFile(dir.File("RA2MD.CSF")).ok);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"ra2md.csf.Zarn"});
    Status s = RemoveFile(dir.File("missing.mix"));
    EXPECT_FALSE(s.ok);
    EXPECT_FALSE(s.reason.empty());
}

// The application folder is the test program's own, without a final separator.
TEST(Platform, ApplicationFolder) {
    std::string folder = ApplicationFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), kPathSeparator);
    EXPECT_TRUE(std::filesystem::u8path(folder).is_absolute()) << folder;
    bool found = false;
    for (auto& e : std::filesystem::directory_iterator(std::filesystem::u8path(folder)))
        found = found || e.path().stem() == "zarn_tests";
    EXPECT_TRUE(found) << folder;
}

// The line below a refusal: a wrong choice sends the player after the wrong cause.
TEST(Platform, RefusalRemedy) {
    const ErrorKind kHeld = ErrorKind::kSharingViolation, kDenied = ErrorKind::kAccessDenied;
    const FolderAccess kYes = FolderAccess::kAllowed, kNo = FolderAccess::kDenied;
    struct { Step step; ErrorKind error; FolderAccess folder; const char* facts; const char* line; }
    cases[] = {  // facts: r read-only, f a folder, e elevated, w under Wine
        {Step::kDelete, kHeld, kNo, "", remedies::kCloseProgram},
        {Step::kOpenSource, kHeld, kYes, "w", remedies::kCloseProgram},
        {Step::kDelete, kDenied, kYes, "e", remedies::kCloseProgram},  // a running program
        {Step::kRename, kDenied, kYes, "rw", remedies::kClearReadOnly},
        {Step::kDelete, kDenied, kNo, "r", remedies::kClearReadOnly},
        {Step::kCreateCopy, kDenied, kNo, "", remedies::kRunAsAdministrator},
        {Step::kDelete, kDenied, kNo, "e", ""},
        {Step::kCreateCopy, kDenied, kNo, "w", remedies::kGiveLinuxAccess},
        {Step::kDelete, kDenied, kNo, "ew", remedies::kGiveLinuxAccess},
        {Step::kDelete, kDenied, FolderAccess::kUnknown, "", ""},
        {Step::kRename, kDenied, kYes, "f", ""},
        {Step::kStart, kDenied, kNo, "", ""},
        {Step::kWrite, ErrorKind::kOther, kYes, "", ""},
    };
    for (const auto& c : cases) {
        RefusalFacts f;
        f.step = c.step, f.error = c.error, f.folder = c.folder;
        auto has = [&](char fact) { return std::string(c.facts).find(fact) != std::string::npos; };
        f.read_only = has('r'), f.is_folder = has('f'), f.elevated = has('e'), f.wine = has('w');
        EXPECT_EQ(failure::RemedyText(ChooseRemedy(f)), c.line) << int(c.step) << c.facts;
    }
}

// Only a copy waits for a held file, and only for a second in all; a share
// without flushes is no failure.
TEST(Platform, CopyPatience) {
    const ErrorKind kHeld = ErrorKind::kSharingViolation, kNot = ErrorKind::kUnsupported;
    struct { Step step; ErrorKind error; int waited_ms; Next next; } cases[] = {
        {Step::kOpenSource, kHeld, 0, Next::kWaitAndRetry},
        {Step::kCreateCopy, kHeld, 500, Next::kWaitAndRetry},
        {Step::kRename, kHeld, 999, Next::kWaitAndRetry},
        {Step::kRename, kHeld, 1000, Next::kFailed},
        {Step::kDelete, kHeld, 0, Next::kFailed},
        {Step::kStart, kHeld, 0, Next::kFailed},
        {Step::kRename, ErrorKind::kAccessDenied, 0, Next::kFailed},
        {Step::kFlush, kNot, 0, Next::kCarryOn},
        {Step::kFlush, ErrorKind::kOther, 0, Next::kFailed},
        {Step::kWrite, kNot, 0, Next::kFailed},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AfterFailedStep(c.step, c.error, c.waited_ms), c.next) << int(c.step);
}

// System DLLs: by flag where the loader knows it, else by full path in the
// system folder, never with a flag an old loader refuses.
TEST(Platform, SystemDlls) {
    platform::SystemLoad with = PlanSystemLoad(true), without = PlanSystemLoad(false);
    EXPECT_EQ(std::vector<unsigned long>({with.by_full_path, with.flags, with.preload}),
              std::vector<unsigned long>({0, 0x800, 0}));  // LOAD_LIBRARY_SEARCH_SYSTEM32
    EXPECT_EQ(std::vector<unsigned long>({without.by_full_path, without.flags, without.preload}),
              std::vector<unsigned long>({1, 0x8, 1}));  // LOAD_WITH_ALTERED_SEARCH_PATH
    EXPECT_EQ(std::wstring(kLoadedByNameLater[0]), L"uxtheme.dll");
    struct { const wchar_t *folder, *name; std::size_t capacity; const wchar_t* path; } cases[] = {
        {L"C:\\Windows\\system32", L"windowscodecs.dll", 260,
         L"C:\\Windows\\system32\\windowscodecs.dll"},
        {L"C:\\", L"uxtheme.dll", 260, L"C:\\uxtheme.dll"},
        {L"", L"uxtheme.dll", 260, nullptr},
        {L"C:\\Windows\\system32", L"", 260, nullptr},
        {L"C:\\W", L"a.dll", 11, L"C:\\W\\a.dll"},  // ten characters and the terminator
        {L"C:\\W", L"ab.dll", 11, nullptr},
    };
    for (const auto& c : cases) {
        wchar_t out[300] = L"untouched";
        EXPECT_EQ(JoinSystemPath(c.folder, c.name, out, c.capacity), c.path != nullptr) << c.capacity;
        if (c.path) { EXPECT_EQ(std::wstring(out), c.path); }
    }
}

}  // namespace
