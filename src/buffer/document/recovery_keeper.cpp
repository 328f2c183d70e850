#include "buffer/document/recovery_keeper.h"

#include "buffer/document/recovery_store.h"

namespace {

std::int64_t SecondsSinceEpoch()
{
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

std::unique_ptr<LineTable> SnapshotOf(const CQuillTextBuffer& buffer)
{
    auto snapshot = NewRecoverySnapshot();
    for (std::int32_t line = 0; line < buffer.LineCount(); ++line)
        snapshot->AppendLine(std::string_view(buffer.LineChars(line), static_cast<std::size_t>(buffer.LineLength(line))));
    return snapshot;
}

}  // namespace

RecoveryKeeper::~RecoveryKeeper()
{
    Discard();
}

void RecoveryKeeper::Tick(const CQuillTextBuffer& buffer, const std::string& documentPath, Clock::time_point now)
{
    RecoveryStore* store = RecoveryStore::Active();
    if (store == nullptr || !changed_ || !buffer.IsInitialised() || (copied_ && now - lastCopy_ < kInterval))
        return;
    if (copyPath_.empty())
        copyPath_ = store->NewCopyPath();
    const RecoveryCopyHeader header{documentPath, buffer.GetLineEndingStyle(), buffer.Encoding(), SecondsSinceEpoch()};
    store->Write(copyPath_, header, SnapshotOf(buffer));
    changed_ = false;
    copied_ = true;
    lastCopy_ = now;
}

void RecoveryKeeper::Discard()
{
    changed_ = false;
    copied_ = false;
    RecoveryStore* store = RecoveryStore::Active();
    if (copyPath_.empty() || store == nullptr)
        return;
    store->Remove(copyPath_);
    copyPath_.clear();
}
