// Start-up figures: time from process start until the first window is up and
// painted (the process goes idle waiting for input, with its window visible),
// for the panel and for an empty window built the same way; the panel's
// executable size and its peak working set. Given a third program (the empty
// window with the system's controls where the panel has them), its figures
// too, which part the panel's own code from what the standard controls cost.
//
//   startup_bench <panel.exe> <empty_window.exe> <game folder> [runs] [bare.exe]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Found {
    DWORD pid;
    bool visible;
};

BOOL CALLBACK OnWindow(HWND hwnd, LPARAM data) {
    auto* f = reinterpret_cast<Found*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == f->pid && IsWindowVisible(hwnd)) {
        f->visible = true;
        return FALSE;
    }
    return TRUE;
}

struct Run {
    double ms;
    SIZE_T peak_working_set;
};

Run StartOnce(const std::wstring& exe, const std::wstring& folder) {
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::wstring cmd = L"\"" + exe + L"\"";
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    if (!CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &si, &pi))
        return {-1, 0};
    Found f = {pi.dwProcessId, false};
    for (DWORD start = GetTickCount(); !f.visible;) {
        if (GetTickCount() - start > 10000) {
            fprintf(stderr, "no window appeared\n");
            break;
        }
        WaitForInputIdle(pi.hProcess, 10000);
        EnumWindows(OnWindow, (LPARAM)&f);
        if (!f.visible) Sleep(1);
    }
    // The first paint has been handled once the process is idle again.
    WaitForInputIdle(pi.hProcess, 10000);
    QueryPerformanceCounter(&t1);
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof pmc);
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return {(t1.QuadPart - t0.QuadPart) * 1000.0 / freq.QuadPart, pmc.PeakWorkingSetSize};
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        fwprintf(stderr, L"usage: startup_bench <panel.exe> <empty.exe> <game folder> [runs]\n");
        return 2;
    }
    int runs = argc > 4 ? _wtoi(argv[4]) : 15;
    const wchar_t* bare_exe = argc > 5 ? argv[5] : nullptr;
    std::vector<double> panel, empty, bare;
    SIZE_T peak = 0, empty_peak = 0, bare_peak = 0;
    StartOnce(argv[1], argv[3]);  // warm the caches for all
    StartOnce(argv[2], argv[3]);
    if (bare_exe) StartOnce(bare_exe, argv[3]);
    for (int i = 0; i < runs; ++i) {  // interleaved, so drift hits all alike
        Run p = StartOnce(argv[1], argv[3]);
        Run e = StartOnce(argv[2], argv[3]);
        panel.push_back(p.ms);
        empty.push_back(e.ms);
        peak = std::max(peak, p.peak_working_set);
        empty_peak = std::max(empty_peak, e.peak_working_set);
        if (bare_exe) {
            Run b = StartOnce(bare_exe, argv[3]);
            bare.push_back(b.ms);
            bare_peak = std::max(bare_peak, b.peak_working_set);
        }
    }
    WIN32_FILE_ATTRIBUTE_DATA attr = {};
    GetFileAttributesExW(argv[1], GetFileExInfoStandard, &attr);
    double mp = Median(panel), me = Median(empty);
    printf("start-up to first paint, median of %d: panel %.1f ms, empty window %.1f ms, ratio %.3f (goal <= 1.15)\n",
           runs, mp, me, mp / me);
    printf("executable size: %lu bytes = %.1f KiB (goal < 1024 KiB)\n", attr.nFileSizeLow,
           attr.nFileSizeLow / 1024.0);
    printf("peak working set: panel %.2f MiB, empty window %.2f MiB, ratio %.3f (goal <= 1.1)\n",
           peak / 1048576.0, empty_peak / 1048576.0, (double)peak / empty_peak);
    if (bare_exe) {
        double mb = Median(bare);
        printf("empty window with the system's controls only: %.1f ms (ratio to empty %.3f), %.2f MiB (%.3f); "
               "panel against it: time %.3f, working set %.3f\n",
               mb, mb / me, bare_peak / 1048576.0, (double)bare_peak / empty_peak, mp / mb,
               (double)peak / bare_peak);
    }
    return 0;
}
