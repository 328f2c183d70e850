#include "app/output_viewer.h"

#include "app/mime_associations.h"
#include "utils/error_reporting.h"
#include "utils/process.h"
#include "utils/string_utils.h"

namespace app {

namespace {

constexpr const char* FailedToRunViewer = "failed to run viewer:\n{}";
constexpr const char* PlainTextType = "text/plain";
constexpr const char* DesktopOpener = "xdg-open";

}  // namespace

std::string ViewerSettingName(const std::string& kind)
{
    for (const char* known : {"ps", "pdf", "html"}) {
        if (utils::EqualIgnoringCase(kind, known))
            return std::string(known) + "viewer";
    }
    return {};
}

std::string ChooseViewer(const std::string& kind, const std::string& setting)
{
    return setting.empty() ? FindAssociatedApplication(kind) : setting;
}

std::string TextViewerProgram()
{
    const std::string program = FindApplicationForMimeType(PlainTextType);
    return program.empty() ? DesktopOpener : program;
}

std::string ViewerCommandLine(const std::string& program, const std::string& file)
{
    return "\"" + program + "\" \"" + file + "\"";
}

bool StartViewer(const std::string& program, const std::string& file)
{
    // The handle reaps the viewer in the background once it ends; nothing waits for it here.
    if (utils::StartProcess(ViewerCommandLine(program, file)))
        return true;
    utils::ReportSystemError(FailedToRunViewer);
    return false;
}

}  // namespace app
