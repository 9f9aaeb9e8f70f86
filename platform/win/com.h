// COM on the window's thread, for the shell and the image decoder, which
// their documentation asks to be called with COM initialised.
#pragma once

namespace platform {

// Initialises COM, apartment-threaded, on the calling thread the first time
// it is called (ole32 is loaded then, from System32, never at start-up);
// later calls answer the same. True when COM is usable on the thread. Call
// it from the window's thread only: the program has no other.
bool EnsureCom();

}  // namespace platform
