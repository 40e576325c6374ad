#include "platform/file/descriptor.h"

#include <cerrno>
#include <unistd.h>
#include <utility>

namespace quillet::file {

Descriptor::~Descriptor()
{
    close();
}

Descriptor::Descriptor(Descriptor &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
{
}

Descriptor &Descriptor::operator=(Descriptor &&other) noexcept
{
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

int Descriptor::close()
{
    if (m_fd < 0)
        return 0;
    // Linux releases the descriptor even when close fails, EINTR included: never retry.
    const int result = ::close(std::exchange(m_fd, -1));
    return result == 0 ? 0 : errno;
}

} // namespace quillet::file
