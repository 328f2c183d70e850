#include "job_log.h"

#include <cstdio>
#include <mutex>

namespace torvel {

std::string JobLogEntry::Format() const
{
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    char duration[32];
    std::snprintf(duration, sizeof duration, "%.2f", seconds);
    return "job client=" + client + " service=" + (service.empty() ? std::string("-") : service) +
           " files=" + std::to_string(files) + " bytes=" + std::to_string(bytes) + " seconds=" + duration +
           " result=" + result;
}

void WriteLogLine(const std::string& line)
{
    static std::mutex mutex;
    const std::string text = "torvel-server: " + line + "\n";
    const std::lock_guard lock(mutex);
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

}  // namespace torvel
