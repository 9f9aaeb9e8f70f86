#include "panel/frm1.h"

#include "panel/failure.h"
#include "panel/files.h"

using platform::Answer;
using platform::Buttons;

namespace core {

namespace {

const char kNotInGameFolder[] = "Please Place Control Panal Exe into Ra2:Yr Folder";
const char kNoSettingsFile[] = "Please Place Controll Panal Exe into Yr Folder";
const char kUninstallQuestion[] = "Are You Sure You Would Like To Uninstall ZARN??";
const char kPatchDone[] = "You done yet???";

// Wait cursor and refused presses for the length of one command.
class BusyScope {
public:
    explicit BusyScope(platform::Window& w) : w_(w) { w_.SetBusy(true); }
    ~BusyScope() { w_.SetBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    platform::Window& w_;
};

// Goes on when `status` succeeded. A refusal met inside a busy command is
// shown with the wait lifted: ending the wait drops the keys and clicks
// queued meanwhile, so none of them can answer the box before it is seen.
// The command returns next, and its BusyScope ends the wait for good.
bool ProceedWhileBusy(platform::Window& w, platform::Files& system, const platform::Status& status,
                      const char* action, const std::string& files) {
    if (status.ok) return true;
    w.SetBusy(false);
    Proceed(w, system, status, action, files);
    w.SetBusy(true);
    return false;
}

}  // namespace

const Frm1::Handler Frm1::kHandlers[9] = {
    {"Command1", &Frm1::Command1_Click}, {"Command2", &Frm1::Command2_Click},
    {"Command3", &Frm1::Command3_Click}, {"Command4", &Frm1::Command4_Click},
    {"Command5", &Frm1::Command5_Click}, {"Command6", &Frm1::Command6_Click},
    {"Command7", &Frm1::Command7_Click}, {"Uninstall", &Frm1::Uninstall_Click},
    {"Clean", &Frm1::Clean_Click},
};

Frm1::Frm1(platform::Window& window, const platform::Folder& folder, platform::Files& files,
           platform::Programs& programs, platform::Taskbar* taskbar, platform::Clock& clock)
    : window_(window), folder_(folder), files_(files), programs_(programs), taskbar_(taskbar),
      clock_(clock) {}

std::string Frm1::GameFilePath(const std::string& name) const {
    return folder_.Path() + platform::kPathSeparator + name;
}

void Frm1::Form_Load() { RefreshModState(); }

void Frm1::RefreshModState() {
    window_.SetText("visual",
                    files_.FileExists(GameFilePath(MarkerFile)) ? "Enabled" : "Disabled");
}

// Called only inside a BusyScope, as are Delete and DeleteIfPresent. A
// refusal clears the task bar button before it is shown.
bool Frm1::Move(const std::string& source, const std::string& target, Progress& progress) {
    // Copy then delete, never rename: the copy is on the disk before its
    // source goes, so every file stays whole in at least one of its forms.
    std::uint64_t size = 0;
    platform::Status copied = files_.CopyFileReplace(
        source, target, [this, &progress, &size](std::uint64_t done, std::uint64_t of) {
            size = of;
            progress.Copied(done);
            window_.KeepPainted();
        });
    if (!copied.ok) progress.End();
    if (!ProceedWhileBusy(window_, files_, copied, "copy",
                          Quoted(source) + " to " + Quoted(target)))
        return false;
    progress.FileDone(size);
    platform::Status removed = files_.RemoveFile(source);
    window_.KeepPainted();
    if (!removed.ok) progress.End();
    return ProceedWhileBusy(window_, files_, removed, "delete", Quoted(source));
}

bool Frm1::Delete(const std::string& path) {
    platform::Status removed = files_.RemoveFile(path);
    window_.KeepPainted();
    return ProceedWhileBusy(window_, files_, removed, "delete", Quoted(path));
}

bool Frm1::DeleteIfPresent(const std::string& path) {
    return !files_.FileExists(path) || Delete(path);
}

bool Frm1::Start(const std::string& path, platform::ShowState show_state) {
    if (!files_.FileExists(path)) {
        window_.Message(kNotInGameFolder, Buttons::kOk);
        return false;
    }
    return Proceed(window_, files_, programs_.StartProgram(path, show_state), "start",
                   Quoted(path));
}

// Enable (every disabled form present goes back to its own name) and
// Disable (every file present under its own name gets the suffix). The total
// for the task bar is what is there when the command starts.
bool Frm1::MoveAll(bool enable) {
    auto source_of = [this, enable](const char* name) {
        return GameFilePath(name) + (enable ? DisabledSuffix : "");
    };
    auto target_of = [enable](const std::string& source) {
        return enable ? source.substr(0, source.size() - kDisabledSuffixLength)
                      : source + DisabledSuffix;
    };
    std::uint64_t total = 0;
    for (const char* name : ModFiles)
        if (files_.FileExists(source_of(name))) total += files_.FileSize(source_of(name));
    Progress progress(taskbar_, clock_, total);
    for (const char* name : ModFiles) {
        std::string source = source_of(name);
        if (files_.FileExists(source) && !Move(source, target_of(source), progress))
            return false;
    }
    return true;
}

// &Enable
void Frm1::Command2_Click() {
    {
        BusyScope busy(window_);
        if (!MoveAll(true)) return;
    }
    RefreshModState();
}

// &Disable
void Frm1::Command3_Click() {
    {
        BusyScope busy(window_);
        if (!MoveAll(false)) return;
    }
    RefreshModState();
}

// &Launch: start the game minimized and close the panel.
void Frm1::Command1_Click() {
    if (Start(GameFilePath(GameExe), platform::kShowMinimized)) window_.Close();
}

void Frm1::Command4_Click() { window_.ShowModal(platform::Form::kAbout); }

void Frm1::Command5_Click() { window_.Close(); }

void Frm1::Command6_Click() { window_.ShowModal(platform::Form::kHelp); }

void Frm1::Command7_Click() {
    if (!files_.FileExists(GameFilePath(platform::kSettingsFile))) {
        window_.Message(kNoSettingsFile, Buttons::kOk);
        return;
    }
    window_.ShowModal(platform::Form::kGameOptions);
}

void Frm1::Uninstall_Click() {
    if (window_.Message(kUninstallQuestion, Buttons::kYesNo) != Answer::kYes) return;
    {
        BusyScope busy(window_);
        for (const char* name : UninstallFiles)
            if (!DeleteIfPresent(GameFilePath(name))) return;
    }
    std::string patch = GameFilePath(PatchExe);
    if (!Start(patch, platform::kShowNormal)) return;
    window_.Message(kPatchDone, Buttons::kOk);
    {
        BusyScope busy(window_);
        if (!Delete(patch)) return;
    }
    window_.Close();
}

void Frm1::Clean_Click() {
    BusyScope busy(window_);
    for (const char* name : CleanFiles)
        if (!DeleteIfPresent(GameFilePath(name))) return;
}

}  // namespace core
