#include "batch/messagebuffer.h"

#include <QMutex>
#include <QtGlobal>

#include <utility>

namespace quillet::batch {

namespace {

// Qt's handler is a plain function: what it collects must live outside the buffer object.
QMutex g_lock;
QString g_held;
constexpr qsizetype kMaxHeld = 64 * 1024;

void hold(QtMsgType, const QMessageLogContext &, const QString &message)
{
    const QMutexLocker lock(&g_lock);
    if (g_held.size() < kMaxHeld)
        g_held += message + u'\n';
}

} // namespace

MessageBuffer::MessageBuffer()
{
    qInstallMessageHandler(&hold);
}

MessageBuffer::~MessageBuffer()
{
    qInstallMessageHandler(nullptr);
}

QString MessageBuffer::take()
{
    const QMutexLocker lock(&g_lock);
    return std::exchange(g_held, QString());
}

} // namespace quillet::batch
