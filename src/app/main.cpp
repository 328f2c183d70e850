#include "app/windowless_options.h"
#include "app/windowless_run.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The windowed editor is not part of this build yet.
int RunEditorWindow(const std::vector<std::string>&)
{
    std::fputs("quillwright: the editor window is not part of this build; use quillwright --output ps|pdf|html FILE\n", stderr);
    return app::ExitUsageError;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (app::RequestsWindowlessRun(arguments))
        return app::RunWindowless(arguments);
    return RunEditorWindow(arguments);
}
