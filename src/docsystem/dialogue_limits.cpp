#include "docsystem/dialogue_limits.h"

#include <charconv>
#include <stdexcept>

namespace {

constexpr std::uint64_t kBytesPerExtraSecond = 64 * 1024;

std::uint64_t PositiveNumber(const std::string& text, const char* settingName, const char* unit)
{
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [position, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || position != end || value == 0)
        throw std::runtime_error("The setting \"" + std::string(settingName) + "\" must be a positive number of " + unit
                                 + ", not \"" + text + "\".");
    return value;
}

}  // namespace

DialogueLimits DialogueLimits::Of(DocumentationCallback& callback)
{
    DialogueLimits limits;
    const std::string phaseTime = callback.GetParameter(JobParameter::PhaseTimeLimit);
    if (!phaseTime.empty())
        limits.phaseTimeLimit = std::chrono::seconds(PositiveNumber(phaseTime, "phasetimelimit", "seconds"));
    const std::string resultSize = callback.GetParameter(JobParameter::ResultSizeLimit);
    if (!resultSize.empty())
        limits.largestResults = PositiveNumber(resultSize, "maxresultsize", "bytes");
    return limits;
}

std::chrono::seconds DialogueLimits::DownloadTimeLimit(std::uint64_t announcedBytes) const
{
    return phaseTimeLimit + std::chrono::seconds(announcedBytes / kBytesPerExtraSecond);
}

void DialogueLimits::CheckAnnouncedResult(const std::string& fileName, std::uint64_t fileSize,
                                          std::uint64_t earlierBytes) const
{
    if (fileSize <= largestResults && earlierBytes <= largestResults - fileSize)
        return;
    throw std::runtime_error("The server announced the result file \"" + fileName + "\" of " + std::to_string(fileSize)
                             + " bytes, which brings the results past the " + std::to_string(largestResults)
                             + " bytes allowed; nothing was received.\n"
                               "Raise the setting \"maxresultsize\" to accept larger results.");
}
