// A stand-in program for the tests to have the panel start, and its record
// of how it was started. tests/win/standin_win.cpp and
// tests/posix/standin_posix.cpp place it.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "tests/support/temp_folder.h"

// How a stand-in was started, as it recorded it.
struct Started {
    std::string command_line;
    std::string show;       // the show state given, "none" when the build has none
    std::string directory;  // its working directory
};

// Puts a stand-in program into `dir` under `name` ("RA2MD.exe").
void PlaceStandIn(const TempFolder& dir, const std::string& name);

// Waits up to `ms` for the record of the stand-in `name` in `dir`. False
// when it never came, that is when nothing was started.
inline bool WaitStarted(const TempFolder& dir, const std::string& name, Started* started,
                        int ms = 30000) {
    namespace fs = std::filesystem;
    // The record appears by a rename, but for a moment after it the renaming
    // handle may still be open and refuse a reader: try until it reads whole.
    fs::path record = fs::u8path(dir.File(name + ".started.txt"));
    for (int i = 0; i <= ms / 10; ++i) {
        std::ifstream in(record);
        if (std::getline(in, started->command_line) && std::getline(in, started->show) &&
            std::getline(in, started->directory))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// Waits until no stand-in named `name` runs any more; false when one still
// runs after ten seconds.
bool WaitEnded(const std::string& name);
