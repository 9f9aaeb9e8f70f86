// A real temporary game folder for tests, removed afterwards; paths in UTF-8.
#pragma once

#include <string>
#include <vector>

class TempFolder {
public:
    // `leaf` names the folder itself, maybe with spaces or Cyrillic ("Игры");
    // it is made under `under`, or under the system's temporary folder.
    explicit TempFolder(const std::string& leaf = "game folder", const std::string& under = "");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const;  // path(), separator, name

    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;  // "" when missing
    void MakeFolder(const std::string& name) const;
    void SetReadOnly(const std::string& name) const;
    std::vector<std::string> Names() const;  // as stored (exact case), sorted

private:
    std::string path_;
};
