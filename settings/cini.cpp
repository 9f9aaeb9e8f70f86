#include "settings/cini.h"

#include "platform/profile.h"

namespace core {

namespace {

std::string TrimSpaces(const std::string& s) {
    size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace

void Cini::FileName(std::string strFile) { file_name_ = TrimSpaces(strFile); }

void Cini::ApplicationKey(std::string strAppKey) { application_key_ = TrimSpaces(strAppKey); }

std::string Cini::GetValue(std::string keyName, std::string strDefault) const {
    char buffer[kCapacity];
    unsigned count = platform::SettingsFileService().ReadString(
        application_key_, keyName, strDefault, buffer, kCapacity, file_name_);
    // The test is on the reader's count: a value made only of characters that
    // cleaning drops gives empty text, not "Error".
    if (count == 0) return "Error";
    return CleanValue(std::string(buffer, count));
}

bool Cini::SetValue(std::string keyName, std::string strValue) const {
    return platform::SettingsFileService().WriteString(application_key_, keyName, strValue,
                                                       file_name_);
}

std::string Cini::CleanValue(const std::string& text) {
    std::string clean;
    size_t i = text.find_first_not_of(' ');
    for (; i < text.size(); ++i) {
        unsigned char c = (unsigned char)text[i];
        if (c >= 32 && c <= 126) clean += (char)c;
    }
    return clean;
}

}  // namespace core
