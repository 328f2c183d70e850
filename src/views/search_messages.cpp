#include "views/search_messages.h"

#include "platform/message_box.h"
#include "utils/string_table.h"
#include "views/line_matcher.h"

namespace {

constexpr unsigned int NotFoundMessageId = 8606;

}  // namespace

void ShowTextNotFound(const std::string& text)
{
    std::string message = utils::LoadResourceString(NotFoundMessageId);
    if (const auto placeholder = message.find("%s"); placeholder != std::string::npos)
        message.replace(placeholder, 2, text);
    AfxMessageBox(message, MB_OK | MB_ICONINFORMATION);
}

void ShowSearchPatternError(const SearchPatternError& error)
{
    AfxMessageBox(error.what(), MB_OK | MB_ICONWARNING);
}
