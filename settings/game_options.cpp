#include "settings/game_options.h"

#include <optional>
#include <string>

#include "platform/folder.h"
#include "settings/cini.h"
#include "settings/convert.h"
#include "settings/keys.h"

namespace core {

// One on/off row: its key and the status label's two captions.
struct GameOptions::SwitchRow {
    SettingKey key;
    const char* label;
    const char* on;
    const char* off;
};

// One volume row: its key, slider, number box and the row's caption.
struct GameOptions::VolumeRow {
    SettingKey key;
    const char* slider;
    const char* box;
    const char* caption;
};

// In the order the load step reads them.
const GameOptions::SwitchRow GameOptions::kSwitches[4] = {
    {kAllowHiResModes, "EHRS", "On", "Off"},
    {kInGameMusic, "NAS", "Sound On", "Sound Off"},
    {kAllowVramSidebar, "EVSS", "On", "Off"},
    {kVideoBackBuffer, "EVBBS", "On", "Off"},
};

const GameOptions::VolumeRow GameOptions::kVolumes[3] = {
    {kSoundVolume, "HScroll1", "Text1", "Sound Volume"},
    {kVoiceVolume, "HScroll2", "Text2", "Voice Volume"},
    {kScoreVolume, "HScroll3", "Text3", "Music Volume"},
};

const GameOptions::Handler GameOptions::kClicks[9] = {
    {"Command1", &GameOptions::Command1_Click},
    {"NA", &GameOptions::NA_Click},     {"NAo", &GameOptions::NAo_Click},
    {"EVBB", &GameOptions::EVBB_Click}, {"EVBBo", &GameOptions::EVBBo_Click},
    {"EVS", &GameOptions::EVS_Click},   {"EVSo", &GameOptions::EVSo_Click},
    {"EHR", &GameOptions::EHR_Click},   {"EHRo", &GameOptions::EHRo_Click},
};

const GameOptions::Handler GameOptions::kChanges[3] = {
    {"HScroll1", &GameOptions::HScroll1_Change},
    {"HScroll2", &GameOptions::HScroll2_Change},
    {"HScroll3", &GameOptions::HScroll3_Change},
};

namespace {

// Slider range and steps, applied at every change.
constexpr int kVolumeMin = 0, kVolumeMax = 100, kSmallStep = 1, kLargeStep = 10;

// Every read passes the same default.
std::string Read(const Cini& ini, const char* key) { return ini.GetValue(key, kReadDefault); }

// The write's success flag is not examined.
void Write(const Cini& ini, const char* key, const std::string& value) { ini.SetValue(key, value); }

// A slider's value as plain decimal digits ("75").
std::string Digits(int value) {
    const bool negative = value < 0;
    unsigned magnitude = negative ? 0u - unsigned(value) : unsigned(value);
    std::string text;
    do text.insert(text.begin(), char('0' + magnitude % 10)); while (magnitude /= 10);
    if (negative) text.insert(text.begin(), '-');
    return text;
}

}  // namespace

GameOptions::GameOptions(platform::Window& window, const platform::Folder& folder)
    : window_(window), folder_(folder) {}

// Before every access: the settings file, formed anew, and the section.
void GameOptions::Point(Cini& ini, const char* section) const {
    ini.FileName(folder_.Path() + platform::kPathSeparator + platform::kSettingsFile);
    ini.ApplicationKey(section);
}

void GameOptions::Form_Load() {
    Cini ini;
    for (const SwitchRow& row : kSwitches) {
        Point(ini, row.key.section);
        window_.SetText(row.label, IsOn(Read(ini, row.key.key)) ? row.on : row.off);
    }

    // A volume that is no number (the "p" of a missing key, the "Error" of an
    // empty one, junk) leaves its slider at 0 and its box empty, so the
    // player sees that nothing sensible is stored. One outside 0 to 1 is
    // given to the slider as it is; the box shows where the slider put it.
    for (const VolumeRow& row : kVolumes) {
        Point(ini, row.key.section);
        std::optional<int> volume = VolumeFromStored(Read(ini, row.key.key));
        window_.SetValue(row.slider, volume ? *volume : 0);
        window_.SetText(row.box, volume ? Digits(window_.Value(row.slider)) : std::string());
    }

    Point(ini, kVideo);
    std::string width = Read(ini, kScreenWidth.key);
    std::string height = Read(ini, kScreenHeight.key);
    window_.SetText("Combo1", JoinScreenSize(width, height));
}

void GameOptions::Command1_Click() {
    Cini ini;
    for (const VolumeRow& row : kVolumes) {
        std::string typed = window_.Text(row.box);
        std::optional<std::string> stored = StoredFromVolume(typed);
        if (!stored) {
            // The rows before this one are written; the dialog stays open so
            // the player can put a number in and save again.
            std::string text = "\"";
            text += row.caption;
            text += "\" is not a number: \"";
            text += typed;
            text += "\".";
            window_.Message(text, platform::Buttons::kOk);
            return;
        }
        Point(ini, row.key.section);
        Write(ini, row.key.key, *stored);
    }

    // A text of another form than the list's entries leaves the screen size alone.
    if (std::optional<ScreenSize> split = SplitScreenSize(window_.Text("Combo1"))) {
        Point(ini, kVideo);
        Write(ini, kScreenWidth.key, split->width);
        Write(ini, kScreenHeight.key, split->height);
    }
    window_.Close();
}

// Writes the row's key, then shows the new state; the write's outcome is
// not examined.
void GameOptions::Switch(const SwitchRow& row, bool on) {
    Cini ini;
    Point(ini, row.key.section);
    Write(ini, row.key.key, SwitchText(on));
    window_.SetText(row.label, on ? row.on : row.off);
}

void GameOptions::EHR_Click() { Switch(kSwitches[0], false); }
void GameOptions::EHRo_Click() { Switch(kSwitches[0], true); }
void GameOptions::NA_Click() { Switch(kSwitches[1], false); }
void GameOptions::NAo_Click() { Switch(kSwitches[1], true); }
void GameOptions::EVS_Click() { Switch(kSwitches[2], false); }
void GameOptions::EVSo_Click() { Switch(kSwitches[2], true); }
void GameOptions::EVBB_Click() { Switch(kSwitches[3], false); }
void GameOptions::EVBBo_Click() { Switch(kSwitches[3], true); }

void GameOptions::SliderChanged(const VolumeRow& row) {
    window_.SetRange(row.slider, kVolumeMin, kVolumeMax, kSmallStep, kLargeStep);
    window_.SetText(row.box, Digits(window_.Value(row.slider)));
}

void GameOptions::HScroll1_Change() { SliderChanged(kVolumes[0]); }
void GameOptions::HScroll2_Change() { SliderChanged(kVolumes[1]); }
void GameOptions::HScroll3_Change() { SliderChanged(kVolumes[2]); }

}  // namespace core
