#include "docsystem/server_greeting.h"

#include "utils/error_reporting.h"
#include "utils/message_format.h"
#include "utils/string_table.h"
#include "utils/string_utils.h"

#include <stdexcept>

namespace {

constexpr unsigned int kConnectionAborted = 6;
constexpr unsigned int kWrongServer = 133;

const std::string greetingPrefix = "TORVEL server";

}  // namespace

void ExpectServerGreeting(utils::ServerConnection& connection)
{
    const std::string line = connection.ReadLine();
    if (utils::StartsWith(line, greetingPrefix))
        return;
    if (const utils::ServerReply reply = utils::SplitReply(line); reply.word == "abort")
        ThrowConnectionAborted(reply.rest);
    utils::ThrowResourceError(kWrongServer);
}

void ThrowConnectionAborted(const std::string& reason)
{
    throw std::runtime_error(utils::MessageFormat(utils::LoadResourceString(kConnectionAborted)) % reason);
}
