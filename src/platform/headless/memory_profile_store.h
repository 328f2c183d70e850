#pragma once

#include "platform/profile_store.h"

#include <map>
#include <memory>
#include <utility>

namespace platform::headless {

// Settings held in memory. Stores opened for the same key and application share their values, so
// a test can inspect what the program wrote and start it again on the same settings.
class MemoryProfileStore : public ProfileStore {
public:
    using Values = std::map<std::pair<std::string, std::string>, std::string>;

    explicit MemoryProfileStore(std::shared_ptr<Values> values) : m_values(std::move(values)) {}
    std::optional<std::string> ReadString(const std::string& section, const std::string& key) override;
    std::optional<int> ReadInteger(const std::string& section, const std::string& key) override;
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    bool WriteInteger(const std::string& section, const std::string& key, int value) override;

private:
    std::shared_ptr<Values> m_values;
};

}  // namespace platform::headless
