#pragma once

#include <filesystem>
#include <string>

namespace torvel {

// Appends "! torvel-server: TEXT" on a line of its own to the LaTeX log `log`, creating it if needed.
// Clients look for lines beginning with "!" to tell the user that something went wrong.
void NoteInLog(const std::filesystem::path& log, const std::string& text);

// The end of what a tool printed, enough to show why it failed.
std::string TranscriptTail(const std::filesystem::path& transcript);

}  // namespace torvel
