#pragma once

#include "docsystem/documentation_callback.h"

#include <chrono>
#include <cstdint>
#include <string>

// What a server may make a job wait for and store, so that a broken or hostile server can neither
// hold a job forever nor fill the disk.
struct DialogueLimits {
    // Each phase of the dialogue (greeting, each reply phase, upload, download) in all.
    std::chrono::seconds phaseTimeLimit{30 * 60};
    // The announced result files together.
    std::uint64_t largestResults = std::uint64_t{2} << 30;

    // The limits the callback gives (parameters PhaseTimeLimit and ResultSizeLimit), these defaults
    // where it gives none. Throws std::runtime_error for a value that is not a positive number.
    static DialogueLimits Of(DocumentationCallback& callback);

    // The download may take the phase time and one more second for every 64 KiB announced, so that a
    // slow line still brings a large result.
    std::chrono::seconds DownloadTimeLimit(std::uint64_t announcedBytes) const;

    // Throws std::runtime_error when a result file of fileSize bytes, announced after results of
    // earlierBytes, would bring them past the limit.
    void CheckAnnouncedResult(const std::string& fileName, std::uint64_t fileSize, std::uint64_t earlierBytes) const;
};
