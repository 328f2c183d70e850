#pragma once

#include <string>

// Takes "--directory=PATH" out of the arguments before the benchmark library sees them; the
// directory where a benchmark writes its big file, the system's temporary directory by default.
std::string TakeDirectoryOption(int& argc, char** argv);
