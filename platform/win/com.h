// COM for the few shell objects the panel uses, set up on demand: nothing of
// it runs at start-up, and ole32.dll is loaded from System32 only, at run
// time, never imported.
#pragma once

namespace platform {

// Initialises COM, apartment-threaded, on the calling thread the first time
// it is called. True when COM is usable on this thread.
bool EnsureCom();

}  // namespace platform
