// A settings file as the game leaves it: its own sections and keys around
// the nine that the Game Options dialog edits, volumes in the game's own
// "0.700000" form, CR LF line breaks, a blank line between sections.
#pragma once

#include <string>
#include <vector>

namespace ra2md_sample {

struct Entry {
    const char* section;
    const char* key;
    const char* value;
};

inline const std::vector<Entry>& Entries() {
    static const std::vector<Entry> entries = {
        {"Intro", "Play", "no"},
        {"Options", "GameSpeed", "2"},
        {"Options", "Difficulty", "1"},
        {"Options", "ScrollMethod", "0"},
        {"Options", "ScrollRate", "3"},
        {"Options", "UnitActionLines", "yes"},
        {"Options", "ShowHidden", "no"},
        {"Options", "ToolTips", "yes"},
        {"Options", "IsScoreShuffle", "yes"},
        {"Audio", "SoundVolume", "0.700000"},
        {"Audio", "VoiceVolume", "0.700000"},
        {"Audio", "ScoreVolume", "0.400000"},
        {"Audio", "IsScoreRepeat", "no"},
        {"Audio", "IsScoreShuffle", "yes"},
        {"Audio", "SoundLatency", "2"},
        {"Audio", "InGameMusic", "yes"},
        {"Video", "AllowHiResModes", "no"},
        {"Video", "VideoBackBuffer", "yes"},
        {"Video", "AllowVRAMSidebar", "no"},
        {"Video", "ScreenWidth", "800"},
        {"Video", "ScreenHeight", "600"},
        {"Video", "StretchMovies", "yes"},
        {"Network", "Socket", "0"},
        {"Network", "WOLPort", "4005"},
        {"MultiPlayer", "Handle", "Commander"},
        {"MultiPlayer", "Color", "4"},
        {"MultiPlayer", "Side", "-1"},
        {"MultiPlayer", "GameSpeed", "2"},
        {"Skirmish", "ScenarioName", "MP01T4.MAP"},
        {"Skirmish", "Credits", "10000"},
    };
    return entries;
}

// The file's text, sections in the order of Entries().
inline std::string Text() {
    std::string text, section;
    for (const Entry& e : Entries()) {
        if (section != e.section) {
            if (!section.empty()) text += "\r\n";
            section = e.section;
            text += "[" + section + "]\r\n";
        }
        text += std::string(e.key) + "=" + e.value + "\r\n";
    }
    return text;
}

}  // namespace ra2md_sample
