#pragma once

// The one place where the support library reaches the user interface: a message box handler that
// the application installs. Without one, the text goes to stderr and the default button is the
// answer. The handler may be called from any thread.

#include <functional>
#include <string>

namespace utils {

// Styles and answers keep the numbers of the classic message box API.
enum MessageBoxStyle : unsigned int {
    MessageBoxOk = 0x0,
    MessageBoxOkCancel = 0x1,
    MessageBoxAbortRetryIgnore = 0x2,
    MessageBoxYesNoCancel = 0x3,
    MessageBoxYesNo = 0x4,
    MessageBoxRetryCancel = 0x5,
    MessageBoxButtonsMask = 0xF,
    MessageBoxIconError = 0x10,
    MessageBoxIconQuestion = 0x20,
    MessageBoxIconWarning = 0x30,
    MessageBoxIconInformation = 0x40,
    MessageBoxDefaultButton2 = 0x100,
    MessageBoxDefaultButton3 = 0x200,
};

enum MessageBoxAnswer : int {
    AnswerOk = 1,
    AnswerCancel = 2,
    AnswerAbort = 3,
    AnswerRetry = 4,
    AnswerIgnore = 5,
    AnswerYes = 6,
    AnswerNo = 7,
};

// Shows text with the given style and returns the answer (a MessageBoxAnswer).
using MessageBoxHandler = std::function<int(const std::string& text, unsigned int style)>;

// Installs the handler; an empty handler restores the default.
void SetMessageBoxHandler(MessageBoxHandler handler);
// Shows a message box through the installed handler and returns its answer.
int ShowMessageBox(const std::string& text, unsigned int style);
// The answer of the default button of style.
int DefaultAnswer(unsigned int style);

}  // namespace utils
