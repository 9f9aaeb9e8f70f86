// No text of the panel is drawn outside its control: every caption, every
// text the behaviour puts in a control ("Enabled" and "Disabled", "On",
// "Sound Off", a volume of 100) and every entry of the resolution list, in
// all four windows, at the DPI this run has, with the faces the panel chose
// from the fonts of this machine.
//
// How it is measured. A font handle means nothing outside the process that
// made it, so the measuring runs in the panel's process, through the
// documented way to run code in another GUI process: the test installs a
// WH_CALLWNDPROC hook on the panel's thread with SetWindowsHookEx, its
// procedure in a small DLL of the test's own (fits/hook.cpp), which the
// system loads into the panel. Sent a registered message, the hook takes
// each control's font (WM_GETFONT) and text and measures them there:
// DrawText with DT_CALCRECT (with DT_WORDBREAK for the labels that wrap) for
// the box the text needs, and the pixels DrawText colours when it draws the
// text as the control does, nothing clipped; the figures come back in
// WM_COPYDATA. The panel itself holds no test code. The texts are the
// panel's own: two game folders, one enabled with every option on and the
// volumes at 100, one disabled with every option off.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/layout.h"
#include "tests/ui/panel_process.h"

namespace {

struct Measured {
    std::string control;  // the layout's name
    HWND hwnd = nullptr;
    std::string cls, face, text;
    bool wraps = false;
    int room_x = 0, room_y = 0;  // in the window's client area
    int room_w = 0, room_h = 0, need_w = 0, need_h = 0;
    bool inked = false;
    int ink_left = 0, ink_top = 0, ink_right = 0, ink_bottom = 0;
};

WString g_reply;

LRESULT CALLBACK OnReply(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COPYDATA) {
        auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        if (data->dwData == 0x5A46) g_reply = static_cast<const wchar_t*>(data->lpData);
        return TRUE;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// The hook on the panel's thread and a window of ours for its answers.
class Measurer {
public:
    explicit Measurer(HWND panel_window) {
        wchar_t path[MAX_PATH];
        DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
        WString dll = WString(path, n);
        dll = dll.substr(0, dll.find_last_of(L'\\') + 1) + L"fits_hook.dll";
        module_ = LoadLibraryW(dll.c_str());
        auto proc = module_ ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                                  GetProcAddress(module_, "FitsHookProc")))
                            : nullptr;
        if (proc)
            hook_ = SetWindowsHookExW(WH_CALLWNDPROC, proc, module_,
                                      GetWindowThreadProcessId(panel_window, nullptr));
        WNDCLASSW wc = {};
        wc.lpfnWndProc = OnReply;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZarnFitsReply";
        RegisterClassW(&wc);
        reply_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 wc.hInstance, nullptr);
    }
    ~Measurer() {
        if (hook_) UnhookWindowsHookEx(hook_);
        if (reply_) DestroyWindow(reply_);
        if (module_) FreeLibrary(module_);
    }
    bool ready() const { return hook_ && reply_; }

    // Every text of `window`'s controls, measured in the panel.
    std::vector<Measured> Measure(HWND window, const layout::Form& form) const {
        g_reply.clear();
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window, RegisterWindowMessageW(L"ZarnFitsMeasure"), (WPARAM)reply_, 0,
                            SMTO_ABORTIFHUNG, 10000, &result);
        std::map<HWND, std::string> names;
        for (std::size_t i = 0; i < form.count; ++i)
            if (HWND h = PanelProcess::Control(window, form, form.controls[i].name))
                names[h] = form.controls[i].name;
        std::vector<Measured> all;
        for (std::size_t at = 0; at < g_reply.size();) {
            std::size_t end = g_reply.find(L'\n', at);
            if (end == WString::npos) end = g_reply.size();
            WString line = g_reply.substr(at, end - at);
            at = end + 1;
            std::vector<WString> f;
            for (std::size_t start = 0;;) {
                std::size_t tab = line.find(L'\t', start);
                f.push_back(line.substr(start, tab == WString::npos ? WString::npos : tab - start));
                if (tab == WString::npos) break;
                start = tab + 1;
            }
            if (f.size() != 12) continue;
            Measured m;
            HWND h = (HWND)(UINT_PTR)wcstoull(f[0].c_str(), nullptr, 16);
            m.control = names.count(h) ? names[h] : "?";
            m.cls = Narrow(f[1]);
            m.wraps = f[2] == L"1";
            m.face = Narrow(f[3]);
            m.room_x = _wtoi(f[4].c_str());
            m.room_y = _wtoi(f[5].c_str());
            m.room_w = _wtoi(f[6].c_str());
            m.room_h = _wtoi(f[7].c_str());
            m.need_w = _wtoi(f[8].c_str());
            m.need_h = _wtoi(f[9].c_str());
            m.inked = f[10] != L"-";
            if (m.inked)
                swscanf(f[10].c_str(), L"%d %d %d %d", &m.ink_left, &m.ink_top, &m.ink_right,
                        &m.ink_bottom);
            m.text = Narrow(f[11]);
            m.hwnd = h;
            all.push_back(m);
        }
        return all;
    }

private:
    HMODULE module_ = nullptr;
    HHOOK hook_ = nullptr;
    HWND reply_ = nullptr;
};

// Checks that each text lies inside its control and under no control that
// lies above it (neighbours overlap), that every control with a text was
// measured, and prints the figures.
// Saves a screenshot of the window, to look at.
void ExpectInside(HWND window, const std::vector<Measured>& all, const layout::Form& form, UINT dpi,
                  const char* state, const char* tag) {
    SCOPED_TRACE(std::string(form.name) + ", " + state);
    char shot[64];
    snprintf(shot, sizeof shot, "fits-%s-%s-%udpi.bmp", form.name, tag, dpi);
    SaveScreenshot(window, shot);
    std::set<std::string> seen;
    for (const Measured& m : all) {
        seen.insert(m.control);
        std::string what = m.control + " \"" + m.text + "\" in " + m.face;
        printf("  %-11s %3u dpi %-12s %-28s %-22s needs %3dx%-3d ink %3d..%-3d x %3d..%-3d "
               "room %3dx%-3d at %d,%d\n",
               form.name, dpi, m.control.c_str(), ("\"" + m.text + "\"").c_str(), m.face.c_str(),
               m.need_w, m.need_h, m.ink_left, m.ink_right, m.ink_top, m.ink_bottom, m.room_w,
               m.room_h, m.room_x, m.room_y);
        EXPECT_TRUE(m.inked) << what << ": nothing drawn";
        EXPECT_LE(m.need_w, m.room_w) << what << ": too wide";
        if (m.wraps) {
            EXPECT_LE(m.need_h, m.room_h) << what << ": a line falls below the label";
        }
        EXPECT_GE(m.ink_left, 0) << what << ": drawn left of its control";
        EXPECT_LE(m.ink_right, m.room_w) << what << ": drawn right of its control";
        EXPECT_GE(m.ink_top, 0) << what << ": drawn above its control";
        EXPECT_LE(m.ink_bottom, m.room_h) << what << ": drawn below its control";
        RECT ink = {m.room_x + m.ink_left, m.room_y + m.ink_top, m.room_x + m.ink_right,
                    m.room_y + m.ink_bottom};
        for (HWND above = GetWindow(m.hwnd, GW_HWNDPREV); above && m.inked;
             above = GetWindow(above, GW_HWNDPREV)) {
            RECT r = RectInParent(above), both;
            if (IsWindowVisible(above) && IntersectRect(&both, &ink, &r))
                ADD_FAILURE() << what << ": drawn under " << WindowText(above) << " ("
                              << ClassOf(above) << ") which lies above it";
        }
    }
    for (std::size_t i = 0; i < form.count; ++i) {
        const layout::Control& c = form.controls[i];
        bool shows_text = c.kind == layout::Kind::kButton || c.kind == layout::Kind::kCombo ||
                          c.kind == layout::Kind::kTextBox ||
                          (c.kind == layout::Kind::kLabel && (*c.caption || c.also_shows));
        if (shows_text) {
            EXPECT_TRUE(seen.count(c.name)) << c.name << " was not measured";
        }
    }
}

std::string GameIni(const char* yes_no, const char* volume) {
    std::string ini = "[Audio]\r\nSoundVolume=";
    ini += volume;
    ini += "\r\nVoiceVolume=";
    ini += volume;
    ini += "\r\nScoreVolume=";
    ini += volume;
    ini += "\r\nInGameMusic=";
    ini += yes_no;
    ini += "\r\n[Video]\r\nAllowHiResModes=";
    ini += yes_no;
    ini += "\r\nVideoBackBuffer=";
    ini += yes_no;
    ini += "\r\nAllowVRAMSidebar=";
    ini += yes_no;
    ini += "\r\nScreenWidth=1280\r\nScreenHeight=1024\r\n";
    return ini;
}

TEST(TextFitsUi, EveryTextLiesInsideItsControlInEveryWindow) {
    struct Case {
        const char* state;
        const char* tag;     // of the screenshots
        const char* marker;  // the file that makes the state
        const char* yes_no;
        const char* volume;
    } cases[] = {
        {"enabled, all on", "on", "expandmd81.mix", "yes", "1.000000"},
        {"disabled, all off", "off", "expandmd81.mix.Zarn", "no", "0.000000"},
    };
    for (const Case& c : cases) {
        TempFolder folder("Red Alert 2");
        folder.Write(c.marker, "marker");
        folder.Write("RA2MD.ini", GameIni(c.yes_no, c.volume));
        PanelProcess panel(folder);
        ASSERT_NE(panel.main(), nullptr) << "the panel did not start";
        UINT dpi = panel.Dpi();
        Measurer measurer(panel.main());
        ASSERT_TRUE(measurer.ready()) << "no hook on the panel's thread";
        std::vector<Measured> main = measurer.Measure(panel.main(), layout::kFrm1);
        ASSERT_FALSE(main.empty()) << "the hook did not answer";
        ExpectInside(panel.main(), main, layout::kFrm1, dpi, c.state, c.tag);

        struct Window {
            const layout::Form& form;
            const char* button;  // of the main window
        } windows[] = {
            {layout::kGameOptions, "Command7"},
            {layout::kAbout, "Command4"},
            {layout::kHelp, "Command6"},
        };
        for (const Window& w : windows) {
            PanelProcess::Click(panel.Main(w.button));
            HWND window = panel.WaitForWindow(w.form.caption);
            ASSERT_NE(window, nullptr) << w.form.caption << " did not open";
            ExpectInside(window, measurer.Measure(window, w.form), w.form, dpi, c.state, c.tag);
            PostMessageW(window, WM_CLOSE, 0, 0);  // saves nothing
            ASSERT_TRUE(WaitGone(window));
        }
    }
}

}  // namespace
