// COM on the window's thread, for its two users: the shell's start of a
// program (ShellExecuteExW, whose documentation asks for COM initialised) and
// the task bar button's progress (a COM object, ITaskbarList3).
#pragma once

namespace platform {

// Initialises COM, apartment-threaded, on the calling thread the first time
// it is called (ole32 is loaded then, from System32, never at start-up);
// later calls answer the same. True when COM is usable on the thread. Call
// it from the window's thread only: the program has no other.
bool EnsureCom();

}  // namespace platform
