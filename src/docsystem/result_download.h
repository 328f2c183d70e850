#pragma once

#include "docsystem/documentation_job.h"
#include "docsystem/job_names.h"
#include "docsystem/transfer_progress.h"
#include "utils/server_connection.h"

#include <cstdint>
#include <string>
#include <vector>

// A result file the server announced with "file NAME:SIZE".
struct AnnouncedFile {
    std::string name;
    std::uint64_t size = 0;
};

// Reads the rest of a "file" reply. Throws std::runtime_error when it is not a name and a
// non-negative decimal size separated by one colon: the server's data could not be followed.
AnnouncedFile ParseFileAnnouncement(const std::string& rest);

// What the downloads need besides the connection.
struct DownloadTarget {
    DocumentationJob& job;
    const JobNames& names;
    std::string outputDirectory;
    std::vector<std::string>& externalImages;  // images named by the post-processed pages
};

// Receives the announced files in order. PostScript, PDF, log and ".bin" files go to the document
// directory; HTML pages (except the one named after the document) and GIF and PNG images to the
// output directory, each page post-processed when saved; anything else is read and discarded.
// Returns the announced names that were not saved because they do not name a file (their bytes are
// discarded).
std::vector<std::string> DownloadResults(utils::ServerConnection& connection, const std::vector<AnnouncedFile>& files,
                                         const DownloadTarget& target, TransferProgress& progress);

// Throws std::runtime_error naming the refused names, if there are any.
void ThrowForRefusedNames(const std::vector<std::string>& refused);
