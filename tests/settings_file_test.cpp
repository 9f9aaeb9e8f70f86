// The game's settings file as a whole: a realistic RA2MD.ini round trip
// through Cini, files no one should have to read, and a short run of the
// generated differential cases (tools/ini_diff.sh runs the long one).
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "bench/ini_cases.h"
#include "settings/cini.h"
#include "settings/convert.h"
#include "settings/keys.h"
#include "tests/support/profile_platform.h"
#include "tests/support/ra2md_sample.h"
#include "tests/support/temp_folder.h"

namespace {

std::string Get(const std::string& path, const settings::SettingKey& key) {
    Cini ini;
    ini.FileName(path);
    ini.ApplicationKey(key.section);
    return ini.GetValue(key.key, settings::kReadDefault);
}

bool Set(const std::string& path, const settings::SettingKey& key, const std::string& value) {
    Cini ini;
    ini.FileName(path);
    ini.ApplicationKey(key.section);
    return ini.SetValue(key.key, value);
}

// The nine keys as the dialog would save them.
struct Saved {
    settings::SettingKey key;
    std::string value;
};
const Saved kSaved[] = {
    {settings::kSoundVolume, *settings::StoredFromVolume("80")},
    {settings::kVoiceVolume, *settings::StoredFromVolume("100")},
    {settings::kScoreVolume, *settings::StoredFromVolume("35")},
    {settings::kInGameMusic, settings::SwitchText(false)},
    {settings::kScreenWidth, settings::SplitScreenSize("1024x768")->width},
    {settings::kScreenHeight, settings::SplitScreenSize("1024x768")->height},
    {settings::kAllowHiResModes, settings::SwitchText(true)},
    {settings::kAllowVramSidebar, settings::SwitchText(true)},
    {settings::kVideoBackBuffer, settings::SwitchText(false)},
};

// The sample with the nine values replaced where they stand.
std::string SavedText() {
    std::string text, section;
    for (const ra2md_sample::Entry& e : ra2md_sample::Entries()) {
        if (section != e.section) {
            if (!section.empty()) text += "\r\n";
            section = e.section;
            text += "[" + section + "]\r\n";
        }
        std::string value = e.value;
        for (const Saved& s : kSaved)
            if (section == s.key.section && std::string(e.key) == s.key.key) value = s.value;
        text += std::string(e.key) + "=" + value + "\r\n";
    }
    return text;
}

TEST(SettingsFile, GameFileRoundTrip) {
    TempFolder folder("Red Alert 2");
    folder.Write(settings::kSettingsFile, ra2md_sample::Text());
    std::string path = folder.File(settings::kSettingsFile);

    EXPECT_EQ(settings::VolumeFromStored(Get(path, settings::kSoundVolume)), 70);
    EXPECT_EQ(settings::VolumeFromStored(Get(path, settings::kScoreVolume)), 40);
    EXPECT_TRUE(settings::IsOn(Get(path, settings::kInGameMusic)));
    EXPECT_FALSE(settings::IsOn(Get(path, settings::kAllowHiResModes)));
    EXPECT_EQ(settings::JoinScreenSize(Get(path, settings::kScreenWidth),
                                       Get(path, settings::kScreenHeight)),
              "800x600");

    for (const Saved& s : kSaved) EXPECT_TRUE(Set(path, s.key, s.value)) << s.key.key;
    for (const Saved& s : kSaved) EXPECT_EQ(Get(path, s.key), s.value) << s.key.key;
    EXPECT_EQ(settings::VolumeFromStored(Get(path, settings::kSoundVolume)), 80);
    EXPECT_EQ(Get(path, settings::kVoiceVolume), "1");
    if (kWriterKeepsOtherBytes) {
        EXPECT_EQ(folder.Read(settings::kSettingsFile), SavedText()) << "every other byte kept";
    }

    // Every key that is not one of the nine reads as before.
    for (const ra2md_sample::Entry& e : ra2md_sample::Entries()) {
        bool ours = false;
        for (const settings::SettingKey& k : settings::kAllKeys)
            ours |= std::string(k.section) == e.section && std::string(k.key) == e.key;
        if (ours) continue;
        Cini ini;
        ini.FileName(path);
        ini.ApplicationKey(e.section);
        EXPECT_EQ(ini.GetValue(e.key, "p"), e.value) << "[" << e.section << "] " << e.key;
    }
}

// Files no one should have to read: each read and write ends, in a bounded
// time, and a written key reads back.
TEST(SettingsFile, MalformedFilesNeitherCrashNorHang) {
    ini_cases::Random random(2024);
    std::string junk;
    for (int i = 0; i < 1 << 16; ++i) junk += (char)random.Below(256);
    std::string many_sections;
    for (int i = 0; i < 10000; ++i)
        many_sections += "[S" + std::to_string(i) + "]\r\nk=" + std::to_string(i) + "\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[Audio]\r\nSoundVolume=0.5\r\n")) utf16 += std::string{c, '\0'};

    struct Case {
        const char* name;
        std::string file;
        std::string expect_before;  // SoundVolume before the write
    } cases[] = {
        {"binary junk", junk, "p"},
        {"a 1 MB line", "[Audio]\r\nSoundVolume=0.5\r\nk=" + std::string(1 << 20, 'x'), "0.5"},
        {"UTF-16", utf16, "0.5"},
        {"no final line break", "[Audio]\r\nSoundVolume=0.5", "0.5"},
        {"10,000 sections", many_sections + "[Audio]\r\nSoundVolume=0.5\r\n", "0.5"},
        {"only line breaks", std::string(100000, '\n'), "p"},
        {"NUL bytes", std::string(5000, '\0'), "p"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        folder.Write(settings::kSettingsFile, c.file);
        std::string path = folder.File(settings::kSettingsFile);
        auto start = std::chrono::steady_clock::now();
        if (c.name != std::string("binary junk")) {  // junk may hold "[Audio]" by chance
            EXPECT_EQ(Get(path, settings::kSoundVolume), c.expect_before);
        }
        if (Set(path, settings::kSoundVolume, "0.8")) {
            EXPECT_EQ(Get(path, settings::kSoundVolume), "0.8");
        } else {  // our writer does not rewrite UTF-16 files; nothing may change then
            EXPECT_EQ(folder.Read(settings::kSettingsFile), c.file);
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    }
    TempFolder folder;
    folder.Write(settings::kSettingsFile, many_sections);
    Cini ini;
    ini.FileName(folder.File(settings::kSettingsFile));
    ini.ApplicationKey("S9999");
    EXPECT_EQ(ini.GetValue("k", "p"), "9999");
}

// The first 500 generated cases give, on either layer, the lines that
// kernel32 under Wine gave when this figure was recorded. On a failure,
// tools/ini_diff.sh 500 shows which lines differ.
TEST(SettingsFile, GeneratedCasesMatchKernel32) {
    TempFolder folder;
    uint64_t fingerprint = ini_cases::Fingerprint("");
    size_t lines = 0;
    for (uint64_t number = 0; number < 500; ++number) {
        std::string path = folder.File("case" + std::to_string(number) + ".ini");
        std::string out = ini_cases::Run(ini_cases::Make(number), number, path);
        fingerprint = ini_cases::Fingerprint(out, fingerprint);
        for (char c : out) lines += c == '\n';
    }
    EXPECT_EQ(lines, 2371u);
    EXPECT_EQ(fingerprint, 1112368944351744658ull);
}

}  // namespace
