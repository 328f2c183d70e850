#pragma once

#include "docsystem/documentation_job.h"
#include "docsystem/transfer_progress.h"
#include "utils/server_connection.h"

#include <cstdint>
#include <string>
#include <vector>

enum class TransferForm {
    Text,    // announced as "dos"
    Binary,  // announced with an empty form
};

// One file of the upload phase, in the order of its "put" line.
struct PlannedUpload {
    std::string name;  // the name announced to the server
    std::uint64_t size = 0;
    TransferForm form = TransferForm::Binary;
    const std::string* text = nullptr;  // a prepared source, sent from memory
    std::string path;                   // otherwise the file whose bytes are sent
};

// The uploads of a job: its prepared sources in map order, html.sty and postprocess.txt of the
// template directory when they exist, then the extra files that exist (announced under their
// lower-cased file name, read from their own path).
std::vector<PlannedUpload> PlanUploads(const DocumentationJob& job, const std::string& templateDirectory);

// "put NAME:SIZE:FORM\n".
std::string PutLine(const PlannedUpload& upload);

// Sends the bytes of every upload in order, each right after the previous one.
void SendUploads(utils::ServerConnection& connection, const std::vector<PlannedUpload>& uploads, TransferProgress& progress);
