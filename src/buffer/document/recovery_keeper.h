#pragma once

#include "buffer/quill_text_buffer.h"

#include <chrono>
#include <string>

class RecoveryStore;

// Keeps the recovery copy of one document: after a change, a copy of the text goes to the store
// at most once per interval; Discard removes it when the text is saved or given up.
class RecoveryKeeper {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds kInterval{10};

    // The store is looked up at each use, so a document made before it exists still gets one.
    RecoveryKeeper() = default;
    ~RecoveryKeeper();
    RecoveryKeeper(const RecoveryKeeper&) = delete;
    RecoveryKeeper& operator=(const RecoveryKeeper&) = delete;

    void TextChanged() { changed_ = true; }
    // Takes a copy of the buffer for the store when the text changed since the last copy and the
    // last copy is at least kInterval old. Called on the thread that edits the buffer.
    void Tick(const CQuillTextBuffer& buffer, const std::string& documentPath, Clock::time_point now);
    // Removes the copy (after any write of it still under way) and forgets the changes.
    void Discard();

    const std::string& CopyPath() const { return copyPath_; }

private:
    bool changed_ = false;
    std::string copyPath_;
    Clock::time_point lastCopy_{};
    bool copied_ = false;
};
