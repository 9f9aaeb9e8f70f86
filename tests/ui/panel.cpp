// The UI test program, given the real executable; the panel's folder is the test's game folder.
#include "tests/ui/panel.h"

#include <algorithm>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    g_panel_exe = platform::Widen(argc > 1 ? argv[1] : "");  // a Unix path, as Windows names it under Wine
    std::replace(g_panel_exe.begin(), g_panel_exe.end(), L'/', L'\\');
    g_panel_exe = (g_panel_exe[0] == L'\\' ? L"Z:" : L"") + g_panel_exe;
    return RUN_ALL_TESTS();
}
