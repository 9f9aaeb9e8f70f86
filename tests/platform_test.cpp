// The platform layer's decisions, over facts no test machine has.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/failure.h"
#include "platform/loader.h"
#include "platform/refusal.h"
#include "tests/support/remedies.h"

namespace {

using namespace platform;

// The line below a refusal (a wrong one sends the player after the wrong cause),
// and whether a copy waits: only for a held file, and only for a second in all.
TEST(Platform, RefusalRemedyAndPatience) {
    const ErrorKind kHeld = ErrorKind::kSharingViolation, kDenied = ErrorKind::kAccessDenied;
    const FolderAccess kYes = FolderAccess::kAllowed, kNo = FolderAccess::kDenied;
    struct { Step step; ErrorKind error; FolderAccess folder; const char* facts; const char* line; } cases[] = {
        {Step::kDelete, kHeld, kNo, "", remedies::kCloseProgram},  // facts: read-only, folder, elevated, Wine
        {Step::kDelete, kDenied, kYes, "e", remedies::kCloseProgram},  // a running program
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
        auto has = [&](char fact) { return std::string(c.facts).find(fact) != std::string::npos; };
        RefusalFacts f{c.step, c.error, has('r'), has('f'), c.folder, has('e'), has('w')};
        EXPECT_EQ(failure::RemedyText(ChooseRemedy(f)), c.line) << int(c.step) << c.facts;
    }
    struct { Step step; ErrorKind error; int waited_ms; Next next; } waits[] = {
        {Step::kOpenSource, kHeld, 0, Next::kWaitAndRetry},
        {Step::kCreateCopy, kHeld, 500, Next::kWaitAndRetry},
        {Step::kRename, kHeld, 999, Next::kWaitAndRetry},
        {Step::kRename, kHeld, 1000, Next::kFailed},
        {Step::kDelete, kHeld, 0, Next::kFailed},
        {Step::kRename, kDenied, 0, Next::kFailed},
        {Step::kFlush, ErrorKind::kUnsupported, 0, Next::kCarryOn},  // a share without flushes
        {Step::kFlush, ErrorKind::kOther, 0, Next::kFailed},
        {Step::kWrite, ErrorKind::kUnsupported, 0, Next::kFailed},
    };
    for (const auto& c : waits) EXPECT_EQ(AfterFailedStep(c.step, c.error, c.waited_ms), c.next) << int(c.step);
}

// System DLLs: by flag where the loader knows it, else by full path in the
// system folder, never with a flag an old loader refuses.
TEST(Platform, SystemDlls) {
    platform::SystemLoad with = PlanSystemLoad(true), without = PlanSystemLoad(false);
    EXPECT_EQ(std::vector<unsigned long>({with.by_full_path, with.flags, with.preload, without.by_full_path,
                                          without.flags, without.preload}),
              std::vector<unsigned long>({0, 0x800, 0, 1, 0x8, 1}));  // ..._SEARCH_SYSTEM32, ..._ALTERED_SEARCH_PATH
    EXPECT_EQ(std::wstring(kLoadedByNameLater[0]), L"uxtheme.dll");
    struct { const wchar_t *folder, *name; std::size_t capacity; const wchar_t* path; } cases[] = {
        {L"C:\\Windows\\system32", L"windowscodecs.dll", 260, L"C:\\Windows\\system32\\windowscodecs.dll"},
        {L"C:\\", L"uxtheme.dll", 260, L"C:\\uxtheme.dll"},
        {L"", L"uxtheme.dll", 260, nullptr},
        {L"C:\\Windows\\system32", L"", 260, nullptr},
        {L"C:\\W", L"a.dll", 11, L"C:\\W\\a.dll"},  // ten characters and the terminator
        {L"C:\\W", L"ab.dll", 11, nullptr},
    };
    for (const auto& c : cases) {
        wchar_t out[300] = L"untouched";
        EXPECT_EQ(JoinSystemPath(c.folder, c.name, out, c.capacity), c.path != nullptr) << c.capacity;
        EXPECT_EQ(std::wstring(out), c.path ? c.path : L"untouched");
    }
}

}  // namespace
