#include "platform/clipboard.h"

#include "platform/backend.h"

namespace platform::clipboard {
namespace {

// The text format ends at the first zero byte.
std::string UpToZero(const std::string& text)
{
    return text.substr(0, text.find('\0'));
}

}  // namespace

bool HasText()
{
    return Backend::Current().ClipboardHasText();
}

bool SetText(const std::string& text)
{
    return Backend::Current().SetClipboardText(UpToZero(text));
}

std::optional<std::string> GetText()
{
    auto text = Backend::Current().ClipboardText();
    if (!text)
        return std::nullopt;
    return UpToZero(*text);
}

void SetPrimarySelection(const std::string& text)
{
    Backend::Current().SetPrimarySelectionText(UpToZero(text));
}

std::optional<std::string> PrimarySelection()
{
    auto text = Backend::Current().PrimarySelectionText();
    if (!text)
        return std::nullopt;
    return UpToZero(*text);
}

}  // namespace platform::clipboard
