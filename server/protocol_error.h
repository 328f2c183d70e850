#pragma once

#include <stdexcept>

namespace torvel {

// A client broke the dialogue or asked for something the server refuses. The message is the
// reason sent after "abort" and written to the job's log line.
class ProtocolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace torvel
