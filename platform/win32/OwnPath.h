#pragma once
// The full path of the running program's own file.
#include <string>

std::string OwnPath();
