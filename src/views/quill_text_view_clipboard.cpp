#include "views/quill_text_view.h"

#include "platform/clipboard.h"
#include "platform/cmd_ui.h"
#include "platform/command_ids.h"
#include "platform/cursor.h"
#include "platform/message_box.h"

namespace {

// The last text this program put on the clipboard, as Unicode and as the bytes it came from. The
// clipboard carries Unicode only, so a UTF-8 document's invalid bytes (or a legacy document's
// undefined ones) would come back as replacement characters; pasting our own text uses its bytes.
struct CopiedText {
    std::string unicodeText;
    std::string bytes;
    utils::DocumentCharacterSet characterSet;
};

CopiedText& LastCopied()
{
    static CopiedText copied;
    return copied;
}

// Lines are joined with "\r\n" in the text of the views and with "\n" on this system's clipboard.
std::string WithLineFeeds(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (text[index] == '\r' && index + 1 < text.size() && text[index + 1] == '\n')
            continue;
        result += text[index];
    }
    return result;
}

// A line feed without a carriage return before it breaks the line too, as other programs end lines
// that way.
std::string WithCarriageReturns(std::string_view text)
{
    std::string result;
    result.reserve(text.size() + text.size() / 16);
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (text[index] == '\n' && (index == 0 || text[index - 1] != '\r'))
            result += '\r';
        result += text[index];
    }
    return result;
}

bool SameCharacterSet(utils::DocumentCharacterSet left, utils::DocumentCharacterSet right)
{
    return left.encoding == right.encoding
        && (left.encoding == TextEncoding::Utf8 || left.codePage == right.codePage);
}

}  // namespace

void CQuillTextView::MapClipboardCommands()
{
    MapCommand(ID_EDIT_COPY, &CQuillTextView::OnEditCopy);
    MapUpdateCommandUI(ID_EDIT_COPY, &CQuillTextView::OnUpdateEditCopy);
}

utils::DocumentCharacterSet CQuillTextView::DocumentCharacters() const
{
    return {Encoding(), utils::CodePageOfCharacterSet(m_logFont.lfCharSet)};
}

bool CQuillTextView::ClipboardHasText() const
{
    return platform::clipboard::HasText();
}

bool CQuillTextView::CopyTextToClipboard(const std::string& text)
{
    if (text.empty())
        return false;
    const CWaitCursor waitCursor;
    const utils::DocumentCharacterSet characterSet = DocumentCharacters();
    std::string unicodeText = ExchangeTextOf(text);
    if (!platform::clipboard::SetText(unicodeText))
        return false;
    LastCopied() = {std::move(unicodeText), text, characterSet};
    return true;
}

bool CQuillTextView::ReadTextFromClipboard(std::string& text)
{
    const std::optional<std::string> unicodeText = platform::clipboard::GetText();
    if (!unicodeText)
        return false;
    const CopiedText& copied = LastCopied();
    if (*unicodeText == copied.unicodeText && SameCharacterSet(copied.characterSet, DocumentCharacters())) {
        text = copied.bytes;
        return true;
    }
    return DocumentTextOfUnicode(*unicodeText, text);
}

std::string CQuillTextView::ExchangeTextOf(const std::string& text) const
{
    return WithLineFeeds(utils::UnicodeOfDocumentText(text, DocumentCharacters()));
}

bool CQuillTextView::DocumentTextOfUnicode(const std::string& unicodeText, std::string& text)
{
    const utils::DocumentCharacterSet characterSet = DocumentCharacters();
    utils::DocumentText converted = utils::DocumentTextOfUnicode(WithCarriageReturns(unicodeText), characterSet);
    if (converted.missing) {
        AfxMessageBox(utils::MissingCharacterMessage(*converted.missing, characterSet.codePage),
                      MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    text = std::move(converted.bytes);
    return true;
}

void CQuillTextView::OnEditCopy()
{
    if (HasSelection())
        CopyTextToClipboard(SelectedText());
}

void CQuillTextView::OnUpdateEditCopy(CCmdUI* commandUi)
{
    commandUi->Enable(HasSelection());
}
