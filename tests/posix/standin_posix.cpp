// Natively the stand-in is a shell script; a script cannot learn a show state.
#include <filesystem>

#include "tests/standin.h"

namespace fs = std::filesystem;

const bool kStandInKnowsShowState = false;

void PlaceStandIn(const TempFolder& dir, const std::string& name) {
    dir.Write(name,
              "#!/bin/sh\n"
              "{ printf '%s\\n' \"$0\"; echo none; pwd -P; } > \"$0.started.part\" &&"
              " mv \"$0.started.part\" \"$0.started.txt\"\n");
    fs::permissions(fs::u8path(dir.File(name)), fs::perms::owner_exec, fs::perm_options::add);
}

bool WaitEnded(const std::string&) { return true; }  // a running script does not stop its deletion
