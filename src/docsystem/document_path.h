#pragma once

#include <string>

// The path of a file that a document names relative to its directory. Documents may separate
// directories with "\" as well as "/".
std::string DocumentFilePath(const std::string& directory, const std::string& name);

// A path a document names as a setting: an absolute one as it is, a relative one taken from the
// document's directory.
std::string DocumentSettingPath(const std::string& directory, const std::string& name);
