// Starting a program with a given CreateProcessW: the system's, or in a test
// one that answers as Windows does where Wine never would (a program that
// needs an administrator).
#pragma once

#include <windows.h>

#include <string>

#include "platform/status.h"

namespace platform {

using CreateProcessFn = BOOL(WINAPI*)(LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES,
                                      LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID, LPCWSTR,
                                      LPSTARTUPINFOW, LPPROCESS_INFORMATION);

Status StartProgramWith(CreateProcessFn create, const std::string& path, int show_state);

}  // namespace platform
