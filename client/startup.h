// Start-up checks, starting the client, and the end of the program.
#pragma once

#include <string>

// The value of USER, read once at start-up.
extern std::string CurrentUser;

// Where the client can be obtained, shown when it is missing.
extern const char* const ClientDownloadAddress;

// Runs the start-up sequence up to the event loop; returns false when the
// toolkit cannot start (no display).  Every other way out ends the program.
bool StartUp(int argc, char** argv);
// The whole program: start-up, then the event loop.
int RunCorvane(int argc, char** argv);

// Starts the client and waits about three seconds for it; ends the program
// when it does not come up.
void StartClient();

// Releases the tray icon, windows, menus and images, then ends the process
// with status 0.
[[noreturn]] void EndProgram();

// How the process ends; tests replace it to stay alive.
extern void (*TerminateProcess)(int status);
