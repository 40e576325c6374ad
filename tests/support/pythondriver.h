#pragma once

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

// The Python drivers of tests/support, run by Debian's interpreter, where python3-websocket
// and python3-tinycss2 are installed, before any other on the path.
inline bool pythonHas(const QString &module)
{
    QProcess python;
    python.start(
        QStringLiteral("/usr/bin/python3"), { QStringLiteral("-c"), QStringLiteral("import ") + module });
    return python.waitForFinished(30000) && python.exitStatus() == QProcess::NormalExit
        && python.exitCode() == 0;
}

inline bool browserReady()
{
    return !QStandardPaths::findExecutable(QStringLiteral("chromium")).isEmpty()
        && pythonHas(QStringLiteral("websocket"));
}

// What tests/support/{script} prints, read as JSON; null, with its stderr in `error`, when it fails.
inline QJsonDocument runDriver(const char *script, const QStringList &arguments, QString *error)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
        QStringList { QStringLiteral(QUILLET_SOURCE_DIR "/tests/support/") + QLatin1String(script) }
            + arguments);
    if (python.waitForFinished(1200000) && python.exitStatus() == QProcess::NormalExit
        && python.exitCode() == 0)
        return QJsonDocument::fromJson(python.readAllStandardOutput());
    *error = QStringLiteral("%1 exit %2: ").arg(QLatin1String(script)).arg(python.exitCode())
        + QString::fromUtf8(python.readAllStandardError());
    return {};
}

// A driver's screenshot: a PNG in base64.
inline QImage shotImage(const QJsonObject &shots, const QString &key)
{
    return QImage::fromData(QByteArray::fromBase64(shots.value(key).toString().toLatin1()), "PNG");
}
