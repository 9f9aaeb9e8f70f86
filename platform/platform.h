// platform/: the ground floor, the services the program leans on, one header
// each. Includes nothing of ours; panel/, settings/ and app/ include it.
//
// The implementation for this build is in win/ or posix/ (the build picks one).
//
// - folder.h: the application folder, the path separator and the name of
//   the game's settings file in it.
// - files.h: the file test, copy and delete.
// - program.h: starting another program.
// - window.h: the narrow window interface (control texts, message boxes,
//   modal windows) that the front end implements and the core calls.
// - profile.h: the INI reader and writer under Cini.
// - status.h: a refusal, its reason, error code, file and step; refusal.h:
//   what it means for the player (the remedy line, a copy's patience).
// - loader.h: how system DLLs are loaded from System32 only (win/ loads them).
// - taskbar.h: the task bar button's progress during a long command.
// - clock.h: the clock a long command reads.
// - system.h: the real services of this build, which start-up builds once
//   and hands to the core (the core itself never includes it).
//
// Every service is an interface (Folder, Files, Programs, SettingsFile,
// Window, Taskbar, Clock): the core reaches a service only through the one
// handed to it, or, for Cini, the settings file service that start-up sets.
//
// Strings are UTF-8 on both sides; wide strings exist only inside win/.
#pragma once

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/folder.h"
#include "platform/program.h"
#include "platform/profile.h"
#include "platform/status.h"
#include "platform/taskbar.h"
#include "platform/window.h"
