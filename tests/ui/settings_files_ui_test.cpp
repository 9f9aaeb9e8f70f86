// Damaged RA2MD.ini files through the real Game Options dialog and kernel32: the dialog shows
// what the test's own read of each key gives, cleaned and converted, and "Save And Close"
// leaves the file as the test's own writes leave a copy. ZARN_INI_CASES sets how many files;
// file 0 is a folder of that name, file 1 is empty, the rest come from bench/ini_cases.h.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "bench/ini_cases.h"
#include "tests/ui/panel.h"

namespace {

const char* const kSwitches[][5] = {{"Video", "AllowHiResModes", "EHRS", "On", "Off"},  // in the order loaded
                                    {"Audio", "InGameMusic", "NAS", "Sound On", "Sound Off"},
                                    {"Video", "AllowVRAMSidebar", "EVSS", "On", "Off"},
                                    {"Video", "VideoBackBuffer", "EVBBS", "On", "Off"}};
const char* const kRows[][4] = {{"SoundVolume", "HScroll1", "Text1", "Sound Volume"},  // in the order saved
                                {"VoiceVolume", "HScroll2", "Text2", "Voice Volume"},
                                {"ScoreVolume", "HScroll3", "Text3", "Music Volume"}};

// What GetValue gives: the reader's text, leading spaces gone, only printable ASCII kept;
// "Error" for nothing read.
std::string Read(const std::string& file, const char* section, const char* key) {
    char buffer[100];
    DWORD n = GetPrivateProfileStringA(section, key, "p", buffer, 100, file.c_str());
    std::string clean;
    for (std::size_t i = std::string(buffer, n).find_first_not_of(' '); i < n; ++i)
        if (buffer[i] >= 32 && buffer[i] <= 126) clean += buffer[i];
    return n == 0 ? "Error" : clean;
}

// A stored volume as its box shows it ("" for no number): its hundredths rounded half to even;
// and which of our choices (README, Game Options) it took. A number: spaces around, an
// optional sign, digits with at most one '.' among them.
std::string Shown(const std::string& stored, std::vector<std::string>* choices) {
    std::size_t first = stored.find_first_not_of(' '), last = stored.find_last_not_of(' ');
    const std::string t = first == stored.npos ? "" : stored.substr(first, last - first + 1);
    const bool minus = !t.empty() && t[0] == '-', sign = minus || (!t.empty() && t[0] == '+');
    std::string whole = t.substr(sign, t.find('.') - sign);
    std::string fraction = whole.size() + sign < t.size() ? t.substr(t.find('.') + 1) : "";
    if ((whole + fraction).empty() || (whole + fraction).find_first_not_of("0123456789") != t.npos)
        return choices->push_back("not a number: slider at 0, box empty"), "";
    whole.erase(0, whole.find_first_not_of('0'));
    fraction += "00";
    long hundredths = whole.size() > 6 ? 100000000 : std::atol((whole + fraction.substr(0, 2)).c_str());
    const bool above_half = fraction[2] > '5' || (fraction[2] == '5' && fraction.find_first_not_of('0', 3) != t.npos);
    hundredths += above_half || (fraction[2] == '5' && hundredths % 2);
    if (t != stored || sign) choices->push_back("a sign or spaces around a number: a number");
    if (minus && hundredths) choices->push_back("below 0: the slider keeps 0");
    if (!minus && hundredths > 100) choices->push_back("above 1: the slider keeps 100");
    return minus ? "0" : std::to_string(std::min(hundredths, 100L));
}

// The text a box's whole number is saved as: its hundredths, shortest ("80" gives "0.8").
std::string Stored(int hundredths) {
    std::string s = std::to_string(hundredths / 100) + "." + std::to_string(100 + hundredths % 100).substr(1);
    s.erase(s.find_last_not_of('0') + 1);  // "0.80" gives "0.8", "1.00" gives "1."
    return s.back() == '.' ? s.substr(0, s.size() - 1) : s;
}

TEST(GameOptionsFilesUi, DamagedFilesShowWhatKernel32ReadsAndSaveWritesTheShownValuesBack) {
    const int count = std::getenv("ZARN_INI_CASES") ? std::atoi(std::getenv("ZARN_INI_CASES")) : 40;
    std::map<std::string, int> taken;  // how often each of our choices applied
    TempFolder game("Red Alert 2");
    Panel panel(game);
    for (int n = 0; n < count; ++n) {
        const std::string bytes = ini_cases::DamagedSettings(n);
        SCOPED_TRACE("file " + std::to_string(n) + ", " + std::to_string(bytes.size()) + " bytes: " +
                     ini_cases::Escape(bytes.substr(0, 300)));
        TempFolder copy("copy");
        const std::string ini = copy.File("RA2MD.ini");
        std::filesystem::remove(std::filesystem::u8path(game.File("RA2MD.ini")));
        n == 0 ? game.MakeFolder("RA2MD.ini") : game.Write("RA2MD.ini", bytes);
        copy.Write("RA2MD.ini", bytes);
        Click(panel.Main("Command7"));
        if (n == 0) {  // a folder of that name counts as absent
            Keys(panel.Box("Please Place Controll Panal Exe into Yr Folder"), {VK_RETURN});
            EXPECT_TRUE(WaitUntil([&] { return panel.Windows() == std::vector<HWND>{panel.main()}; })) << "a dialog";
            continue;
        }
        HWND dialog = panel.Find([](HWND h) { return TextOf(h) == "Game Options"; }, 5000);
        ASSERT_TRUE(dialog) << "Game Options did not open";
        auto item = [&](const char* name) { return Control(dialog, app::kGameOptionsLayout, name); };

        std::string want, seen;
        std::vector<std::string> choices;
        for (const auto& s : kSwitches) {
            want += std::string(s[2]) + " " + (Read(ini, s[0], s[1]) == "yes" ? s[3] : s[4]) + "\n";
            seen += std::string(s[2]) + " " + TextOf(item(s[2])) + "\n";
        }
        for (const auto& v : kRows) {
            const std::string box = Shown(Read(ini, "Audio", v[0]), &choices);
            want += v[3] + (" " + (box.empty() ? "0" : box)) + " \"" + box + "\"\n";
            seen += v[3] + (" " + std::to_string(GetScrollPos(item(v[1]), SB_CTL))) + " \"" + TextOf(item(v[2])) +
                    "\"\n";
        }
        want += Read(ini, "Video", "ScreenWidth") + "x" + Read(ini, "Video", "ScreenHeight");
        seen += TextOf(item("Combo1"));

        // "Save And Close", unedited: the same writes on the copy, in the same order, of what is shown.
        std::string message, size = TextOf(item("Combo1"));
        for (const auto& v : kRows) {
            const std::string box = TextOf(item(v[2]));
            if (box.empty() || box.find_first_not_of("0123456789") != box.npos) {
                message = "\"" + std::string(v[3]) + "\" is not a number: \"" + box + "\".";
                choices.push_back("a box without a number: the message, the rows above written, the dialog open");
                break;
            }
            WritePrivateProfileStringA("Audio", v[0], Stored(std::atoi(box.c_str())).c_str(), ini.c_str());
        }
        // The list's form: 4 or 3 digits, "x", 4 or 3 digits, the height not longer.
        const std::size_t x = size.size() == 7 ? 3 : size.size() == 8 || size.size() == 9 ? 4 : 0;
        if (message.empty() && x && size[x] == 'x' &&
            (size.substr(0, x) + size.substr(x + 1)).find_first_not_of("0123456789") == size.npos) {
            WritePrivateProfileStringA("Video", "ScreenWidth", size.substr(0, x).c_str(), ini.c_str());
            WritePrivateProfileStringA("Video", "ScreenHeight", size.substr(x + 1).c_str(), ini.c_str());
        } else if (message.empty()) {
            choices.push_back("a resolution not of the list's form: the size left as it is");
        }
        std::string applied;
        for (const std::string& choice : choices) applied += choice + "; ", ++taken[choice];
        EXPECT_EQ(seen, want) << "our choices applied: " << applied;
        Click(item("Command1"));
        if (!message.empty()) {
            HWND box = panel.Box(message);
            Keys(box, {VK_RETURN});
            EXPECT_TRUE(WaitGone(box) && IsWindowVisible(dialog)) << "the box stays, or the dialog goes with it";
            PostMessageW(dialog, WM_CLOSE, 0, 0);  // from its title bar: saves nothing
        }
        ASSERT_TRUE(WaitGone(dialog)) << "the dialog stays open";
        const std::string got = game.Read("RA2MD.ini"), expected = copy.Read("RA2MD.ini");
        std::size_t at = std::mismatch(got.begin(), got.end(), expected.begin(), expected.end()).first - got.begin();
        EXPECT_TRUE(got == expected) << "from byte " << at << ": " << ini_cases::Escape(got.substr(at, 80))
                                     << "\nnot " << ini_cases::Escape(expected.substr(at, 80));
    }
    for (const auto& [choice, times] : taken) std::printf("%4d times: %s\n", times, choice.c_str());
}

}  // namespace
