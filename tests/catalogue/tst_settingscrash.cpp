#include "platform/file/temporaryname.h"
#include "support/testfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

// GBK bytes of 皮肤 (section) and 当前皮肤 (key).
#define SEC "\xC6\xA4\xB7\xF4"
#define KEY "\xB5\xB1\xC7\xB0\xC6\xA4\xB7\xF4"

namespace {

// Each kill starts a process that loads Qt; the sanitizer build starts them slower still.
// Either number lands kills in every phase of a rewrite many times over.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kKills = 120;
#else
constexpr int kKills = 300;
#endif
constexpr int kReadyTimeoutMs = 10000;
constexpr int kExitTimeoutMs = 10000;
// A rewrite of the test file takes well under this, so kills land in every phase of it.
constexpr quint32 kMaxKillDelayUs = 4000;
constexpr int kFillerKeys = 600;

const QString kWriterPath = QStringLiteral(QUILLET_BINARY_DIR "/bin/settings_writer");

// Values of different lengths: a file mixed from both would not match either.
const QByteArray kFirstValue = "3";
const QByteArray kSecondValue = "1024";

QByteArray settingsWith(const QByteArray &index)
{
    QByteArray bytes = "; written by hand\r\n[window]\r\nleft=10\r\ntop=20\r\n\r\n[" SEC "]\r\n" KEY "=";
    bytes += index;
    bytes += "\r\nfolder=skins\r\n\r\n[recent]\r\n";
    // Bulk after the value, so a rewrite moves many bytes and takes measurable time.
    for (int i = 0; i < kFillerKeys; ++i)
        bytes += "entry" + QByteArray::number(i) + "=/home/user/buttons/" + QByteArray::number(i * 7919)
            + "\r\n";
    return bytes;
}

QString describeMismatch(const QByteArray &found, const QByteArray &first, const QByteArray &second)
{
    qsizetype same = 0;
    while (same < found.size() && same < first.size() && found.at(same) == first.at(same))
        ++same;
    return QStringLiteral("%1 bytes, expected %2 or %3; equal to the first file for %4 bytes")
        .arg(found.size())
        .arg(first.size())
        .arg(second.size())
        .arg(same);
}

} // namespace

class TestSettingsCrash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedWriterLeavesOldOrNewFile();
};

void TestSettingsCrash::killedWriterLeavesOldOrNewFile()
{
    QVERIFY2(QFileInfo(kWriterPath).isExecutable(), qPrintable(kWriterPath));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("sys")));
    const QString sys = dir.filePath(QStringLiteral("sys"));
    const QString settings = sys + QStringLiteral("/setup.dat");
    const QByteArray first = settingsWith(kFirstValue);
    const QByteArray second = settingsWith(kSecondValue);
    {
        QFile seed(settings);
        QVERIFY(seed.open(QIODevice::WriteOnly));
        QCOMPARE(seed.write(first), first.size());
    }

    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    qInfo("kill delay seed %u", seed);
    QElapsedTimer clock;
    clock.start();
    int firstSeen = 0;
    int secondSeen = 0;
    int leftovers = 0;
    QString previousStray;
    for (int kill = 0; kill < kKills; ++kill) {
        QProcess writer;
        writer.start(
            kWriterPath, { dir.path(), QString::fromLatin1(kFirstValue), QString::fromLatin1(kSecondValue) });
        QVERIFY2(writer.waitForReadyRead(kReadyTimeoutMs), qPrintable(writer.readAllStandardError()));
        QCOMPARE(writer.readLine().trimmed(), QByteArray("ready"));
        QThread::usleep(random.bounded(kMaxKillDelayUs));
        writer.kill();
        QVERIFY(writer.waitForFinished(kExitTimeoutMs));
        // A normal exit would mean a write failed and the loop ended before the kill.
        QVERIFY2(writer.exitStatus() == QProcess::CrashExit, qPrintable(writer.readAllStandardError()));

        const QByteArray found = readAll(settings);
        if (found == first)
            ++firstSeen;
        else if (found == second)
            ++secondSeen;
        else
            QFAIL(qPrintable(QStringLiteral("kill %1: ").arg(kill) + describeMismatch(found, first, second)));

        // A kill between linking the finished temporary and renaming it leaves that
        // temporary behind; the next write removes it, so at most the latest one is there.
        QStringList strays
            = QDir(sys).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        strays.removeOne(QStringLiteral("setup.dat"));
        QVERIFY2(
            strays.size() <= 1, qPrintable(QStringLiteral("kill %1 left: ").arg(kill) + strays.join(u", ")));
        // The temporary's name is always the same: its identity tells a leftover from a new one.
        const QString identity = strays.isEmpty() ? QString() : fileIdentity(sys + u'/' + strays.first());
        QVERIFY2(strays.isEmpty()
                || strays.first() == QString::fromLatin1(quillet::file::temporaryName("setup.dat")),
            qPrintable(strays.value(0)));
        QVERIFY2(identity.isEmpty() || identity != previousStray,
            qPrintable(identity + QStringLiteral(" outlived a write")));
        previousStray = identity;
        leftovers += int(strays.size());
    }
    qInfo("%d kills in %lld ms: old file %d times, new file %d times, %d temporaries left by a kill", kKills,
        clock.elapsed(), firstSeen, secondSeen, leftovers);
    // Kills that always found the same value would mean the writer never got past one write.
    QVERIFY(firstSeen > 0);
    QVERIFY(secondSeen > 0);
}

QTEST_GUILESS_MAIN(TestSettingsCrash)
#include "tst_settingscrash.moc"
