// A stand-in program for the panel to start, placed by tests/win/standin_win.cpp
// or tests/posix/standin_posix.cpp, and its record of how it was started.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "tests/support/temp_folder.h"

struct Started {
    std::string command_line;
    std::string show;       // the show state given, "none" when the build has none
    std::string directory;  // its working directory
};

// Puts a stand-in program into `dir` under `name` ("RA2MD.exe").
void PlaceStandIn(const TempFolder& dir, const std::string& name);
// Whether this build's stand-in learns the show state it was given; where it
// cannot (a script), it records "none".
extern const bool kStandInKnowsShowState;

// Waits up to `ms` for the record of the stand-in `name` in `dir` to read whole
// (the handle that renamed it into place may refuse a reader for a moment).
inline bool WaitStarted(const TempFolder& dir, const std::string& name, Started* started,
                        int ms = 30000) {
    for (int i = 0; i <= ms / 10; ++i) {
        std::ifstream in(std::filesystem::u8path(dir.File(name + ".started.txt")));
        if (std::getline(in, started->command_line) && std::getline(in, started->show) &&
            std::getline(in, started->directory))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// Waits until no stand-in named `name` runs; false when one still runs after ten seconds.
bool WaitEnded(const std::string& name);
