// Where the running program's executable lies, asked of the system, so that files installed
// with it are found wherever it was installed or unpacked. Says nothing about what lies there;
// needs no SDL_Init.
#pragma once

#include <filesystem>

// The executable's folder; when the system cannot tell, the folder of argv0 as typed.
std::filesystem::path programFolder(const char* argv0);
