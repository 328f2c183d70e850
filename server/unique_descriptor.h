#pragma once

#include <utility>

namespace torvel {

// Owns one POSIX file descriptor and closes it once.
class UniqueDescriptor {
public:
    UniqueDescriptor() = default;
    explicit UniqueDescriptor(int descriptor) : m_descriptor(descriptor) {}
    UniqueDescriptor(UniqueDescriptor&& other) noexcept : m_descriptor(std::exchange(other.m_descriptor, -1)) {}
    UniqueDescriptor& operator=(UniqueDescriptor&& other) noexcept;
    UniqueDescriptor(const UniqueDescriptor&) = delete;
    UniqueDescriptor& operator=(const UniqueDescriptor&) = delete;
    ~UniqueDescriptor();

    int Get() const { return m_descriptor; }
    bool IsOpen() const { return m_descriptor >= 0; }
    void Reset();

private:
    int m_descriptor = -1;
};

}  // namespace torvel
