#include "panel/failure.h"

#include "platform/folder.h"

namespace failure {

std::string Text(const std::string& action, const std::string& files, const std::string& reason) {
    return "Could not " + action + " " + files + ": " + reason;
}

std::string Quoted(const std::string& path) {
    std::string::size_type sep = path.rfind(platform::kPathSeparator);
    return "\"" + (sep == std::string::npos ? path : path.substr(sep + 1)) + "\"";
}

bool Proceed(ui::Window& window, const platform::Status& status, const std::string& action,
             const std::string& files) {
    if (status.ok) return true;
    window.Message(Text(action, files, status.reason), ui::Buttons::kOk);
    return false;
}

}  // namespace failure
