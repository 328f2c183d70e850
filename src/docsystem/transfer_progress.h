#pragma once

#include "docsystem/documentation_callback.h"

#include <cstdint>
#include <string>

// The progress of one data phase, shown as "caption: D of TkB" after every chunk.
struct TransferProgress {
    DocumentationCallback* callback = nullptr;
    std::string caption;
    std::uint64_t total = 0;      // bytes of the whole phase
    std::uint64_t completed = 0;  // bytes of the files already done in this phase

    void Start(const std::string& newCaption);
};

// The text for done of total bytes, in kilobytes rounded to the nearest whole number.
std::string TransferProgressText(const std::string& caption, std::uint64_t done, std::uint64_t total);

// A ProgressFn whose context is a TransferProgress.
void ShowTransferProgress(std::uint64_t transferred, void* context);
