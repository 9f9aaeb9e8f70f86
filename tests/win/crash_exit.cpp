// A test program that crashes under Wine with a display would wait at Wine's crash dialog until
// the run is killed, and the crash would read as a hang. Here it ends at once instead: the
// exception's code on stderr and as the exit status, the test it crashed in the last one started.
#include <windows.h>

#include <cstdio>

namespace {

LONG WINAPI EndAtOnce(EXCEPTION_POINTERS* e) {
    std::fprintf(stderr, "crashed: exception 0x%08lx\n", e->ExceptionRecord->ExceptionCode);
    std::fflush(nullptr);
    return EXCEPTION_EXECUTE_HANDLER;
}

// Set as the program starts, after the C runtime has set its own.
const LPTOP_LEVEL_EXCEPTION_FILTER kRuntimes = SetUnhandledExceptionFilter(EndAtOnce);

}  // namespace
