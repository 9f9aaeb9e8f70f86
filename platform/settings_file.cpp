// The settings file service that Cini reaches, as start-up or a test set it.
#include "platform/profile.h"

namespace platform {

namespace {
SettingsFile* g_settings_file = nullptr;
}  // namespace

SettingsFile* SetSettingsFileService(SettingsFile* service) {
    SettingsFile* before = g_settings_file;
    g_settings_file = service;
    return before;
}

SettingsFile& SettingsFileService() { return *g_settings_file; }

}  // namespace platform
