// Natively the stand-in is a shell script; a script cannot learn a show state.
#include <filesystem>
#include <unistd.h>

#include "tests/standin.h"

namespace fs = std::filesystem;

void PlaceStandIn(const TempFolder& dir, const std::string& name) {
    dir.Write(name,
              "#!/bin/sh\n"
              "{ printf '%s\\n' \"$0\"; echo none; pwd -P; } > \"$0.started.part\" &&"
              " mv \"$0.started.part\" \"$0.started.txt\"\n");
    fs::permissions(fs::u8path(dir.File(name)), fs::perms::owner_exec, fs::perm_options::add);
}

bool WaitEnded(const std::string&) { return true; }  // a running script does not stop its deletion

std::string WorkingDirectory() { return fs::current_path().u8string(); }

bool ShowStateRecorded() { return false; }

std::string DeniedReason() { return "Access is denied."; }

// Without any execute permission even root may not run it.
std::string NotAProgramReason() { return "Access is denied."; }
void PlaceNotAProgram(const TempFolder& dir, const std::string& name) { dir.Write(name, "not a program"); }
