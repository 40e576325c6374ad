#include "catalogue/skinwatcher.h"

#include "platform/system/inputfile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quillet::catalogue {

namespace {

constexpr qint64 kMaxSkinBytes = 1024 * 1024;

QString pictureFolderOf(const QString &skinFile)
{
    const QFileInfo info(skinFile);
    return info.dir().filePath(info.completeBaseName());
}

} // namespace

SkinWatcher::SkinWatcher(QObject *parent)
    : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &SkinWatcher::settle);
    const auto restart = [this] { m_settle.start(); };
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, restart);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, restart);
}

void SkinWatcher::watch(const QString &skinsFolder, const QString &skinFile)
{
    m_folder = skinsFolder;
    m_file = skinFile;
    m_names = skinNames();
    m_fingerprint = fingerprint();
    rewatch();
}

void SkinWatcher::rewatch()
{
    if (const QStringList old = m_watcher.files() + m_watcher.directories(); !old.isEmpty())
        m_watcher.removePaths(old);
    QStringList paths;
    if (QFileInfo(m_folder).isDir())
        paths << m_folder;
    if (!m_file.isEmpty()) {
        if (QFileInfo(m_file).isFile())
            paths << m_file;
        const QDir pictures(pictureFolderOf(m_file));
        if (pictures.exists()) {
            paths << pictures.path();
            for (const QString &name : pictures.entryList(QDir::Files))
                paths << pictures.filePath(name);
        }
    }
    if (!paths.isEmpty())
        m_watcher.addPaths(paths);
}

QStringList SkinWatcher::skinNames() const
{
    QStringList names;
    for (const QString &name : QDir(m_folder).entryList(QDir::Files | QDir::Hidden)) {
        if (name.endsWith(QLatin1String(".an"), Qt::CaseInsensitive))
            names << name;
    }
    return names;
}

// The skin file's bytes and each picture's size and time: what a look is made of.
QByteArray SkinWatcher::fingerprint() const
{
    if (m_file.isEmpty())
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha1);
    // A pipe swapped in for the skin must not hold the window.
    if (const std::optional<QByteArray> bytes = system::readInputHead(m_file, kMaxSkinBytes, nullptr))
        hash.addData(*bytes);
    const QDir pictures(pictureFolderOf(m_file));
    for (const QFileInfo &info : pictures.entryInfoList(QDir::Files, QDir::Name)) {
        hash.addData(info.fileName().toUtf8());
        hash.addData(QByteArray::number(info.size()));
        hash.addData(QByteArray::number(info.lastModified().toMSecsSinceEpoch()));
    }
    return hash.result();
}

void SkinWatcher::settle()
{
    rewatch();
    if (const QStringList names = skinNames(); names != m_names) {
        m_names = names;
        Q_EMIT skinListChanged();
    }
    if (const QByteArray print = fingerprint(); print != m_fingerprint) {
        m_fingerprint = print;
        Q_EMIT skinChanged();
    }
}

} // namespace quillet::catalogue
