#include "platform/win/com.h"

#include <objbase.h>

#include "platform/win/system_library.h"

namespace platform {

bool EnsureCom() {
    static int state = 0;  // 0 not tried, 1 usable, 2 not
    if (state == 0) {
        using CoInitializeExFn = HRESULT(WINAPI*)(void*, DWORD);
        auto initialise =
            SystemFunction<CoInitializeExFn>(LoadSystemLibrary(L"ole32.dll"), "CoInitializeEx");
        HRESULT hr = initialise ? initialise(nullptr, COINIT_APARTMENTTHREADED |
                                                          COINIT_DISABLE_OLE1DDE)
                                : E_FAIL;
        // S_FALSE: already initialised so; RPC_E_CHANGED_MODE: already a
        // multi-threaded apartment, usable all the same. Never uninitialised:
        // COM lives as long as the thread. ole32 stays loaded with it.
        state = (SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE) ? 1 : 2;
    }
    return state == 1;
}

}  // namespace platform
