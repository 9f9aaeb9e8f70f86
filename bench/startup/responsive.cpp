// How quickly the panel answers while Enable moves large files: starts the
// panel in a game folder whose mod files are disabled and large, presses
// "&Enable", and sends it WM_NULL every 20 ms until the command ends.
// Prints the probes' answer times. Figures only.
//
//   responsive <panel.exe> <game folder with the files in place>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Found {
    DWORD pid;
    HWND hwnd;
};

BOOL CALLBACK OnWindow(HWND hwnd, LPARAM data) {
    auto* f = reinterpret_cast<Found*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == f->pid && IsWindowVisible(hwnd)) {
        f->hwnd = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        fwprintf(stderr, L"usage: responsive <panel.exe> <game folder>\n");
        return 2;
    }
    std::wstring folder = argv[2];
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::wstring cmd = L"\"" + std::wstring(argv[1]) + L"\"";
    if (!CreateProcessW(argv[1], &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
        return 1;
    WaitForInputIdle(pi.hProcess, 10000);
    Found f = {pi.dwProcessId, nullptr};
    for (int i = 0; i < 500 && !f.hwnd; ++i, Sleep(10)) EnumWindows(OnWindow, (LPARAM)&f);
    if (!f.hwnd) return 1;
    HWND enable = GetDlgItem(f.hwnd, 100 + 3);  // "&Enable", row 3 of the main window's table
    std::wstring last = folder + L"\\creditsmd.txt";  // the tenth file: Enable is done when it is there
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    PostMessageW(enable, BM_CLICK, 0, 0);
    std::vector<double> waits;
    while (GetFileAttributesW(last.c_str()) == INVALID_FILE_ATTRIBUTES) {
        DWORD_PTR r;
        QueryPerformanceCounter(&t0);
        SendMessageTimeoutW(f.hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &r);
        QueryPerformanceCounter(&t1);
        waits.push_back((t1.QuadPart - t0.QuadPart) * 1000.0 / freq.QuadPart);
        Sleep(20);
    }
    TerminateProcess(pi.hProcess, 0);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::sort(waits.begin(), waits.end());
    printf("during Enable: %zu probes, answer time median %.1f ms, 95th percentile %.1f ms, longest %.1f ms\n",
           waits.size(), waits[waits.size() / 2], waits[waits.size() * 95 / 100], waits.back());
    return 0;
}
