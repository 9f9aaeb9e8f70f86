// Settings text on both builds: the profile reader and writer (natively our
// own, under Wine kernel32's), Cini over it, and the volume conversions.
#include "platform/profile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bench/ini_cases.h"
#include "settings/cini.h"
#include "settings/convert.h"
#include "tests/support/profile_platform.h"
#include "tests/support/temp_folder.h"

namespace {

// A write is never tried into a folder, a read-only file or on a read-only medium.
TEST(Profile, MayWrite) {
    const bool cases[][5] = {{1, 1, 0, 0, 1}, {0, 1, 0, 0, 1}, {1, 0, 0, 0, 0}, {1, 1, 1, 0, 0},
                             {1, 1, 0, 1, 0}, {0, 1, 0, 1, 0}, {1, 1, 1, 1, 0}};
    for (const bool* c : cases)
        EXPECT_EQ(profile::MayWrite({c[0], c[1], c[2], c[3]}), c[4]) << c[0] << c[1] << c[2] << c[3];
}

// The first 500 generated cases give the lines that kernel32 under Wine gave;
// on a failure, tools/ini_diff.sh 500 shows which lines differ.
TEST(Profile, GeneratedCasesMatchKernel32) {
    TempFolder folder;
    uint64_t fingerprint = ini_cases::Fingerprint("");
    for (uint64_t number = 0; number < 500; ++number) {
        std::string path = folder.File("case" + std::to_string(number) + ".ini");
        fingerprint = ini_cases::Fingerprint(ini_cases::Run(ini_cases::Make(number), number, path), fingerprint);
    }
    EXPECT_EQ(fingerprint, 1112368944351744658ull);
}

// Names trimmed of spaces only at the ends; a value cleaned to printable ASCII,
// cut at 99 characters, "Error" for nothing.
TEST(Cini, NamesAndValues) {
    Cini names;
    names.FileName("  C:\\Red Alert 2\\RA2MD.ini  ");
    names.ApplicationKey(" \tAudio\t ");
    EXPECT_EQ(names.FileName() + "|" + names.ApplicationKey(), "C:\\Red Alert 2\\RA2MD.ini|\tAudio\t");
    names.ApplicationKey("   ");
    EXPECT_EQ(names.ApplicationKey(), "");
    const std::string cases[][4] = {  // the line in [Audio], key, default, value read
        {"InGameMusic=yes", "InGameMusic", "p", "yes"}, {"", "InGameMusic", "p", "p"},
        {"", "InGameMusic", "", "Error"}, {"InGameMusic=", "InGameMusic", "p", "Error"},
        {"", "k", "   ", ""},  // kernel32 places one space
        {"k=\"  x y \"", "k", "p", "x y "}, {"k=a\x01\x1F\x7F" "b~\xE9", "k", "p", "ab~"},
        {"k=" + std::string(150, 'z'), "k", "p", std::string(99, 'z')},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        folder.Write("RA2MD.ini", "[Audio]\r\n" + c[0] + "\r\n");
        Cini ini;
        ini.FileName(folder.File("RA2MD.ini"));
        ini.ApplicationKey("Audio");
        EXPECT_EQ(ini.GetValue(c[1], c[2]), c[3]) << c[0];
    }
}

// Volumes as stored (a fraction of 1) to slider positions and back, at their edges.
TEST(Convert, Volumes) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"0.8", 80}, {"0.700000", 70}, {"1", 100}, {"0", 0}, {"1.000000", 100},
        {"0.125", 12}, {"0.375", 38}, {"0.285", 28}, {"0.295", 30}, {"0.2851", 29},
        {"0.0049", 0}, {"0.005", 0}, {"0.015", 2}, {"0.994999", 99}, {"0.995", 100},
        {".5", 50}, {"5.", 500}, {" 0.8 ", 80}, {"+0.25", 25}, {"-0.25", -25}, {"-0.125", -12},
        {"1.5", 150}, {"0.00000000000000000001", 0}, {"21474836.47", 2147483647},
        {"21474836.48", {}}, {"99999999999999999999", {}}, {"p", {}}, {"Error", {}}, {"", {}},
        {"abc", {}}, {"1,5", {}}, {"0.8x", {}}, {".", {}}, {"-", {}}, {"1e-1", {}}, {"0..8", {}},
        {"0 .8", {}}, {"000000000001", 100},
    };
    for (const auto& [stored, position] : cases)
        EXPECT_EQ(settings::VolumeFromStored(stored), position) << "[" << stored << "]";
    const std::pair<const char*, std::optional<std::string>> typed_cases[] = {
        {"100", "1"}, {"80", "0.8"}, {"35", "0.35"}, {"7", "0.07"}, {"0", "0"}, {"150", "1.5"},
        {"1", "0.01"}, {"99", "0.99"}, {"12.5", "0.125"}, {"080", "0.8"}, {"80.000", "0.8"},
        {" 80 ", "0.8"}, {"-0", "0"}, {"-5", "-0.05"}, {".5", "0.005"}, {"1000", "10"},
        {"33.33333333333333333", "0.333333333333333"}, {"99.99999999999999999", "1"},
        {"66.66666666666666666", "0.666666666666667"}, {"0.000001", "0.00000001"},
        {"123456789012345678", "1234567890123460"}, {"p", {}}, {"", {}}, {"8O", {}}, {"1,5", {}},
    };
    for (const auto& [typed, stored] : typed_cases)
        EXPECT_EQ(settings::StoredFromVolume(typed), stored) << "[" << typed << "]";
}

}  // namespace
