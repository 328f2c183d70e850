#include "app/windowless_options.h"
#include "app/windowless_run.h"

#include <cstdio>
#include <string>
#include <vector>

#ifdef QUILLWRIGHT_WINDOW
#include "app/window/entry/run_editor_window.h"
#else
namespace {

// A build without the window system has no editor window.
int RunEditorWindow(char*, const std::vector<std::string>&)
{
    std::fputs("quillwright: the editor window is not part of this build; use quillwright --output ps|pdf|html FILE\n", stderr);
    return app::ExitUsageError;
}

}  // namespace
#endif

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (app::RequestsWindowlessRun(arguments))
        return app::RunWindowless(arguments);
    return RunEditorWindow(argv[0], arguments);
}
