#pragma once

#include <string>
#include <vector>

// Which program opens a kind of file, read from the freedesktop data: the shared MIME database
// (extension to MIME type), mimeapps.list (MIME type to the default desktop entry) and the entry's
// Exec line (its first field, found on PATH).
namespace app {

// The XDG base directories, most important first, read from the environment
// ($XDG_CONFIG_HOME, $XDG_CONFIG_DIRS, $XDG_DATA_HOME, $XDG_DATA_DIRS with their defaults); relative
// entries are ignored.
std::vector<std::string> XdgConfigDirectories();
std::vector<std::string> XdgDataDirectories();

// The MIME type of files with this extension (without its dot); empty when the database has none.
std::string MimeTypeOfExtension(const std::string& extension);

// The full path of the program of the default application for the MIME type; empty when there is
// none or it cannot be found.
std::string FindApplicationForMimeType(const std::string& mimeType);

// The full path of the program that opens files with this extension; empty when any step fails.
std::string FindAssociatedApplication(const std::string& extension);

// The icon name of the first installed desktop entry whose Exec line runs `program` (a path or a
// name on $PATH); empty when no entry runs it or the entry names no icon.
std::string DesktopEntryIconName(const std::string& program);

// The program named by the first field of a desktop entry's Exec line: a path as it is, a bare
// name searched on $PATH; empty when no executable file of that name exists.
std::string ResolveProgram(const std::string& name);

}  // namespace app
