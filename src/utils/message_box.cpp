#include "utils/message_box.h"

#include <cstdio>
#include <iterator>
#include <mutex>

namespace utils {

namespace {

std::mutex handlerMutex;
MessageBoxHandler installedHandler;

int WriteToStandardError(const std::string& text, unsigned int style)
{
    const std::string line = text + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    return DefaultAnswer(style);
}

}  // namespace

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    const std::lock_guard lock(handlerMutex);
    installedHandler = std::move(handler);
}

int ShowMessageBox(const std::string& text, unsigned int style)
{
    MessageBoxHandler handler;
    {
        // Copied out so that a box that stays open does not block other threads' boxes.
        const std::lock_guard lock(handlerMutex);
        handler = installedHandler;
    }
    if (!handler)
        return WriteToStandardError(text, style);
    return handler(text, style);
}

int DefaultAnswer(unsigned int style)
{
    struct Buttons {
        unsigned int count;
        int answers[3];
    };
    static constexpr Buttons kButtonSets[] = {
        {1, {AnswerOk}},
        {2, {AnswerOk, AnswerCancel}},
        {3, {AnswerAbort, AnswerRetry, AnswerIgnore}},
        {3, {AnswerYes, AnswerNo, AnswerCancel}},
        {2, {AnswerYes, AnswerNo}},
        {2, {AnswerRetry, AnswerCancel}},
    };
    const unsigned int buttonSet = style & MessageBoxButtonsMask;
    if (buttonSet >= std::size(kButtonSets))
        return AnswerOk;
    const Buttons& buttons = kButtonSets[buttonSet];
    unsigned int defaultButton = 0;
    if (style & MessageBoxDefaultButton2)
        defaultButton = 1;
    if (style & MessageBoxDefaultButton3)
        defaultButton = 2;
    // A default button that the set does not have falls back to the first one.
    if (defaultButton >= buttons.count)
        defaultButton = 0;
    return buttons.answers[defaultButton];
}

}  // namespace utils
