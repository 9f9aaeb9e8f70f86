// A program that imports one function Windows 7 lacks (it came with Windows 8)
// and nothing else: the imports check must refuse it, naming exactly that
// function. Built without the C runtime, so nothing else is imported; it is
// read, never run.
#include <windows.h>

extern "C" int Start() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    return now.dwLowDateTime & 1;
}
