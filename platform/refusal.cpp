#include "platform/refusal.h"

namespace platform {

Remedy ChooseRemedy(const RefusalFacts& f) {
    if (f.error == ErrorKind::kSharingViolation) return Remedy::kCloseProgram;
    // A start denied is the program's own business (not a program, or not
    // one this user may run), never the folder's.
    if (f.error != ErrorKind::kAccessDenied || f.is_folder || f.step == Step::kStart)
        return Remedy::kNone;
    if (f.read_only) return Remedy::kClearReadOnly;
    switch (f.folder) {
    case FolderAccess::kDenied:
        if (f.wine) return Remedy::kGiveLinuxAccess;
        // An elevated administrator denied all the same has nowhere to go.
        return f.elevated ? Remedy::kNone : Remedy::kRunAsAdministrator;
    case FolderAccess::kAllowed:
        // The token may delete the file, yet the system denies it: Windows
        // says so for a program that is running (its file is open for
        // execution), and for a file held without delete sharing.
        return Remedy::kCloseProgram;
    case FolderAccess::kUnknown: break;
    }
    return Remedy::kNone;
}

FolderAccess FolderAccessFor(Step step, const Rights& r, bool wine) {
    auto folder_grants = [&r](std::uint32_t bits) { return (r.folder & bits) == bits; };
    bool removes = step == Step::kDelete || (step == Step::kRename && r.file_exists);
    bool allowed;
    if (step == Step::kCreateCopy || (step == Step::kRename && !r.file_exists))
        allowed = folder_grants(kRightAddFile);
    else if (removes)
        allowed = folder_grants(kRightDeleteChild) || (!wine && (r.file & kRightDelete));
    else
        allowed = folder_grants(kRightAddFile | kRightDeleteChild);
    return allowed ? FolderAccess::kAllowed : FolderAccess::kDenied;
}

Next AfterFailedStep(Step step, ErrorKind error, int waited_ms) {
    if (step == Step::kFlush && error == ErrorKind::kUnsupported) return Next::kCarryOn;
    bool waits = step == Step::kOpenSource || step == Step::kCreateCopy || step == Step::kRename;
    if (waits && error == ErrorKind::kSharingViolation && waited_ms < kCopyPatienceMs)
        return Next::kWaitAndRetry;
    return Next::kFailed;
}

}  // namespace platform
