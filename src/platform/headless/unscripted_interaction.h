#pragma once

#include <stdexcept>

namespace platform::headless {

// A test met a message box, file dialog, dialog or drag that it did not script.
class UnscriptedInteraction : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

}  // namespace platform::headless
