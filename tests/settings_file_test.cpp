// Settings files as a whole: files no one should have to read, and a short
// run of the generated differential cases (tools/ini_diff.sh runs the long one).
#include <gtest/gtest.h>

#include <string>

#include "bench/ini_cases.h"
#include "settings/cini.h"
#include "settings/keys.h"
#include "tests/support/temp_folder.h"

namespace {

// Files no one should have to read: each read and write ends, and a written
// key reads back or, where the writer refuses (UTF-16), nothing changes.
TEST(SettingsFile, MalformedFilesNeitherCrashNorHang) {
    ini_cases::Random random(2024);
    std::string junk;
    for (int i = 0; i < 1 << 16; ++i) junk += (char)random.Below(256);
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[Audio]\r\nSoundVolume=0.5\r\n")) utf16 += std::string{c, '\0'};
    std::string long_line = "[Audio]\r\nSoundVolume=0.5\r\nk=" + std::string(1 << 20, 'x');
    for (const std::string& file :
         {junk, utf16, long_line, std::string(100000, '\n'), std::string(5000, '\0')}) {
        TempFolder folder;
        folder.Write(settings::kSettingsFile, file);
        Cini ini;
        ini.FileName(folder.File(settings::kSettingsFile));
        ini.ApplicationKey("Audio");
        if (ini.SetValue("SoundVolume", "0.8")) {
            EXPECT_EQ(ini.GetValue("SoundVolume", "p"), "0.8");
        } else {
            EXPECT_EQ(file, utf16);
            EXPECT_EQ(ini.GetValue("SoundVolume", "p"), "0.5");
            EXPECT_EQ(folder.Read(settings::kSettingsFile), file);
        }
    }
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
