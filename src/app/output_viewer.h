#pragma once

#include <string>

// The programs that show output: the viewer of a kind of output and the program for the LaTeX log.
namespace app {

// The setting that names the viewer of `kind` ("ps", "pdf", "html", in any letter case):
// "psviewer", "pdfviewer" or "htmlviewer"; empty for any other kind.
std::string ViewerSettingName(const std::string& kind);

// The viewer for `kind`: the setting when it is not empty, else the program associated with the
// kind as an extension; empty when there is neither.
std::string ChooseViewer(const std::string& kind, const std::string& setting);

// The program that shows plain text (the LaTeX log): the default application for text/plain, else
// xdg-open.
std::string TextViewerProgram();

// The quoted program and the quoted file, separated by a blank.
std::string ViewerCommandLine(const std::string& program, const std::string& file);

// Starts the program with the file and does not wait for it. When it cannot be started, the user
// is shown "failed to run viewer:" with the system's text; returns whether it started.
bool StartViewer(const std::string& program, const std::string& file);

}  // namespace app
