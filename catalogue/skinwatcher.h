#pragma once

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace quillet::catalogue {

// Watches the skin in use (its file and its picture folder) and the skins folder, so a
// designer sees an edit without choosing the skin again. Editors save by writing a new
// file and renaming it over the old one, which ends a watch: every path is watched anew
// after each change. Changes are told once they have settled.
class SkinWatcher : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSettleMs = 150;

    explicit SkinWatcher(QObject *parent = nullptr);

    // skinFile may be empty (no skin in use); both are watched from now on.
    void watch(const QString &skinsFolder, const QString &skinFile);

Q_SIGNALS:
    // The skin file or a picture of it changed on disk.
    void skinChanged();
    // The skins folder gained or lost a *.an file.
    void skinListChanged();

private:
    void settle();
    void rewatch();
    QStringList skinNames() const;
    QByteArray fingerprint() const;

    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_folder;
    QString m_file;
    QStringList m_names;
    QByteArray m_fingerprint;
};

} // namespace quillet::catalogue
