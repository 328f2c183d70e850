#include "job_log.h"

#include <cstdio>
#include <mutex>

namespace torvel {
namespace {

std::string Seconds(std::chrono::steady_clock::duration duration)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", std::chrono::duration<double>(duration).count());
    return text;
}

}  // namespace

std::string JobLogEntry::Format() const
{
    return "job client=" + client + (proxy.empty() ? std::string() : " proxy=" + proxy) +
           " service=" + (service.empty() ? std::string("-") : service) + " files=" + std::to_string(files) +
           " bytes=" + std::to_string(bytes) + " seconds=" + Seconds(std::chrono::steady_clock::now() - started) +
           " waited=" + Seconds(waited) + " result=" + result;
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
