#include "text_upload.h"

namespace torvel {

std::string TextUploadConverter::Convert(std::string_view piece)
{
    std::string converted;
    converted.reserve(piece.size() + 1);
    for (const char character : piece) {
        if (m_pendingCarriageReturn && character != '\n')
            converted.push_back('\r');
        m_pendingCarriageReturn = character == '\r';
        if (!m_pendingCarriageReturn)
            converted.push_back(character);
    }
    return converted;
}

std::string TextUploadConverter::Finish()
{
    if (!m_pendingCarriageReturn)
        return {};
    m_pendingCarriageReturn = false;
    return "\r";
}

}  // namespace torvel
