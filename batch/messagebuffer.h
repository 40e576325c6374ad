#pragma once

#include <QString>

namespace quillet::batch {

// Holds back what Qt and the libraries under it (libpng through Qt's reader) would print,
// while it lives: a command that succeeds says nothing of it, one that fails shows it after
// its own line. One at a time.
class MessageBuffer
{
public:
    MessageBuffer();
    ~MessageBuffer();
    MessageBuffer(const MessageBuffer &) = delete;
    MessageBuffer &operator=(const MessageBuffer &) = delete;

    // What was held back, a line each, and no more of it.
    QString take();
};

} // namespace quillet::batch
