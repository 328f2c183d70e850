#include "unique_descriptor.h"

#include <unistd.h>

namespace torvel {

UniqueDescriptor& UniqueDescriptor::operator=(UniqueDescriptor&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_descriptor = std::exchange(other.m_descriptor, -1);
    }
    return *this;
}

UniqueDescriptor::~UniqueDescriptor()
{
    Reset();
}

void UniqueDescriptor::Reset()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
}

}  // namespace torvel
