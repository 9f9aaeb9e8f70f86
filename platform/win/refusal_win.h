// Win32 error codes as the refusal decisions know them.
#pragma once

#include <windows.h>

#include "platform/refusal.h"

namespace platform {

ErrorKind ErrorKindOf(DWORD error);

}  // namespace platform
