// The shell's way of starting a program, taken when CreateProcessW answers
// ERROR_ELEVATION_REQUIRED; on its own so that it can be run where nothing
// asks for elevation.
#pragma once

#include "platform/status.h"
#include "platform/win/wide.h"

namespace platform {

Status StartThroughShell(const WString& path, int show_state);

}  // namespace platform
