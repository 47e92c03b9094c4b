#pragma once
// The program started with options: it configures this PC without its window
// and ends with an exit code for the script or installer that started it.
#include <optional>
#include <string>

// The exit code of the run the command line asks for; none when it asks for
// nothing (no arguments): the program then opens its window as always.
std::optional<int> RunCommandLine(const std::string& programPath);
