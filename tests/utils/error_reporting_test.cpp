#include "utils/error_reporting.h"
#include "utils/socket_error.h"
#include "utils/string_table.h"
#include "utils/string_utils.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <stdexcept>
#include <thread>
#include <vector>

namespace utils {
namespace {

using ::testing::HasSubstr;

std::string Strerror(int errorNumber)
{
    return std::strerror(errorNumber);
}

template <typename Exception, typename Action>
std::string MessageOf(Action action)
{
    try {
        action();
    } catch (const Exception& exception) {
        return exception.what();
    }
    ADD_FAILURE() << "nothing was thrown";
    return {};
}

// Records every message box and answers with a fixed button.
class MessageBoxRecorder : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetMessageBoxHandler([this](const std::string& text, unsigned int style) {
            texts.push_back(text);
            styles.push_back(style);
            return AnswerCancel;
        });
    }
    void TearDown() override { SetMessageBoxHandler({}); }

    std::vector<std::string> texts;
    std::vector<unsigned int> styles;
};

TEST(ErrorCodeText, TableTextOrNumber)
{
    EXPECT_EQ(ErrorCodeText(10061), "Connection refused");
    EXPECT_EQ(ErrorCodeText(10059), "error #10059");
    EXPECT_EQ(ErrorCodeText(kHostNotFoundError), "Host not found");
    // Small numbers are other strings of the table, never error texts.
    EXPECT_EQ(ErrorCodeText(10), "error #10");
    EXPECT_EQ(ErrorCodeText(20000), "error #20000");
    EXPECT_EQ(ErrorCodeText(-ENOMEM), Strerror(ENOMEM));
}

TEST(SocketErrorCodes, PosixErrorsMapToSocketCodes)
{
    EXPECT_EQ(SocketErrorCodeFromErrno(ECONNREFUSED), 10061);
    EXPECT_EQ(SocketErrorCodeFromErrno(ECONNRESET), 10054);
    EXPECT_EQ(SocketErrorCodeFromErrno(EPIPE), 10054);
    EXPECT_EQ(SocketErrorCodeFromErrno(ETIMEDOUT), 10060);
    EXPECT_EQ(SocketErrorCodeFromErrno(EHOSTUNREACH), 10065);
    EXPECT_EQ(SocketErrorCodeFromErrno(ENETUNREACH), 10051);
    EXPECT_EQ(SocketErrorCodeFromErrno(EINTR), 10004);
    EXPECT_EQ(SocketErrorCodeFromErrno(EADDRINUSE), 10048);
    errno = ETIMEDOUT;
    EXPECT_EQ(LastSocketErrorCode(), 10060);
}

TEST(SocketErrorCodes, EveryMappedCodeHasATableText)
{
    for (int errorNumber = 1; errorNumber < 200; ++errorNumber) {
        const int code = SocketErrorCodeFromErrno(errorNumber);
        if (code > 0)
            EXPECT_NE(ErrorCodeText(code).rfind("error #", 0), 0u) << "errno " << errorNumber;
        else
            EXPECT_EQ(ErrorCodeText(code), SystemErrorText(errorNumber)) << "errno " << errorNumber;
    }
}

TEST(SocketErrorCodes, FailedHostLookupHasItsOwnText)
{
    EXPECT_EQ(SocketErrorCodeFromAddressLookup(EAI_NONAME, 0), kHostNotFoundError);
    EXPECT_EQ(SocketErrorCodeFromAddressLookup(EAI_AGAIN, 0), kHostNotFoundError);
    EXPECT_EQ(SocketErrorCodeFromAddressLookup(EAI_SYSTEM, ECONNREFUSED), 10061);
    EXPECT_EQ(SocketErrorCodeFromAddressLookup(EAI_MEMORY, 0), 10055);
}

TEST(SocketError, MessageIsTemplateFilledWithCodeText)
{
    const tvl_utils::socket_error error(LoadResourceString(20005), 10061);
    EXPECT_STREQ(error.what(), "Failed to connect to remote host: Connection refused");
    EXPECT_EQ(error.code(), 10061);
    const tvl_utils::socket_error copy = error;
    EXPECT_STREQ(copy.what(), error.what());
    const std::runtime_error& base = error;
    EXPECT_STREQ(base.what(), "Failed to connect to remote host: Connection refused");
}

TEST(SocketError, InterruptedCallHasEmptyMessage)
{
    const tvl_utils::socket_error error(LoadResourceString(20001), 10004);
    EXPECT_STREQ(error.what(), "");
}

TEST(SocketError, ThrowHelpersUseTheCurrentErrno)
{
    errno = EPIPE;
    EXPECT_EQ(MessageOf<std::exception>([] { ThrowSocketError(20000); }),
              "Failed to send data: Connection reset by peer");
    try {
        ThrowSocketError(20001, 10060);
    } catch (const tvl_utils::socket_error& error) {
        EXPECT_STREQ(error.what(), "Failed to receive data: Connection timed out");
        EXPECT_EQ(error.code(), 10060);
    }
}

TEST(SystemErrorText, SystemTextOfCodeOrCurrentErrno)
{
    EXPECT_EQ(SystemErrorText(ENOENT), Strerror(ENOENT));
    errno = EACCES;
    EXPECT_EQ(SystemErrorText(), Strerror(EACCES));
    EXPECT_EQ(SystemErrorText(kLastError), Strerror(EACCES));
    EXPECT_EQ(SystemErrorText(99999), "unknown error");
}

TEST(ThrowHelpers, ResourceAndSystemErrors)
{
    EXPECT_EQ(MessageOf<std::runtime_error>([] { ThrowResourceError(134); }), "Latex batchfile doesn't exist");
    EXPECT_EQ(MessageOf<std::runtime_error>([] { ThrowSystemError(2, ENOENT); }),
              "Cannot execute program:\n" + Strerror(ENOENT));
    errno = EACCES;
    EXPECT_EQ(MessageOf<std::runtime_error>([] { ThrowSystemError("failed to run viewer:\n{}"); }),
              "failed to run viewer:\n" + Strerror(EACCES));
    errno = ENOTDIR;
    EXPECT_EQ(MessageOf<std::runtime_error>([] { ThrowSystemError(2); }), "Cannot execute program:\n" + Strerror(ENOTDIR));
}

TEST(ThrowHelpers, PrefixMayHoldBraces)
{
    EXPECT_EQ(MessageOf<std::runtime_error>([] { ThrowSystemErrorWithPrefix("file {}.tex\n", ENOENT); }),
              "file {}.tex\n" + Strerror(ENOENT));
}

TEST_F(MessageBoxRecorder, ReportExceptionShowsTemplateWithMessage)
{
    const std::runtime_error error("failed to open paper.tex");
    EXPECT_EQ(ReportException(5, error), AnswerCancel);
    EXPECT_EQ(ReportException("Failed to load page:\n{}", error), AnswerCancel);
    EXPECT_EQ(ReportException(5, tvl_utils::socket_error(LoadResourceString(20000), 10004)), AnswerCancel);
    EXPECT_THAT(texts, ::testing::ElementsAre("Documentation system error:\nfailed to open paper.tex",
                                              "Failed to load page:\nfailed to open paper.tex",
                                              "Documentation system error:\n"));
    EXPECT_THAT(styles, ::testing::Each(static_cast<unsigned int>(MessageBoxOk)));
}

TEST_F(MessageBoxRecorder, ReportSystemErrorUsesCurrentErrno)
{
    errno = ENOENT;
    ReportSystemError("failed to run viewer:\n{}");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "failed to run viewer:\n" + Strerror(ENOENT));
}

TEST_F(MessageBoxRecorder, ShowMessageWrapsOnRequest)
{
    const std::string longText = "This message is long enough to need more than one line in a message box.";
    ShowMessage(longText, MessageBoxYesNo | MessageBoxIconQuestion, 0);
    ShowMessage(longText, MessageBoxOk, 1);
    ShowMessage(longText, MessageBoxOk, 30);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], longText);
    EXPECT_EQ(styles[0], MessageBoxYesNo | MessageBoxIconQuestion);
    EXPECT_EQ(texts[1], Wrap(longText, 50));
    EXPECT_THAT(texts[1], HasSubstr("\r\n"));
    EXPECT_EQ(texts[2], Wrap(longText, 30));
    EXPECT_NE(texts[1], texts[2]);
}

TEST(MessageBox, WithoutHandlerTextGoesToStandardErrorAndDefaultButtonAnswers)
{
    SetMessageBoxHandler({});
    ::testing::internal::CaptureStderr();
    const int answer = ShowMessageBox("File x\n is read only, edit anyway?", MessageBoxYesNo);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "File x\n is read only, edit anyway?\n");
    EXPECT_EQ(answer, AnswerYes);
}

TEST(MessageBox, DefaultAnswerFollowsDefaultButton)
{
    EXPECT_EQ(DefaultAnswer(MessageBoxOk), AnswerOk);
    EXPECT_EQ(DefaultAnswer(MessageBoxYesNo | MessageBoxDefaultButton2), AnswerNo);
    EXPECT_EQ(DefaultAnswer(MessageBoxYesNoCancel | MessageBoxDefaultButton3), AnswerCancel);
    EXPECT_EQ(DefaultAnswer(MessageBoxOkCancel | MessageBoxDefaultButton3), AnswerOk);
    EXPECT_EQ(DefaultAnswer(MessageBoxRetryCancel | MessageBoxIconError), AnswerRetry);
    EXPECT_EQ(DefaultAnswer(0xE), AnswerOk);
}

TEST(MessageBox, HandlerServesSeveralThreadsWhileBeingReplaced)
{
    std::atomic<int> shown{0};
    const auto counting = [&shown](const std::string&, unsigned int) {
        ++shown;
        return AnswerOk;
    };
    SetMessageBoxHandler(counting);
    std::vector<std::thread> workers;
    for (int worker = 0; worker < 4; ++worker) {
        workers.emplace_back([] {
            for (int message = 0; message < 500; ++message)
                EXPECT_EQ(ShowMessageBox("job error", MessageBoxOk), AnswerOk);
        });
    }
    for (int replacement = 0; replacement < 500; ++replacement)
        SetMessageBoxHandler(counting);
    for (std::thread& worker : workers)
        worker.join();
    SetMessageBoxHandler({});
    EXPECT_EQ(shown.load(), 2000);
}

}  // namespace
}  // namespace utils
