#include "settings/convert.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

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

}  // namespace
