#pragma once

#include <string>

class SearchPatternError;

// The messages of find and replace, shown in a message box with an OK button.
void ShowTextNotFound(const std::string& text);
void ShowSearchPatternError(const SearchPatternError& error);
