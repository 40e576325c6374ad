#pragma once

#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// A throw-away program folder (skins/, sys/ with the local page) and desktop folder.
class ProgramFolder
{
public:
    explicit ProgramFolder(const QStringList &shippedSkins = {}, bool withSys = true)
    {
        // A program folder without a writable sys/ keeps its settings in the user's folder:
        // never the real one from a test.
        QStandardPaths::setTestModeEnabled(true);
        QDir root(m_dir.path());
        root.mkpath(QStringLiteral("program/skins"));
        root.mkpath(QStringLiteral("desktop"));
        if (withSys) {
            root.mkpath(QStringLiteral("program/sys"));
            QFile::copy(QStringLiteral(QUILLET_SOURCE_DIR "/sys/Untitled.htm"), path() + QStringLiteral("/sys/Untitled.htm"));
            QFile::copy(QStringLiteral(QUILLET_SOURCE_DIR "/sys/Untitled.en.htm"),
                path() + QStringLiteral("/sys/Untitled.en.htm"));
        }
        for (const QString &skin : shippedSkins)
            addShippedSkin(skin);
    }

    QString path() const { return m_dir.path() + QStringLiteral("/program"); }
    QString desktop() const { return m_dir.path() + QStringLiteral("/desktop"); }
    QString skins() const { return path() + QStringLiteral("/skins"); }
    QString settings() const { return path() + QStringLiteral("/sys/setup.dat"); }

    void addShippedSkin(const QString &fileName, const QString &asName = QString())
    {
        const QString source = QStringLiteral(QUILLET_SOURCE_DIR "/skins/") + fileName;
        const QString target = skins() + u'/' + (asName.isEmpty() ? fileName : asName);
        QVERIFY2(QFile::copy(source, target), qPrintable(source));
        const QString assets = QFileInfo(source).path() + u'/' + QFileInfo(source).completeBaseName();
        if (QFileInfo(assets).isDir())
            copyFolder(assets, QFileInfo(target).path() + u'/' + QFileInfo(target).completeBaseName());
    }

    void writeSkin(const QString &fileName, const QByteArray &text)
    {
        QFile file(skins() + u'/' + fileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    static QStringList shippedSkinNames()
    {
        QDir dir(QStringLiteral(QUILLET_SOURCE_DIR "/skins"));
        return dir.entryList({QStringLiteral("*.an")}, QDir::Files, QDir::Name);
    }

private:
    QTemporaryDir m_dir;
};
