#include "settings/convert.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using settings::ScreenSize;

TEST(Convert, Switches) {
    struct Case {
        const char* stored;
        bool on;
    } cases[] = {{"yes", true}, {"no", false}, {"Yes", false}, {"YES", false},
                 {"yes ", false}, {"1", false}, {"p", false}, {"Error", false}, {"", false}};
    for (const Case& c : cases) EXPECT_EQ(settings::IsOn(c.stored), c.on) << c.stored;
    EXPECT_STREQ(settings::SwitchText(true), "yes");
    EXPECT_STREQ(settings::SwitchText(false), "no");
}

TEST(Convert, VolumeFromStored) {
    struct Case {
        const char* stored;
        std::optional<int> position;
    } cases[] = {
        {"0.8", 80}, {"0.700000", 70}, {"1", 100}, {"0", 0}, {"1.000000", 100},
        {"0.125", 12}, {"0.375", 38}, {"0.285", 28}, {"0.295", 30}, {"0.2851", 29},
        {"0.0049", 0}, {"0.005", 0}, {"0.015", 2}, {"0.994999", 99}, {"0.995", 100},
        {".5", 50}, {"5.", 500}, {" 0.8 ", 80}, {"+0.25", 25}, {"-0.25", -25}, {"-0.125", -12},
        {"1.5", 150}, {"0.00000000000000000001", 0}, {"21474836.47", 2147483647},
        {"21474836.48", std::nullopt}, {"99999999999999999999", std::nullopt},
        {"p", std::nullopt}, {"Error", std::nullopt}, {"", std::nullopt}, {"abc", std::nullopt},
        {"1,5", std::nullopt}, {"0.8x", std::nullopt}, {".", std::nullopt}, {"-", std::nullopt},
        {"1e-1", std::nullopt}, {"0..8", std::nullopt}, {"0 .8", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(settings::VolumeFromStored(c.stored), c.position) << "[" << c.stored << "]";
}

TEST(Convert, StoredFromVolume) {
    struct Case {
        const char* typed;
        std::optional<std::string> stored;
    } cases[] = {
        {"100", "1"}, {"80", "0.8"}, {"35", "0.35"}, {"7", "0.07"}, {"0", "0"}, {"150", "1.5"},
        {"1", "0.01"}, {"99", "0.99"}, {"12.5", "0.125"}, {"080", "0.8"}, {"80.000", "0.8"},
        {" 80 ", "0.8"}, {"-0", "0"}, {"-5", "-0.05"}, {".5", "0.005"}, {"1000", "10"},
        {"33.33333333333333333", "0.333333333333333"},
        {"66.66666666666666666", "0.666666666666667"},
        {"99.99999999999999999", "1"},
        {"0.000001", "0.00000001"},
        {"123456789012345678", "1234567890123460"},
        {"p", std::nullopt}, {"", std::nullopt}, {"8O", std::nullopt}, {"1,5", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(settings::StoredFromVolume(c.typed), c.stored) << "[" << c.typed << "]";
}

TEST(Convert, VolumesRoundTripForEverySliderPosition) {
    for (int position = 0; position <= 100; ++position) {
        std::optional<std::string> stored = settings::StoredFromVolume(std::to_string(position));
        ASSERT_TRUE(stored);
        EXPECT_EQ(settings::VolumeFromStored(*stored), position) << *stored;
    }
}

TEST(Convert, ScreenSize) {
    EXPECT_EQ(settings::JoinScreenSize("1280", "1024"), "1280x1024");
    EXPECT_EQ(settings::JoinScreenSize("1024", "p"), "1024xp");
    struct Case {
        const char* text;
        std::optional<ScreenSize> size;
    } cases[] = {
        {"1280x1024", ScreenSize{"1280", "1024"}}, {"1024x768", ScreenSize{"1024", "768"}},
        {"800x600", ScreenSize{"800", "600"}},     {"640x480", ScreenSize{"640", "480"}},
        {"1920*1080", ScreenSize{"1920", "1080"}},  // by length alone
        {"ErrorxErr", ScreenSize{"Erro", "xErr"}}, {"10x10", std::nullopt},
        {"12800x1024", std::nullopt},              {"", std::nullopt},
    };
    for (const Case& c : cases) {
        std::optional<ScreenSize> got = settings::SplitScreenSize(c.text);
        ASSERT_EQ(got.has_value(), c.size.has_value()) << c.text;
        if (!got) continue;
        EXPECT_EQ(got->width, c.size->width) << c.text;
        EXPECT_EQ(got->height, c.size->height) << c.text;
    }
}

}  // namespace
