// The services a test hands to the core: the real ones, over a game folder of
// the test's own.
#pragma once

#include <string>
#include <utility>

#include "platform/system.h"

// The application folder of a test: its game folder, wherever the test
// program itself lives.
class GameFolder : public platform::Folder {
public:
    explicit GameFolder(std::string path) : path_(std::move(path)) {}
    std::string Path() const override { return path_; }

private:
    std::string path_;
};

// The real services over the game folder at `path`; the real settings file
// is the settings file service while this lives.
struct RealServices {
    explicit RealServices(std::string path) : folder(std::move(path)) {}
    GameFolder folder;
    platform::SystemFiles files;
    platform::SystemPrograms programs;
    platform::SystemSettingsFile settings_file;
    platform::UseSettingsFile use_settings_file{settings_file};
    platform::SteadyClock clock;
};
