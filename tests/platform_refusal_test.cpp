// What a refusal means for the player, and what a copy does about it: the
// decisions over every combination of the facts, including those no test
// machine can produce (an elevated token, a folder protected by Windows, a
// share without flushes). The real facts are gathered by the Windows tests
// under Wine (tests/win/refusal_win_test.cpp).
#include <gtest/gtest.h>

#include <string>

#include "platform/refusal.h"
#include "panel/failure.h"
#include "tests/support/remedies.h"

namespace {

using platform::ErrorKind;
using platform::FolderAccess;
using platform::Next;
using platform::Remedy;
using platform::Step;

TEST(RefusalRemedy, OneLineForEachKindOfRefusal) {
    const ErrorKind kShared = ErrorKind::kSharingViolation, kDenied = ErrorKind::kAccessDenied;
    const FolderAccess kYes = FolderAccess::kAllowed, kNo = FolderAccess::kDenied,
                       kUnknown = FolderAccess::kUnknown;
    struct Case {
        const char* what;
        Step step;
        ErrorKind error;
        bool read_only, is_folder;
        FolderAccess folder;
        bool elevated, wine;
        const char* line;  // null: no line below the reason
    } cases[] = {
        {"delete of a file held open", Step::kDelete, kShared, false, false, kYes, false, false,
         remedies::kCloseProgram},
        {"copy's source held open", Step::kOpenSource, kShared, false, false, kYes, false, false,
         remedies::kCloseProgram},
        {"held open, under Wine", Step::kDelete, kShared, false, false, kYes, false, true,
         remedies::kCloseProgram},
        {"held open in a protected folder", Step::kDelete, kShared, false, false, kNo, false,
         false, remedies::kCloseProgram},
        {"delete of a running program (open for execution)", Step::kDelete, kDenied, false, false,
         kYes, false, false, remedies::kCloseProgram},
        {"patch program still running after OK, elevated", Step::kDelete, kDenied, false, false,
         kYes, true, false, remedies::kCloseProgram},
        {"target held without delete sharing, under Wine", Step::kRename, kDenied, false, false,
         kYes, false, true, remedies::kCloseProgram},
        {"read-only file", Step::kDelete, kDenied, true, false, kYes, false, false,
         remedies::kClearReadOnly},
        {"read-only target of a copy", Step::kRename, kDenied, true, false, kYes, false, true,
         remedies::kClearReadOnly},
        {"read-only file in a protected folder", Step::kDelete, kDenied, true, false, kNo, false,
         false, remedies::kClearReadOnly},
        {"Program Files, not elevated", Step::kDelete, kDenied, false, false, kNo, false, false,
         remedies::kRunAsAdministrator},
        {"Program Files, copy not elevated", Step::kCreateCopy, kDenied, false, false, kNo, false,
         false, remedies::kRunAsAdministrator},
        {"protected folder, elevated all the same", Step::kDelete, kDenied, false, false, kNo,
         true, false, nullptr},
        {"Linux user without write access, under Wine", Step::kCreateCopy, kDenied, false, false,
         kNo, false, true, remedies::kGiveLinuxAccess},
        {"Linux user without write access, delete", Step::kDelete, kDenied, false, false, kNo,
         true, true, remedies::kGiveLinuxAccess},
        {"access check not possible", Step::kDelete, kDenied, false, false, kUnknown, false,
         false, nullptr},
        {"a folder at the target", Step::kRename, kDenied, false, true, kYes, false, false,
         nullptr},
        {"start denied", Step::kStart, kDenied, false, false, kYes, false, false, nullptr},
        {"start denied in a protected folder", Step::kStart, kDenied, false, false, kNo, false,
         false, nullptr},
        {"file gone meanwhile", Step::kDelete, ErrorKind::kOther, false, false, kYes, false, false,
         nullptr},
        {"disk full", Step::kWrite, ErrorKind::kOther, false, false, kYes, false, false, nullptr},
    };
    for (const Case& c : cases) {
        platform::RefusalFacts f;
        f.step = c.step;
        f.error = c.error;
        f.read_only = c.read_only;
        f.is_folder = c.is_folder;
        f.folder = c.folder;
        f.elevated = c.elevated;
        f.wine = c.wine;
        EXPECT_EQ(failure::RemedyText(platform::ChooseRemedy(f)), c.line ? c.line : "") << c.what;
    }
}

TEST(CopyPatience, OnlyACopyWaitsForAHeldFileAndOnlyForASecond) {
    const ErrorKind kShared = ErrorKind::kSharingViolation;
    struct Case {
        const char* what;
        Step step;
        ErrorKind error;
        int waited_ms;
        Next next;
    } cases[] = {
        {"source held", Step::kOpenSource, kShared, 0, Next::kWaitAndRetry},
        {"new copy held", Step::kCreateCopy, kShared, 500, Next::kWaitAndRetry},
        {"new copy held when renamed into place", Step::kRename, kShared, 950,
         Next::kWaitAndRetry},
        {"held for a second in all", Step::kRename, kShared, 1000, Next::kFailed},
        {"source still held after a second", Step::kOpenSource, kShared, 1000, Next::kFailed},
        {"delete never retried", Step::kDelete, kShared, 0, Next::kFailed},
        {"start never retried", Step::kStart, kShared, 0, Next::kFailed},
        {"access denied not retried", Step::kRename, ErrorKind::kAccessDenied, 0, Next::kFailed},
        {"a share without flushes", Step::kFlush, ErrorKind::kUnsupported, 0, Next::kCarryOn},
        {"a flush that fails to write", Step::kFlush, ErrorKind::kOther, 0, Next::kFailed},
        {"unsupported elsewhere than the flush", Step::kWrite, ErrorKind::kUnsupported, 0,
         Next::kFailed},
        {"write error", Step::kWrite, ErrorKind::kOther, 0, Next::kFailed},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::AfterFailedStep(c.step, c.error, c.waited_ms), c.next) << c.what;
}

}  // namespace
