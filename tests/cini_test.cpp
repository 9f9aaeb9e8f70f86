// Cini over the real profile functions of the build (kernel32 under Wine), on
// real files in a temporary folder. Its writes are tested through the dialog.
#include "settings/cini.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_folder.h"

namespace {

TEST(Cini, NamesAreTrimmedOfSpacesOnlyAtTheEnds) {
    Cini ini;
    ini.FileName("  C:\\Red Alert 2\\RA2MD.ini  ");
    ini.ApplicationKey("   ");
    EXPECT_EQ(ini.FileName() + "|" + ini.ApplicationKey(), "C:\\Red Alert 2\\RA2MD.ini|");
    ini.ApplicationKey(" \tAudio\t ");
    EXPECT_EQ(ini.ApplicationKey(), "\tAudio\t");
}

// What a read gives: the value cleaned to printable ASCII, "Error" for nothing.
TEST(Cini, GetValue) {
    const std::string cases[][4] = {  // the lines of [Audio], key, default, value read
        {"InGameMusic=yes", "InGameMusic", "p", "yes"}, {"", "InGameMusic", "p", "p"},
        {"", "InGameMusic", "", "Error"}, {"InGameMusic=", "InGameMusic", "p", "Error"},
        {"", "k", "   ", ""},  // kernel32 places one space
        {"k=\"  x y \"", "k", "p", "x y "},
        {"k=a\x01\x1F\x7F" "b~\xE9", "k", "p", "ab~"},
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

}  // namespace
