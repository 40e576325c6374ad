// The one writer under the failures real disks give: a full and a read-only file system,
// a file-size limit, a writer killed half way, and names it must not write through.
#include "platform/file/filewriter.h"
#include "platform/file/temporaryname.h"

#include "support/smalltmpfs.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using quillet::file::Creation;
using quillet::file::writeFile;
using quillet::file::WriteOptions;
using quillet::file::WriteResult;

Q_DECLARE_METATYPE(Creation)
Q_DECLARE_METATYPE(WriteResult::Outcome)

namespace {

constexpr qsizetype kSmallFile = 5000;
// Enough writes to fill a 64 KB file system several times over.
constexpr int kMaxFiles = 100;
constexpr qsizetype kKilledWriteBytes = 64 * 1024 * 1024;
constexpr int kKillAttempts = 5;

QByteArray pattern(qsizetype size, char seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(seed + i % 61);
    return bytes;
}

struct stat statOf(const QString &path)
{
    struct stat st
    {
    };
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

void addCreationRows(const char *name)
{
    QTest::newRow(qPrintable(QString::fromLatin1(name) + u", unnamed"_s)) << Creation::Unnamed;
    QTest::newRow(qPrintable(QString::fromLatin1(name) + u", named"_s)) << Creation::Named;
}

// Runs one write in a child process, with what the parent cannot set for itself alone;
// answers the child's outcome and reason.
WriteResult writeInChild(const QString &path, const QByteArray &bytes, Creation creation, rlim_t sizeLimit)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return { WriteResult::Outcome::Failed, u"<no pipe>"_s };
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const rlimit limit { sizeLimit, sizeLimit };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        // Without this the kernel kills the process instead of failing the write.
        ::signal(SIGXFSZ, SIG_IGN);
        const WriteResult result = writeFile(path, bytes, {}, creation);
        const QByteArray answer = QByteArray::number(int(result.outcome)) + ' ' + result.reason.toUtf8();
        [[maybe_unused]] const ssize_t n = ::write(channel[1], answer.constData(), size_t(answer.size()));
        ::_exit(0);
    }
    ::close(channel[1]);
    QByteArray answer;
    char buffer[256];
    ssize_t n = 0;
    while ((n = ::read(channel[0], buffer, sizeof buffer)) > 0)
        answer.append(buffer, n);
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    const qsizetype space = answer.indexOf(' ');
    if (space < 0)
        return { WriteResult::Outcome::Failed, u"<child gave no answer>"_s };
    return { WriteResult::Outcome(answer.left(space).toInt()), QString::fromUtf8(answer.mid(space + 1)) };
}

} // namespace

class TestFileWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesAndReplaces_data();
    void writesAndReplaces();
    void fullDisk_data();
    void fullDisk();
    void readOnlyFileSystem_data();
    void readOnlyFileSystem();
    void fileSizeLimit_data();
    void fileSizeLimit();
    void refused_data();
    void refused();
    void skipUnchanged_data();
    void skipUnchanged();
    void leftoverOfAKilledWriteRemoved_data();
    void leftoverOfAKilledWriteRemoved();
    void killedWriteThenWrittenAgain();
    void syncFileSystem();
};

void TestFileWriter::writesAndReplaces_data()
{
    QTest::addColumn<Creation>("creation");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("oldMode"); // -1: no file there before
    QTest::addColumn<int>("askedMode");
    QTest::addColumn<bool>("syncNow");
    QTest::addColumn<int>("expectedMode"); // -1: 0666 minus the umask
    const QString longest = QString(251, u'n') + u".png"_s;
    for (const Creation creation : { Creation::Unnamed, Creation::Named }) {
        const char *how = creation == Creation::Unnamed ? "unnamed" : "named";
        QTest::addRow("new, %s", how) << creation << u"new.png"_s << -1 << -1 << true << -1;
        QTest::addRow("new, later sync, %s", how) << creation << u"new.png"_s << -1 << -1 << false << -1;
        QTest::addRow("replaced keeps 0600, %s", how)
            << creation << u"old.png"_s << 0600 << -1 << true << 0600;
        QTest::addRow("asked 0755 over 0600, %s", how)
            << creation << u"l.desktop"_s << 0600 << 0755 << true << 0755;
        QTest::addRow("new, asked 0755, %s", how) << creation << u"l.desktop"_s << -1 << 0755 << true << 0755;
        QTest::addRow("longest name, replaced, %s", how) << creation << longest << 0644 << -1 << true << 0644;
        QTest::addRow("chinese name, %s", how) << creation << u"确定_按下.bmp"_s << -1 << -1 << true << -1;
    }
}

void TestFileWriter::writesAndReplaces()
{
    QFETCH(Creation, creation);
    QFETCH(QString, name);
    QFETCH(int, oldMode);
    QFETCH(int, askedMode);
    QFETCH(bool, syncNow);
    QFETCH(int, expectedMode);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (oldMode >= 0) {
        QVERIFY(writeAll(path, pattern(kSmallFile * 3, 'a')));
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(oldMode)) == 0);
    }
    const QByteArray bytes = pattern(kSmallFile, 'b');
    WriteOptions options;
    options.syncNow = syncNow;
    options.mode = askedMode;
    const WriteResult result = writeFile(path, bytes, options, creation);
    QVERIFY2(result.outcome == WriteResult::Outcome::Written, qPrintable(result.reason));
    QCOMPARE(readAll(path), bytes);
    const int mode = int(statOf(path).st_mode & 07777);
    QCOMPARE(mode, expectedMode >= 0 ? expectedMode : int(0666 & ~currentUmask()));
    QCOMPARE(tree(dir.path()), QStringList { name });
}

void TestFileWriter::fullDisk_data()
{
    QTest::addColumn<Creation>("creation");
    addCreationRows("full");
}

// Fills a 64 KB file system with writes until they fail: every file that was reported
// written is whole, nothing else is there, and a file the failing write was to replace
// keeps its old bytes.
void TestFileWriter::fullDisk()
{
    QFETCH(Creation, creation);
    SmallTmpfs disk;
    if (!disk.mounted)
        QSKIP(qPrintable(disk.error));
    const QByteArray kept = pattern(3000, 'k');
    QVERIFY(writeFile(disk.filePath(u"kept.dat"_s), kept, {}, creation).ok());

    QStringList expected { u"kept.dat"_s };
    QHash<QString, QByteArray> written;
    WriteResult failure;
    for (int i = 0; i < kMaxFiles; ++i) {
        const QString name = u"f%1.png"_s.arg(i, 3, 10, QLatin1Char('0'));
        const QByteArray bytes = pattern(kSmallFile, char('A' + i % 26));
        const WriteResult result = writeFile(disk.filePath(name), bytes, {}, creation);
        if (!result.ok()) {
            failure = result;
            break;
        }
        written.insert(name, bytes);
        expected.append(name);
    }
    QVERIFY2(failure.outcome == WriteResult::Outcome::Failed, "a 64 KB disk took every write");
    QVERIFY(!written.isEmpty());
    for (auto it = written.cbegin(); it != written.cend(); ++it) {
        const QByteArray found = readAll(disk.filePath(it.key()));
        QVERIFY2(found == it.value(),
            qPrintable(u"%1 reported written, holds %2 of %3 bytes"_s.arg(it.key())
                           .arg(found.size())
                           .arg(kSmallFile)));
    }
    expected.sort();
    QCOMPARE(tree(disk.path()), expected);
    QVERIFY2(failure.reason.contains(u"No space left"_s), qPrintable(failure.reason));

    // A bigger replacement than the room left: the old file stays.
    const WriteResult replace
        = writeFile(disk.filePath(u"kept.dat"_s), pattern(64 * 1024, 'r'), {}, creation);
    QCOMPARE(replace.outcome, WriteResult::Outcome::Failed);
    QVERIFY2(replace.reason.contains(u"No space left"_s), qPrintable(replace.reason));
    QCOMPARE(readAll(disk.filePath(u"kept.dat"_s)), kept);
    QCOMPARE(tree(disk.path()), expected);
}

void TestFileWriter::readOnlyFileSystem_data()
{
    QTest::addColumn<Creation>("creation");
    QTest::addColumn<bool>("replace");
    for (const Creation creation : { Creation::Unnamed, Creation::Named }) {
        const char *how = creation == Creation::Unnamed ? "unnamed" : "named";
        QTest::addRow("new file, %s", how) << creation << false;
        QTest::addRow("replaced file, %s", how) << creation << true;
    }
}

void TestFileWriter::readOnlyFileSystem()
{
    QFETCH(Creation, creation);
    QFETCH(bool, replace);
    SmallTmpfs disk;
    if (!disk.mounted)
        QSKIP(qPrintable(disk.error));
    const QByteArray old = pattern(100, 'o');
    QVERIFY(writeAll(disk.filePath(u"old.png"_s), old));
    if (!disk.remount(true))
        QSKIP("cannot remount the tmpfs read-only");
    const QString target = disk.filePath(replace ? u"old.png"_s : u"new.png"_s);
    const WriteResult result = writeFile(target, pattern(200, 'n'), {}, creation);
    QCOMPARE(result.outcome, WriteResult::Outcome::Failed);
    QVERIFY2(result.reason.contains(u"Read-only file system"_s), qPrintable(result.reason));
    QCOMPARE(tree(disk.path()), QStringList { u"old.png"_s });
    QCOMPARE(readAll(disk.filePath(u"old.png"_s)), old);
}

void TestFileWriter::fileSizeLimit_data()
{
    QTest::addColumn<Creation>("creation");
    QTest::addColumn<bool>("replace");
    for (const Creation creation : { Creation::Unnamed, Creation::Named }) {
        const char *how = creation == Creation::Unnamed ? "unnamed" : "named";
        QTest::addRow("new file, %s", how) << creation << false;
        QTest::addRow("replaced file, %s", how) << creation << true;
    }
}

// A process limited to 4 KB files gets EFBIG past the limit, as a quota-like limit would.
void TestFileWriter::fileSizeLimit()
{
    QFETCH(Creation, creation);
    QFETCH(bool, replace);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"big.png"_s);
    const QByteArray old = pattern(100, 'o');
    if (replace)
        QVERIFY(writeAll(path, old));
    const WriteResult result = writeInChild(path, pattern(64 * 1024, 'b'), creation, 4096);
    QCOMPARE(result.outcome, WriteResult::Outcome::Failed);
    QCOMPARE(tree(dir.path()), replace ? QStringList { u"big.png"_s } : QStringList {});
    if (replace)
        QCOMPARE(readAll(path), old);
    QVERIFY2(result.reason.contains(u"File too large"_s), qPrintable(result.reason));
}

void TestFileWriter::refused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("link to a file") << u"link to file"_s << u"symbolic link"_s;
    QTest::newRow("dangling link") << u"dangling link"_s << u"symbolic link"_s;
    QTest::newRow("link to a folder") << u"link to folder"_s << u"symbolic link"_s;
    QTest::newRow("a folder") << u"folder"_s << u"Is a directory"_s;
    QTest::newRow("missing folder") << u"missing folder"_s << u"No such file or directory"_s;
    QTest::newRow("folder is a file") << u"file as folder"_s << u"Not a directory"_s;
    QTest::newRow("empty path") << u"empty"_s << u"No such file"_s;
}

// Nothing is written through a link, into a folder's place, or into a missing folder; the
// link's target and everything around stay as they were.
void TestFileWriter::refused()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    const QString victim = elsewhere.filePath(u"victim.txt"_s);
    QVERIFY(writeAll(victim, "keep"));
    QString path = dir.filePath(u"out.png"_s);
    if (kind == u"link to file"_s)
        QVERIFY(QFile::link(victim, path));
    else if (kind == u"dangling link"_s)
        QVERIFY(QFile::link(elsewhere.filePath(u"gone.png"_s), path));
    else if (kind == u"link to folder"_s)
        QVERIFY(QFile::link(elsewhere.path(), path));
    else if (kind == u"folder"_s)
        QVERIFY(QDir(dir.path()).mkdir(u"out.png"_s));
    else if (kind == u"missing folder"_s)
        path = dir.filePath(u"gone/out.png"_s);
    else if (kind == u"file as folder"_s) {
        QVERIFY(writeAll(dir.filePath(u"plain"_s), "plain"));
        path = dir.filePath(u"plain/out.png"_s);
    } else if (kind == u"empty"_s)
        path.clear();
    const QStringList before = tree(dir.path());
    const WriteResult result = writeFile(path, "new bytes");
    QCOMPARE(result.outcome, WriteResult::Outcome::Failed);
    QVERIFY2(result.reason.contains(reason), qPrintable(result.reason));
    QCOMPARE(tree(dir.path()), before);
    QCOMPARE(tree(elsewhere.path()), QStringList { u"victim.txt"_s });
    QCOMPARE(readAll(victim), QByteArray("keep"));
}

void TestFileWriter::skipUnchanged_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<WriteResult::Outcome>("outcome");
    const QByteArray bytes = pattern(100000, 's');
    QByteArray lastByte = bytes;
    lastByte[lastByte.size() - 1] = 'x';
    QTest::newRow("same bytes") << bytes << bytes << WriteResult::Outcome::UpToDate;
    QTest::newRow("empty, same") << QByteArray() << QByteArray() << WriteResult::Outcome::UpToDate;
    QTest::newRow("last byte differs") << bytes << lastByte << WriteResult::Outcome::Written;
    QTest::newRow("longer") << bytes << QByteArray(bytes + 'x') << WriteResult::Outcome::Written;
    QTest::newRow("shorter") << bytes << bytes.left(99999) << WriteResult::Outcome::Written;
}

void TestFileWriter::skipUnchanged()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(WriteResult::Outcome, outcome);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"same.png"_s);
    QVERIFY(writeAll(path, before));
    // An old time, so that any rewrite shows in it.
    const timespec old[2] = { { 1000000000, 0 }, { 1000000000, 0 } };
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), old, 0) == 0);
    const struct stat was = statOf(path);
    WriteOptions options;
    options.skipUnchanged = true;
    const WriteResult result = writeFile(path, after, options);
    QCOMPARE(result.outcome, outcome);
    QCOMPARE(readAll(path), after);
    const struct stat now = statOf(path);
    const bool untouched = now.st_ino == was.st_ino && now.st_mtim.tv_sec == was.st_mtim.tv_sec;
    QCOMPARE(untouched, outcome == WriteResult::Outcome::UpToDate);
}

void TestFileWriter::leftoverOfAKilledWriteRemoved_data()
{
    QTest::addColumn<Creation>("creation");
    addCreationRows("leftover");
}

// What a write killed between making its temporary and renaming it leaves behind is gone
// after the next write of that name.
void TestFileWriter::leftoverOfAKilledWriteRemoved()
{
    QFETCH(Creation, creation);
    QTemporaryDir dir;
    const QString name = u"确定_正常.png"_s;
    const QString leftover = QFile::decodeName(quillet::file::temporaryName(QFile::encodeName(name)));
    QVERIFY(writeAll(dir.filePath(name), "old"));
    QVERIFY(writeAll(dir.filePath(leftover), "half a pic"));
    QVERIFY(writeFile(dir.filePath(name), "new", {}, creation).ok());
    QCOMPARE(tree(dir.path()), QStringList { name });
    QCOMPARE(readAll(dir.filePath(name)), QByteArray("new"));
}

// A real kill -9 in the middle of a large write through a named temporary (the path of
// file systems without unnamed files), then the same write again: nothing else is left.
void TestFileWriter::killedWriteThenWrittenAgain()
{
    QTemporaryDir dir;
    const QString name = u"big.png"_s;
    const QString path = dir.filePath(name);
    QStringList litter;
    for (int attempt = 0; attempt < kKillAttempts && litter.isEmpty(); ++attempt) {
        const pid_t child = ::fork();
        if (child == 0) {
            writeFile(path, QByteArray(kKilledWriteBytes, 'k'), {}, Creation::Named);
            ::_exit(0);
        }
        // Kill as soon as anything but the final file shows: the write is under way.
        int status = 0;
        while (litter.isEmpty() && ::waitpid(child, &status, WNOHANG) == 0) {
            litter = tree(dir.path());
            litter.removeOne(name);
        }
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        litter = tree(dir.path());
        litter.removeOne(name);
        QFile::remove(path);
    }
    QVERIFY2(!litter.isEmpty(), "no kill landed in the middle of a write");
    const QByteArray bytes = pattern(kSmallFile, 'w');
    QVERIFY(writeFile(path, bytes, {}, Creation::Named).ok());
    QCOMPARE(tree(dir.path()), QStringList { name });
    QCOMPARE(readAll(path), bytes);
}

void TestFileWriter::syncFileSystem()
{
    QTemporaryDir dir;
    WriteOptions later;
    later.syncNow = false;
    QVERIFY(writeFile(dir.filePath(u"a.png"_s), "a", later).ok());
    QString reason;
    QVERIFY2(quillet::file::syncFileSystem(dir.path(), &reason), qPrintable(reason));
    QVERIFY(!quillet::file::syncFileSystem(dir.filePath(u"gone"_s), &reason));
    QVERIFY2(reason.contains(u"No such file"_s), qPrintable(reason));
}

QTEST_GUILESS_MAIN(TestFileWriter)
#include "tst_filewriter.moc"
