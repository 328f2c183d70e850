#pragma once

#include "platform/backend.h"

#include <memory>

namespace platform::qt {

// Makes the Qt backend without exposing Qt to the caller, so the program's start-up code stays free of
// Qt headers. argc must outlive the backend: the Qt application keeps a reference to it.
std::unique_ptr<Backend> CreateQtBackend(int& argc, char** argv);

}  // namespace platform::qt
