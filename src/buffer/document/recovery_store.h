#pragma once

#include "buffer/document/recovery_copy.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The directory of recovery copies and this process's part in it. Each running editor holds a lock
// on "<owner>.lock" there for as long as it lives (the system drops it when the process dies,
// however it dies); its copies are "<owner>-<n>.recovery", the owner being its process number and
// start time. Copies whose owner holds no lock belong to no
// running editor. Copies are written and removed on a thread of the store, in the order asked.
class RecoveryStore {
public:
    // Creates the directory, private to the user, and takes this process's lock. Throws
    // std::system_error when either fails.
    explicit RecoveryStore(std::string directory);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // $XDG_STATE_HOME/quillwright/recovery, with ~/.local/state when the variable is unset or empty.
    static std::string DefaultDirectory();

    // The store the documents of this process write to; null when there is none.
    static RecoveryStore* Active();
    static void SetActive(RecoveryStore* store);

    const std::string& Directory() const { return directory_; }
    // A name for a new copy of this process.
    std::string NewCopyPath();
    // The copies of editors that no longer run, oldest name first.
    std::vector<std::string> OrphanedCopies() const;
    // Moves a damaged copy into "damaged/" beside the copies, out of the way of later starts, and
    // returns where it went. Throws std::system_error when it cannot.
    std::string SetAside(const std::string& copyPath);

    // Queues the writing of a copy; a failure is reported to the report function.
    void Write(const std::string& copyPath, const RecoveryCopyHeader& header, std::unique_ptr<LineTable> snapshot);
    // Queues the removal of a copy, after every write asked for before.
    void Remove(const std::string& copyPath);
    // Returns once everything asked for is done.
    void WaitUntilIdle();
    // Where failures of the thread go (by default to standard error).
    void SetFailureReport(std::function<void(const std::string&)> report);

private:
    struct Task {
        std::string copyPath;
        RecoveryCopyHeader header;
        std::unique_ptr<LineTable> snapshot;  // null: remove the copy
    };

    void Queue(Task task);
    void Run();
    void Execute(Task& task);
    void Report(const std::string& failure);

    std::string directory_;
    std::string owner_;
    int lockDescriptor_ = -1;
    unsigned nextCopy_ = 0;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Task> tasks_;
    bool busy_ = false;
    bool stopping_ = false;
    std::function<void(const std::string&)> report_;
    std::thread thread_;
};
