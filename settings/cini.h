// Cini: the program's only way into INI files. One object names one file
// (FileName) and one section of it (ApplicationKey) and reads or writes
// single keys of that section as text through the settings file service
// (platform/profile.h) that start-up sets, the only way it has to the file.
//
// What it adds to them: both names are trimmed of spaces when set; a read has
// room for 100 characters including the terminator, so at most 99 come back;
// the text read is cleaned to printable ASCII; an empty read comes back as
// "Error"; a write reports success as a Boolean. Nothing is cached: every
// call goes to the file.
#pragma once

#include <string>

namespace core {

class Cini {
public:
    // Room for a read, the terminator included.
    static constexpr unsigned kCapacity = 100;

    const std::string& FileName() const { return file_name_; }
    void FileName(std::string strFile);

    const std::string& ApplicationKey() const { return application_key_; }
    void ApplicationKey(std::string strAppKey);

    // The cleaned value of keyName, or of strDefault when the file, the
    // section or the key is absent; "Error" when the reader placed nothing.
    std::string GetValue(std::string keyName, std::string strDefault) const;

    // True when the platform reported a successful write.
    bool SetValue(std::string keyName, std::string strValue) const;

private:
    // Leading spaces removed, then every character outside codes 32 to 126
    // dropped (tabs, control characters, accented letters).
    static std::string CleanValue(const std::string& text);

    std::string file_name_;
    std::string application_key_;
};

}  // namespace core
