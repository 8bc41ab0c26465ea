// Test support: other programs the tests run through the shell.
#pragma once

#include <string>

// Whether `name` is a command on PATH.
bool haveCommand(const char* name);

// What `command` (a shell command line) writes to its standard output.
std::string commandOutput(const std::string& command);
