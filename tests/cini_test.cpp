// Cini over the real profile functions of the build (kernel32 under Wine),
// on real files in a temporary folder, refused writes included.
#include "settings/cini.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace {

TEST(Cini, PropertiesTrimSpacesOnlyAtTheEnds) {
    Cini fresh;
    EXPECT_EQ(fresh.FileName(), "");
    EXPECT_EQ(fresh.ApplicationKey(), "");

    struct Case {
        std::string set, stored;
    } cases[] = {
        {"  C:\\Games\\Red Alert 2\\RA2MD.ini  ", "C:\\Games\\Red Alert 2\\RA2MD.ini"},
        {" Audio", "Audio"},
        {"Video ", "Video"},
        {"\tAudio\t", "\tAudio\t"},  // only spaces are trimmed
        {"   ", ""},
    };
    for (const Case& c : cases) {
        Cini ini;
        ini.FileName(c.set);
        ini.ApplicationKey(c.set);
        EXPECT_EQ(ini.FileName(), c.stored) << "[" << c.set << "]";
        EXPECT_EQ(ini.ApplicationKey(), c.stored) << "[" << c.set << "]";
    }
}

const char kNoFile[] = "\x01(no file)";

TEST(Cini, GetValue) {
    struct Case {
        const char* name;
        std::string section_text;  // the lines of [Audio]
        std::string key, fallback, expected;
    } cases[] = {
        {"a switch", "InGameMusic=yes", "InGameMusic", "p", "yes"},
        {"missing key, default p", "", "InGameMusic", "p", "p"},
        {"missing key, empty default", "", "InGameMusic", "", "Error"},
        {"missing key, default of spaces", "", "k", "   ", ""},  // kernel32 places one space
        {"empty value", "InGameMusic=", "InGameMusic", "p", "Error"},
        {"tab between letters", "k=\"a\tb\"", "k", "p", "ab"},
        {"ends in an accented letter", "k=caf\xE9", "k", "p", "caf"},
        {"only accented letters", "k=\xE9\xE8\xEA", "k", "p", ""},
        {"leading spaces inside quotes", "k=\"  x y \"", "k", "p", "x y "},
        {"control characters dropped", "k=a\x01\x7F" "b", "k", "p", "ab"},
        {"150 characters", "k=" + std::string(150, 'z'), "k", "p", std::string(99, 'z')},
        {"game's own volume", "SoundVolume=0.700000", "SoundVolume", "p", "0.700000"},
        {"no file, default p", kNoFile, "ScreenWidth", "p", "p"},
        {"no file, empty default", kNoFile, "ScreenWidth", "", "Error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        if (c.section_text != kNoFile)
            folder.Write("RA2MD.ini", "[Audio]\r\n" + c.section_text + "\r\n");
        Cini ini;
        ini.FileName(folder.File("RA2MD.ini"));
        ini.ApplicationKey("Audio");
        EXPECT_EQ(ini.GetValue(c.key, c.fallback), c.expected);
    }
}

TEST(Cini, SetValueIsSeenByTheNextObject) {
    TempFolder folder;
    folder.Write("RA2MD.ini", "[Audio]\r\nSoundVolume=0.5\r\n[Video]\r\nScreenWidth=800\r\n");
    {
        Cini writer;
        writer.FileName(" " + folder.File("RA2MD.ini") + " ");
        writer.ApplicationKey(" Audio ");
        EXPECT_TRUE(writer.SetValue("InGameMusic", "yes"));
        EXPECT_EQ(writer.GetValue("InGameMusic", "p"), "yes");
    }
    Cini reader;
    reader.FileName(folder.File("RA2MD.ini"));
    reader.ApplicationKey("Audio");
    EXPECT_EQ(reader.GetValue("InGameMusic", "p"), "yes");
    EXPECT_EQ(reader.GetValue("SoundVolume", "p"), "0.5");
    reader.ApplicationKey("Video");
    EXPECT_EQ(reader.GetValue("ScreenWidth", "p"), "800");
}

TEST(Cini, RefusedWriteIsFalse) {
    TempFolder folder;
    folder.Write("RA2MD.ini", "[Audio]\r\nInGameMusic=no\r\n");
    folder.SetReadOnly("RA2MD.ini");
    Cini ini;
    ini.FileName(folder.File("RA2MD.ini"));
    ini.ApplicationKey("Audio");
    EXPECT_FALSE(ini.SetValue("InGameMusic", "yes"));
    EXPECT_EQ(folder.Read("RA2MD.ini"), "[Audio]\r\nInGameMusic=no\r\n");
    folder.SetReadOnly("RA2MD.ini", false);

    ini.FileName(folder.File("no such folder") + "/RA2MD.ini");
    EXPECT_FALSE(ini.SetValue("InGameMusic", "yes"));
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"RA2MD.ini"});

    // A folder in the settings file's place reads as no file and takes no write.
    folder.MakeFolder("Settings.ini");
    ini.FileName(folder.File("Settings.ini"));
    EXPECT_EQ(ini.GetValue("InGameMusic", "p"), "p");
    EXPECT_FALSE(ini.SetValue("InGameMusic", "yes"));
}

}  // namespace
