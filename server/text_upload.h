#pragma once

#include <string>
#include <string_view>

namespace torvel {

// Turns CR LF into LF in a stream of pieces; a CR at the end of one piece is held back until the
// next piece shows whether an LF follows it.
class TextUploadConverter {
public:
    std::string Convert(std::string_view piece);
    std::string Finish();

private:
    bool m_pendingCarriageReturn = false;
};

}  // namespace torvel
