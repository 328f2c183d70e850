#pragma once

#include <string>
#include <vector>

// Runs the editor window until it is closed. `arguments` are the command-line arguments after the
// program name; together, joined with single blanks, they name the one file or address to open.
// Returns the program's exit status: 0 after a normal end, 1 when the start failed (the user has been
// told why, on standard error when there is no display at all).
int RunEditorWindow(char* programName, const std::vector<std::string>& arguments);
