// Keys on every window under Wine: a plain letter, Enter, Space and Escape
// with the focus on each control that can take it do only what that control
// does with them. Buttons press on Alt with their letter and on Space, never
// on a plain letter; nothing is the default or the cancel button, so Enter
// and Escape press nothing and close nothing. After every key the whole
// panel is read again: its windows, the focus, every control's text, the
// game folder's names and contents (RA2MD.ini among them) and the stand-in
// programs' records.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/layout.h"
#include "tests/standin.h"
#include "tests/support/game_files.h"
#include "tests/ui/panel_process.h"

namespace {

const char kGameIni[] =
    "[Audio]\r\nSoundVolume=0.500000\r\nVoiceVolume=0.700000\r\nScoreVolume=0.400000\r\n"
    "InGameMusic=yes\r\n"
    "[Video]\r\nAllowHiResModes=no\r\nVideoBackBuffer=no\r\nAllowVRAMSidebar=no\r\n"
    "ScreenWidth=800\r\nScreenHeight=600\r\n";

// A game folder in which every command of the main window would leave a
// mark: the ten files enabled, installer leftovers, RA2MD.ini and the two
// programs the panel starts.
void Furnish(const TempFolder& folder) {
    for (const std::string& name : game_files::kModFiles) folder.Write(name, game_files::Data(name));
    for (const char* name : {"Readme.txt", "INSTALL.LOG", "marrowgate80.pkt"})
        folder.Write(name, game_files::Data(name));
    folder.Write("RA2MD.ini", kGameIni);
    PlaceStandIn(folder, "RA2MD.exe");
    PlaceStandIn(folder, "RockPatch.exe");
}

struct WindowsOfPanel {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM data) {
    auto* w = reinterpret_cast<WindowsOfPanel*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == w->pid && IsWindowVisible(hwnd)) w->found.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM data) {
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(hwnd);
    return TRUE;
}

// Everything a key could change that a player or the game can see.
struct State {
    std::map<HWND, std::string> windows;   // visible top-level windows: caption
    HWND focus = nullptr;
    std::map<HWND, std::string> texts;     // every control of those windows
    std::map<std::string, std::uint64_t> files;  // the game folder: name, hash of the contents

    bool operator==(const State& o) const {
        return windows == o.windows && focus == o.focus && texts == o.texts && files == o.files;
    }
};

// FNV-1a over 64-bit words of a file's bytes, read in one go: the folder holds the panel and
// two stand-in programs, read after every key.
std::uint64_t Hash(const std::string& path) {
    HANDLE f = CreateFileW(Widen(path).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return 0;
    std::uint64_t h = 14695981039346656037ull;
    static std::vector<unsigned char> buf(1 << 20);
    DWORD n = 0;
    while (ReadFile(f, buf.data(), (DWORD)buf.size(), &n, nullptr) && n) {
        for (DWORD i = 0; i + 8 <= n; i += 8) {
            std::uint64_t word;
            memcpy(&word, &buf[i], 8);
            h = (h ^ word) * 1099511628211ull;
        }
        for (DWORD i = n & ~7u; i < n; ++i) h = (h ^ buf[i]) * 1099511628211ull;
    }
    CloseHandle(f);
    return h;
}

// Edit and combo boxes keep their text themselves and are asked for it; the
// system keeps every other control's caption, read without a message.
bool KeepsOwnText(HWND control) {
    static std::map<HWND, bool> known;
    auto k = known.find(control);
    if (k != known.end()) return k->second;
    std::string cls = ClassOf(control);
    return known[control] = cls == "Edit" || cls == "ComboBox";
}

State Read(const PanelProcess& panel, const TempFolder& folder) {
    State s;
    WindowsOfPanel w = {panel.pid(), {}};
    EnumWindows(CollectTopLevel, (LPARAM)&w);
    for (HWND top : w.found) {
        s.windows[top] = WindowText(top);
        std::vector<HWND> children;
        EnumChildWindows(top, CollectChild, (LPARAM)&children);
        for (HWND c : children) s.texts[c] = KeepsOwnText(c) ? TextOf(c) : WindowText(c);
    }
    if (!w.found.empty()) s.focus = FocusOf(w.found.front());
    for (const std::string& name : folder.Names()) s.files[name] = Hash(folder.File(name));
    return s;
}

// What differs, in words, for the failure message.
std::string Difference(const State& was, const State& now) {
    std::string d;
    if (was.windows != now.windows) {
        d += " windows:";
        for (auto& w : now.windows) d += " \"" + w.second + "\"";
    }
    if (was.focus != now.focus) d += " the focus moved to a " + ClassOf(now.focus);
    for (auto& t : now.texts) {
        auto old = was.texts.find(t.first);
        if (old != was.texts.end() && old->second != t.second)
            d += " text \"" + old->second + "\" became \"" + t.second + "\"";
    }
    if (was.files != now.files) {
        d += " folder:";
        for (auto& f : now.files) {
            auto old = was.files.find(f.first);
            if (old == was.files.end() || old->second != f.second) d += " " + f.first;
        }
        for (auto& f : was.files)
            if (!now.files.count(f.first)) d += " -" + f.first;
    }
    return d;
}

// Sends one key, down and up, to the foreground window, and returns once
// the panel's thread has taken it and what follows from it: each message
// sent waits until the thread asks for its next message.
void Key(const PanelProcess& panel, WORD vk) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    for (int i = 0; i < 6; ++i) {
        DWORD_PTR r;
        SendMessageTimeoutW(panel.main(), WM_NULL, 0, 0, SMTO_NORMAL, 2000, &r);
    }
}

// Brings `window` to the front and waits until the system has it there.
void InFront(HWND window) {
    SetForegroundWindow(window);
    WaitUntil([=] { return GetForegroundWindow() == window; }, 2000);
}

// Presses Tab until the focus moves, for up to a second: the first keys after
// a window came to the front can reach the system before it has the window
// there (Wine moves the X input focus after a round trip).
bool TabMoves(const PanelProcess& panel, HWND window) {
    HWND from = FocusOf(window);
    for (int i = 0; i < 20; ++i) {
        Key(panel, VK_TAB);
        if (FocusOf(window) != from) return true;
        Sleep(50);
    }
    return false;
}

// Puts the focus on `control` as the dialog manager does.
void FocusOn(HWND window, HWND control) {
    SendMessageW(window, WM_NEXTDLGCTL, (WPARAM)control, TRUE);
}

// Puts the focus on `control` and keeps it there until no Tab of TabMoves()
// is still on its way: a Tab that came late would move the focus once more.
void FocusSettledOn(HWND window, HWND control) {
    auto on = [&] {
        HWND f = FocusOf(window);
        return f == control || GetParent(f) == control;
    };
    for (int steady = 0, i = 0; steady < 3 && i < 40; ++i) {
        if (!on()) {
            FocusOn(window, control);
            steady = 0;
        }
        Sleep(50);
        steady += on();
    }
}

bool Editable(HWND control) {
    std::string cls = ClassOf(control);
    if (cls == "ComboBox") return true;
    return cls == "Edit" && !(GetWindowLongW(control, GWL_STYLE) & ES_READONLY);
}

// Presses every letter, Enter and Escape (and Space, unless `control` is a
// push button, whose press it is) with the focus on each control of `form`
// that takes it. A key typed into an editable box is the one change allowed;
// the box gets its text back after each.
void SweepKeys(const PanelProcess& panel, const TempFolder& folder, HWND window,
               const layout::Form& form) {
    InFront(window);
    int focusable = 0;
    for (std::size_t i = 0; i < form.count; ++i) focusable += form.controls[i].tab_stop;
    for (std::size_t i = 0; i < form.count; ++i) {
        const layout::Control& row = form.controls[i];
        if (!row.tab_stop) continue;
        SCOPED_TRACE(row.name);
        HWND control = PanelProcess::Control(window, form, row.name);
        // Keys reach the window: Tab takes the focus away from this control.
        if (focusable > 1) {
            FocusOn(window, control);
            ASSERT_TRUE(TabMoves(panel, window)) << "keys do not reach the window";
        }
        FocusSettledOn(window, control);
        const State before = Read(panel, folder);
        ASSERT_TRUE(before.focus == control || GetParent(before.focus) == control);
        std::vector<WORD> keys;
        for (WORD vk = 'A'; vk <= 'Z'; ++vk) keys.push_back(vk);
        keys.push_back(VK_RETURN);
        keys.push_back(VK_ESCAPE);
        if (row.kind != layout::Kind::kButton) keys.push_back(VK_SPACE);
        bool editable = Editable(control);
        for (WORD vk : keys) {
            Key(panel, vk);
            State after = Read(panel, folder);
            bool typed = vk == VK_SPACE || (vk >= 'A' && vk <= 'Z');
            if (editable && typed) {
                char c = vk == VK_SPACE ? ' ' : (char)(vk - 'A' + 'a');
                HWND box = before.focus;  // a combo box's field
                if (after.texts[box].find(c) == std::string::npos &&
                    WaitUntil([&] { return TextOf(box).find(c) != std::string::npos; }, 1000))
                    after = Read(panel, folder);  // the panel was slow to take it
                ASSERT_NE(after.texts[box].find(c), std::string::npos)
                    << "key " << c << " not typed into the box";
                after.texts[box] = before.texts.at(box);
                if (box != control) after.texts[control] = before.texts.at(control);
                SetWindowTextW(box, Widen(before.texts.at(box)).c_str());
            }
            ASSERT_TRUE(after == before)
                << "key " << (vk == VK_RETURN ? "Enter" : vk == VK_ESCAPE ? "Escape"
                              : vk == VK_SPACE ? "Space" : std::string(1, (char)vk))
                << " on " << row.name << ":" << Difference(before, after);
        }
    }
}

HWND OpenFrom(const PanelProcess& panel, const char* button, const char* caption) {
    PanelProcess::Click(panel.Main(button));
    HWND w = panel.WaitForWindow(caption);
    Sleep(100);
    return w;
}

TEST(KeysUi, MainWindowTakesNoPlainLetterEnterOrEscape) {
    TempFolder folder("Red Alert 2");
    Furnish(folder);
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    SweepKeys(panel, folder, panel.main(), layout::kFrm1);
}

TEST(KeysUi, GameOptionsTakesNoPlainLetterEnterOrEscape) {
    TempFolder folder("Red Alert 2");
    Furnish(folder);
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    HWND w = OpenFrom(panel, "Command7", "Game Options");
    ASSERT_NE(w, nullptr);
    SweepKeys(panel, folder, w, layout::kGameOptions);

    // Escape still closes the combo box's open list, and only that.
    HWND combo = PanelProcess::Control(w, layout::kGameOptions, "Combo1");
    InFront(w);
    FocusOn(w, combo);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    Key(panel, VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([=] { return !SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0); }, 1000))
        << "the list stays open";
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(folder.Read("RA2MD.ini"), kGameIni);
}

TEST(KeysUi, AboutTakesNoPlainLetterEnterOrEscape) {
    TempFolder folder("Red Alert 2");
    Furnish(folder);
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    HWND w = OpenFrom(panel, "Command4", "About ZARN");
    ASSERT_NE(w, nullptr);
    SweepKeys(panel, folder, w, layout::kAbout);
    // "Ok" is the only control that takes the focus, so no Tab shows that
    // the keys reached the window: Space, which presses it, does.
    Key(panel, VK_SPACE);
    EXPECT_TRUE(WaitGone(w)) << "keys do not reach the window";
}

TEST(KeysUi, HelpTakesNoPlainLetterEnterOrEscape) {
    TempFolder folder("Red Alert 2");
    Furnish(folder);
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    HWND w = OpenFrom(panel, "Command6", "Mod Help");
    ASSERT_NE(w, nullptr);
    SweepKeys(panel, folder, w, layout::kHelp);
}

// Space presses the push button that has the focus, in each kind of window:
// one that opens a window, one that writes the settings file, one that
// closes its window. (The sweep above leaves Space on buttons out.)
TEST(KeysUi, SpacePressesTheFocusedButton) {
    TempFolder folder("Red Alert 2");
    Furnish(folder);
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    InFront(panel.main());
    FocusOn(panel.main(), panel.Main("Command4"));  // "&Info"
    Key(panel, VK_SPACE);
    HWND about = panel.WaitForWindow("About ZARN");
    ASSERT_NE(about, nullptr);
    HWND ok = PanelProcess::Control(about, layout::kAbout, "Command1");
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(about) == ok; }, 2000));
    Key(panel, VK_SPACE);  // "Ok", the only control that takes the focus
    EXPECT_TRUE(WaitGone(about));

    HWND options = OpenFrom(panel, "Command7", "Game Options");
    ASSERT_NE(options, nullptr);
    InFront(options);
    HWND evbbo = PanelProcess::Control(options, layout::kGameOptions, "EVBBo");
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(options) == evbbo; }, 2000)) << "opens on EVBBo";
    Key(panel, VK_SPACE);
    EXPECT_TRUE(WaitUntil(
        [&] { return folder.Read("RA2MD.ini").find("VideoBackBuffer=yes") != std::string::npos; },
        2000));
    EXPECT_EQ(TextOf(PanelProcess::Control(options, layout::kGameOptions, "EVBBS")), "On");
    EXPECT_TRUE(IsWindowVisible(options));
}

}  // namespace
