// What the program asks of the operating system beyond SDL: programs on PATH, whether a stream
// is a terminal, its peak memory, and the video driver for runs nobody watches. One implementation
// per system (host_posix.cpp, host_windows.cpp); no state.
#pragma once

#include <cstdio>
#include <string>

// A Windows program of the GUI kind has no console: started from a command prompt, it writes
// to that prompt's console unless its output was sent elsewhere. Nothing to do elsewhere.
void connectStandardStreams();

// The first file called `name` (with ".exe" on Windows) in a folder of PATH that can be run;
// empty when there is none.
std::string findProgramOnPath(const std::string& name);

// The file name a program called `name` has on this system ("ffmpeg.exe" on Windows).
std::string programFileName(const std::string& name);

bool isTerminal(std::FILE* stream);

// The most memory the process has held resident so far, KiB.
long peakResidentKiB();

// Before an offline run opens its window: SDL's offscreen driver where it gives a GL context,
// unless the user chose a driver. On Windows, where no offscreen driver makes GL, windows made
// from then on stay hidden instead.
void prepareUnseenVideo();
bool windowsStayHidden();
