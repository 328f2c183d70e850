#include "platform/qt/create_qt_backend.h"

#include "platform/qt/qt_backend.h"

namespace platform::qt {

std::unique_ptr<Backend> CreateQtBackend(int& argc, char** argv)
{
    return std::make_unique<QtBackend>(argc, argv);
}

}  // namespace platform::qt
