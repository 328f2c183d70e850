#include "buffer/document/recovery_store.h"

#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <system_error>

namespace {

std::atomic<RecoveryStore*> activeStore{nullptr};

constexpr std::string_view kCopySuffix = ".recovery";

std::string LockPathOf(const std::string& directory, const std::string& owner)
{
    return directory + "/" + owner + ".lock";
}

// The owner of "<owner>-<n>.recovery"; empty for any other name.
std::string OwnerOf(const std::string& fileName)
{
    const std::size_t dash = fileName.find('-');
    if (dash == std::string::npos || dash == 0 || !fileName.ends_with(kCopySuffix))
        return {};
    const std::string owner = fileName.substr(0, dash);
    const auto ownerCharacter = [](char c) { return (c >= '0' && c <= '9') || c == '.'; };
    return std::all_of(owner.begin(), owner.end(), ownerCharacter) ? owner : std::string();
}

// Whether an editor holds the owner's lock now. Locks belong to open files, so this process's own
// lock shows as held as well.
bool OwnerRuns(const std::string& directory, const std::string& owner)
{
    const int descriptor = ::open(LockPathOf(directory, owner).c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool held = ::flock(descriptor, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(descriptor);
    return held;
}

[[noreturn]] void ThrowSystemError(const std::string& what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

// "<pid>.<nanoseconds>": a later process with the same number never takes over an earlier one's
// copies or lock.
std::string NewOwner()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::to_string(::getpid()) + "." + std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

}  // namespace

RecoveryStore::RecoveryStore(std::string directory) : directory_(std::move(directory)), owner_(NewOwner())
{
    std::error_code error;
    std::filesystem::create_directories(directory_, error);
    if (error)
        throw std::system_error(error, "cannot make the recovery directory " + directory_);
    std::filesystem::permissions(directory_, std::filesystem::perms::owner_all, error);
    const std::string lockPath = LockPathOf(directory_, owner_);
    lockDescriptor_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockDescriptor_ < 0)
        ThrowSystemError("cannot make the lock file " + lockPath);
    if (::flock(lockDescriptor_, LOCK_EX | LOCK_NB) != 0) {
        const int reason = errno;
        ::close(lockDescriptor_);
        errno = reason;
        ThrowSystemError("cannot lock " + lockPath);
    }
    thread_ = std::thread(&RecoveryStore::Run, this);
}

RecoveryStore::~RecoveryStore()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
    ::unlink(LockPathOf(directory_, owner_).c_str());
    ::close(lockDescriptor_);
    RecoveryStore* self = this;
    activeStore.compare_exchange_strong(self, nullptr);
}

std::string RecoveryStore::DefaultDirectory()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    std::string base;
    if (state != nullptr && *state != '\0') {
        base = state;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home != nullptr ? home : "") + "/.local/state";
    }
    return base + "/quillwright/recovery";
}

RecoveryStore* RecoveryStore::Active()
{
    return activeStore.load();
}

void RecoveryStore::SetActive(RecoveryStore* store)
{
    activeStore.store(store);
}

std::string RecoveryStore::NewCopyPath()
{
    const std::lock_guard lock(mutex_);
    return directory_ + "/" + owner_ + "-" + std::to_string(++nextCopy_) + std::string(kCopySuffix);
}

std::vector<std::string> RecoveryStore::OrphanedCopies() const
{
    std::vector<std::string> copies;
    std::error_code error;
    for (auto entry = std::filesystem::directory_iterator(directory_, error);
         !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        const std::string owner = OwnerOf(entry->path().filename().string());
        if (!owner.empty() && entry->is_regular_file() && !OwnerRuns(directory_, owner))
            copies.push_back(entry->path().string());
    }
    std::sort(copies.begin(), copies.end());
    return copies;
}

std::string RecoveryStore::SetAside(const std::string& copyPath)
{
    const std::filesystem::path damaged = std::filesystem::path(directory_) / "damaged";
    std::error_code error;
    std::filesystem::create_directories(damaged, error);
    const std::string target = (damaged / std::filesystem::path(copyPath).filename()).string();
    if (!error)
        std::filesystem::rename(copyPath, target, error);
    if (error)
        throw std::system_error(error, "cannot move the damaged recovery copy " + copyPath);
    return target;
}

void RecoveryStore::Write(const std::string& copyPath, const RecoveryCopyHeader& header, std::unique_ptr<LineTable> snapshot)
{
    Queue({copyPath, header, std::move(snapshot)});
}

void RecoveryStore::Remove(const std::string& copyPath)
{
    Queue({copyPath, {}, nullptr});
}

void RecoveryStore::WaitUntilIdle()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return tasks_.empty() && !busy_; });
}

void RecoveryStore::SetFailureReport(std::function<void(const std::string&)> report)
{
    const std::lock_guard lock(mutex_);
    report_ = std::move(report);
}

void RecoveryStore::Queue(Task task)
{
    {
        const std::lock_guard lock(mutex_);
        // A newer text of the same copy makes a waiting older one pointless.
        if (task.snapshot != nullptr) {
            std::erase_if(tasks_, [&task](const Task& waiting) {
                return waiting.snapshot != nullptr && waiting.copyPath == task.copyPath;
            });
        }
        tasks_.push_back(std::move(task));
    }
    changed_.notify_all();
}

void RecoveryStore::Run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
        if (tasks_.empty())
            return;
        Task task = std::move(tasks_.front());
        tasks_.pop_front();
        busy_ = true;
        lock.unlock();
        Execute(task);
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

void RecoveryStore::Execute(Task& task)
{
    if (task.snapshot == nullptr) {
        if (::unlink(task.copyPath.c_str()) != 0 && errno != ENOENT)
            Report("cannot remove the recovery copy " + task.copyPath + ": " + std::strerror(errno));
        return;
    }
    if (!WriteRecoveryCopy(task.copyPath, task.header, *task.snapshot))
        Report("cannot write the recovery copy " + task.copyPath + ": " + std::strerror(errno));
}

void RecoveryStore::Report(const std::string& failure)
{
    std::function<void(const std::string&)> report;
    {
        const std::lock_guard lock(mutex_);
        report = report_;
    }
    if (report)
        report(failure);
    else
        std::fprintf(stderr, "quillwright: %s\n", failure.c_str());
}
