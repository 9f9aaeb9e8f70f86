// What a refusal means for the player, decided from what the system says.
//
// The decisions are pure functions of the facts, so every combination is
// tested on every build, including those no test machine can produce (an
// elevated token, a protected folder on Windows, a file system without
// flushes). FactsAbout() gathers the facts on this platform (win/refusal.cpp,
// posix/refusal.cpp).
#pragma once

#include <cstdint>

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
// it do there what the refused step needs? kDenied: the folder's rights are
// the cause.
enum class FolderAccess { kAllowed, kDenied, kUnknown };

// The rights that the token is granted on the refused file and on its folder,
// in Windows' bits; the ones the decision reads:
constexpr std::uint32_t kRightAddFile = 0x2;         // FILE_ADD_FILE, on a folder
constexpr std::uint32_t kRightDeleteChild = 0x40;    // FILE_DELETE_CHILD, on a folder
constexpr std::uint32_t kRightDelete = 0x10000;      // DELETE, on the file
struct Rights {
    bool file_exists = false;
    std::uint32_t file = 0;
    std::uint32_t folder = 0;
};

// Whether the token's rights are what refuses `step`, on Windows: a new file
// needs kRightAddFile on the folder; a delete, and a rename over a file that
// is there, need kRightDelete on the file or kRightDeleteChild on the folder
// (Windows' own "Modify" grants the first and not the second); a rename to a
// free name adds one. Under Wine the Linux rule holds: a name goes from a
// folder only if the folder may be written. For the other steps the folder
// must grant both kRightAddFile and kRightDeleteChild.
FolderAccess FolderAccessFor(Step step, const Rights& rights, bool wine);

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
