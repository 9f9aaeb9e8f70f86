#include "panel/failure.h"

#include "platform/folder.h"

namespace core {

std::string FailureText(const std::string& action, const std::string& files,
                        const std::string& reason) {
    return "Could not " + action + " " + files + ": " + reason;
}

std::string RemedyText(platform::Remedy remedy) {
    using platform::Remedy;
    switch (remedy) {
    case Remedy::kCloseProgram:
        return "If the game or the patch program is still running, close it and try again.";
    case Remedy::kClearReadOnly:
        return "The file is read-only: clear \"Read-only\" in its Properties and try again.";
    case Remedy::kRunAsAdministrator:
        return "The game folder is protected by Windows. Close this panel and start "
               "\"ZARN Control Panal.exe\" again with \"Run as administrator\".";
    case Remedy::kGiveLinuxAccess:
        return "Your Linux user may not change the game folder: give it write access, or move "
               "the game.";
    case Remedy::kNone: break;
    }
    return {};
}

std::string Quoted(const std::string& path) {
    std::string::size_type sep = path.rfind(platform::kPathSeparator);
    return "\"" + (sep == std::string::npos ? path : path.substr(sep + 1)) + "\"";
}

bool Proceed(platform::Window& window, platform::Files& system, const platform::Status& status,
             const std::string& action, const std::string& files) {
    if (status.ok) return true;
    std::string text = FailureText(action, files, status.reason);
    std::string remedy = RemedyText(platform::ChooseRemedy(system.FactsAbout(status)));
    if (!remedy.empty()) text += "\n" + remedy;
    window.Message(text, platform::Buttons::kOk);
    return false;
}

}  // namespace core
