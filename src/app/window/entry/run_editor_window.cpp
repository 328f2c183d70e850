#include "app/window/entry/run_editor_window.h"

#include "app/window/editor_app.h"
#include "app/window/running_jobs.h"
#include "buffer/document/recovery_store.h"
#include "platform/qt/create_qt_backend.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

bool IsSet(const char* variable)
{
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

// Without any of these the window system cannot start and would end the program without a word
// of ours.
bool DisplayAvailable()
{
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM");
}

std::string JoinedWithBlanks(const std::vector<std::string>& arguments)
{
    std::string line;
    for (const auto& argument : arguments) {
        if (!line.empty())
            line += ' ';
        line += argument;
    }
    return line;
}

// Without a store the editor works on, but says that typing is not safe from a crash.
std::unique_ptr<RecoveryStore> StartRecoveryStore()
{
    try {
        auto store = std::make_unique<RecoveryStore>(RecoveryStore::DefaultDirectory());
        RecoveryStore::SetActive(store.get());
        return store;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "quillwright: no recovery copies will be kept: %s\n", failure.what());
        return nullptr;
    }
}

} // namespace

int RunEditorWindow(char* programName, const std::vector<std::string>& arguments)
{
    if (!DisplayAvailable()) {
        std::fputs("quillwright: there is no display to show the editor window on (DISPLAY is not set); "
                   "use quillwright --output ps|pdf|html FILE to work without a window\n",
                   stderr);
        return 1;
    }
    // Only the program name reaches the window system, so that no file name is taken for one of
    // its options. Both outlive the backend, which keeps referring to them.
    int windowSystemArgumentCount = 1;
    char* windowSystemArguments[] = {programName, nullptr};
    const auto backend = platform::qt::CreateQtBackend(windowSystemArgumentCount, windowSystemArguments);
    // The store outlives the application, whose documents remove their copies as they go.
    const std::unique_ptr<RecoveryStore> recovery = StartRecoveryStore();
    CEditorApp application(JoinedWithBlanks(arguments));
    if (!application.InitInstance())
        return 1;
    const int status = application.Run();
    if (running_jobs::Count() > 0) {
        // The user closed the window and abandoned a running job. Its thread still uses the window
        // system's queue, so the program ends here instead of tearing that down under it; the
        // documents and settings are already saved.
        std::fputs("quillwright: the output job that was still running has been abandoned\n", stderr);
        std::fflush(nullptr);
        // The removal of a closed document's recovery copy must not stay in the queue.
        if (recovery != nullptr)
            recovery->WaitUntilIdle();
        std::_Exit(status);
    }
    return status;
}
