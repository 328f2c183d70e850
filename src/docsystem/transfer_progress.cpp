#include "docsystem/transfer_progress.h"

namespace {

std::uint64_t Kilobytes(std::uint64_t bytes)
{
    return (bytes + 512) / 1024;
}

}  // namespace

void TransferProgress::Start(const std::string& newCaption)
{
    caption = newCaption;
    total = 0;
    completed = 0;
}

std::string TransferProgressText(const std::string& caption, std::uint64_t done, std::uint64_t total)
{
    return caption + ": " + std::to_string(Kilobytes(done)) + " of " + std::to_string(Kilobytes(total)) + "kB";
}

void ShowTransferProgress(std::uint64_t transferred, void* context)
{
    const auto& progress = *static_cast<TransferProgress*>(context);
    progress.callback->SetProgressText(TransferProgressText(progress.caption, progress.completed + transferred, progress.total));
}
