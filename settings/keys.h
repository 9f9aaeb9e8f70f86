// The nine keys of the game's settings file (platform::kSettingsFile) that
// the Game Options dialog reads and writes. No other key of the file is
// touched by this program.
#pragma once

namespace core {

// The default passed with every read. Neither it nor "Error" (an empty value)
// is "yes" or a number.
inline constexpr char kReadDefault[] = "p";

// The values a switch is written with.
inline constexpr char kSwitchOn[] = "yes";
inline constexpr char kSwitchOff[] = "no";

inline constexpr char kAudio[] = "Audio";
inline constexpr char kVideo[] = "Video";

struct SettingKey {
    const char* section;
    const char* key;
};

// Volumes: decimal fractions from 0 to 1.
inline constexpr SettingKey kSoundVolume{kAudio, "SoundVolume"};
inline constexpr SettingKey kVoiceVolume{kAudio, "VoiceVolume"};
inline constexpr SettingKey kScoreVolume{kAudio, "ScoreVolume"};
// Switches: "yes" or "no".
inline constexpr SettingKey kInGameMusic{kAudio, "InGameMusic"};
inline constexpr SettingKey kAllowHiResModes{kVideo, "AllowHiResModes"};
inline constexpr SettingKey kAllowVramSidebar{kVideo, "AllowVRAMSidebar"};
inline constexpr SettingKey kVideoBackBuffer{kVideo, "VideoBackBuffer"};
// The screen size in pixels, as digits; never converted to numbers.
inline constexpr SettingKey kScreenWidth{kVideo, "ScreenWidth"};
inline constexpr SettingKey kScreenHeight{kVideo, "ScreenHeight"};

inline constexpr SettingKey kAllKeys[] = {
    kSoundVolume, kVoiceVolume,     kScoreVolume,      kInGameMusic,    kScreenWidth,
    kScreenHeight, kAllowHiResModes, kAllowVramSidebar, kVideoBackBuffer,
};

}  // namespace core
