#pragma once

namespace quillet::file {

// Owns one open file descriptor; closes it on every way out of a function.
class Descriptor
{
public:
    Descriptor() = default;
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    ~Descriptor();
    Descriptor(Descriptor &&other) noexcept;
    Descriptor &operator=(Descriptor &&other) noexcept;
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    // 0, or the error close reports: some file systems report a failed write only here.
    int close();

private:
    int m_fd = -1;
};

} // namespace quillet::file
