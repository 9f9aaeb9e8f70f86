// What a refusal means for the player, decided from what the system says.
//
// The decisions are pure functions of the facts, so every combination is
// tested on every build, including those no test machine can produce (an
// elevated token, a protected folder on Windows, a file system without
// flushes). FactsAbout() gathers the facts on this platform (win/refusal.cpp,
// posix/refusal.cpp).
#pragma once

#include "platform/status.h"

namespace platform {

// The refusals that the remedies and the copy's retries tell apart.
enum class ErrorKind {
    kOther,
    kSharingViolation,  // another program holds the file open
    kAccessDenied,
    kUnsupported,       // the file system has no such operation (a flush on some shares)
};

// Access of the panel's token to the folder that holds the refused file: may
// it add files to it and delete files from it?
enum class FolderAccess { kAllowed, kDenied, kUnknown };

struct RefusalFacts {
    Step step = Step::kNone;  // the refused step
    ErrorKind error = ErrorKind::kOther;
    bool read_only = false;  // the refused file carries the read-only attribute
    bool is_folder = false;  // the refused name is a folder
    FolderAccess folder = FolderAccess::kUnknown;
    bool elevated = false;   // the token is an administrator's, elevated
    bool wine = false;       // running under Wine, on a Linux user's permissions
};

enum class Remedy {
    kNone,
    kCloseProgram,        // the file is in use: close the game or the patch program
    kClearReadOnly,       // clear the file's read-only attribute
    kRunAsAdministrator,  // the folder is protected by Windows
    kGiveLinuxAccess,     // under Wine, the Linux user may not write the folder
};

// The likely remedy for a refusal with these facts.
Remedy ChooseRemedy(const RefusalFacts& facts);

// The facts about `refused` (a Status that is not ok), gathered now.
RefusalFacts FactsAbout(const Status& refused);

enum class Next { kFailed, kWaitAndRetry, kCarryOn };

// What a copy does when `step` fails with `error`, having waited `waited_ms`
// for held files so far. A virus scanner holds a new file for a moment, so
// a copy waits for a held file for up to kCopyPatienceMs in all; deletes and
// program starts are never retried. A flush that the file system does not
// support is no failure: the data has gone to the share all the same.
Next AfterFailedStep(Step step, ErrorKind error, int waited_ms);
constexpr int kCopyPatienceMs = 1000;
constexpr int kCopyWaitStepMs = 50;

}  // namespace platform
