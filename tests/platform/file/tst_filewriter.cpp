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

#include <utility>

using namespace Qt::StringLiterals;
using quillet::file::Creation;
using quillet::file::writeFile;
using quillet::file::WriteOptions;
using quillet::file::WriteResult;

Q_DECLARE_METATYPE(Creation)
Q_DECLARE_METATYPE(WriteResult::Outcome)

namespace {

constexpr qsizetype kSmallFile = 5000;

QByteArray pattern(qsizetype size, char seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(seed + i % 61);
    return bytes;
}

const char *how(Creation creation)
{
    return creation == Creation::Unnamed ? "unnamed" : "named";
}

bool failedWith(const WriteResult &result, const QString &reason)
{
    return result.outcome == WriteResult::Outcome::Failed && result.reason.contains(reason);
}

// A soft 4 KB file-size limit gives EFBIG, as a quota would; lifted again after the write.
WriteResult writeUnderSizeLimit(const QString &path, const QByteArray &bytes, Creation creation)
{
    rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlim_t was = std::exchange(limit.rlim_cur, 4096);
    ::signal(SIGXFSZ, SIG_IGN); // else the kernel kills the process instead of failing the write
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const WriteResult result = writeFile(path, bytes, {}, creation);
    limit.rlim_cur = was;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    return result;
}

} // namespace

class TestFileWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesAndReplaces_data();
    void writesAndReplaces();
    void systemRefuses_data();
    void systemRefuses();
    void refused_data();
    void refused();
    void skipUnchanged_data();
    void skipUnchanged();
    void killedWriteThenWrittenAgain();
};

void TestFileWriter::writesAndReplaces_data()
{
    QTest::addColumn<Creation>("creation");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("oldMode"); // -1: no file there before
    QTest::addColumn<int>("askedMode");
    QTest::addColumn<bool>("syncNow");
    QTest::addColumn<bool>("leftover"); // of a write killed before its rename
    const QString longest = QString(251, u'n') + u".png"_s;
    for (const Creation c : { Creation::Unnamed, Creation::Named }) {
        QTest::addRow("new, %s", how(c)) << c << u"new.png"_s << -1 << -1 << true << false;
        QTest::addRow("new, later sync, %s", how(c)) << c << u"new.png"_s << -1 << -1 << false << false;
        QTest::addRow("replaced keeps 0600, %s", how(c)) << c << u"old.png"_s << 0600 << -1 << true << false;
        QTest::addRow("asked 0755 over 0600, %s", how(c))
            << c << u"l.desktop"_s << 0600 << 0755 << true << false;
        QTest::addRow("new, asked 0755, %s", how(c)) << c << u"l.desktop"_s << -1 << 0755 << true << false;
        QTest::addRow("longest name, replaced, %s", how(c)) << c << longest << 0644 << -1 << true << false;
        QTest::addRow("chinese name, %s", how(c)) << c << u"确定_按下.bmp"_s << -1 << -1 << true << false;
        QTest::addRow("leftover removed, %s", how(c))
            << c << u"确定_正常.png"_s << 0644 << -1 << true << true;
    }
}

void TestFileWriter::writesAndReplaces()
{
    QFETCH(Creation, creation);
    QFETCH(QString, name);
    QFETCH(int, oldMode);
    QFETCH(int, askedMode);
    QFETCH(bool, syncNow);
    QFETCH(bool, leftover);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (oldMode >= 0) {
        QVERIFY(writeAll(path, pattern(kSmallFile * 3, 'a')));
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(oldMode)) == 0);
    }
    if (leftover) {
        const QByteArray temporary = quillet::file::temporaryName(QFile::encodeName(name));
        QVERIFY(writeAll(dir.filePath(QFile::decodeName(temporary)), "half a pic"));
    }
    const QByteArray bytes = pattern(kSmallFile, 'b');
    const WriteResult result = writeFile(path, bytes, { .syncNow = syncNow, .mode = askedMode }, creation);
    QVERIFY2(result.outcome == WriteResult::Outcome::Written, qPrintable(result.reason));
    QCOMPARE(readAll(path), bytes);
    const mode_t umask = ::umask(0);
    ::umask(umask);
    const int expected = askedMode >= 0 ? askedMode : oldMode >= 0 ? oldMode : int(0666 & ~umask);
    struct stat st = {};
    QVERIFY(::lstat(QFile::encodeName(path).constData(), &st) == 0);
    QCOMPARE(int(st.st_mode & 07777), expected);
    QCOMPARE(tree(dir.path()), QStringList { name });
    // A write left to the system is synced with its file system later, and a missing folder says so.
    QString reason;
    QVERIFY2(syncNow || quillet::file::syncFileSystem(dir.path(), &reason), qPrintable(reason));
    QVERIFY(syncNow || !quillet::file::syncFileSystem(dir.filePath(u"gone"_s), &reason));
    QVERIFY2(syncNow || reason.contains(u"No such file"_s), qPrintable(reason));
}

enum Cause { ReadOnly, SizeLimit, Full };

void TestFileWriter::systemRefuses_data()
{
    QTest::addColumn<Creation>("creation");
    QTest::addColumn<int>("cause");
    QTest::addColumn<bool>("replace");
    const char *const causes[] = { "read-only", "size limit", "full" };
    for (const int cause : { ReadOnly, SizeLimit, Full })
        for (const bool replace : { false, true })
            for (const Creation c : { Creation::Unnamed, Creation::Named })
                QTest::addRow("%s, %s, %s", causes[cause], replace ? "replaced" : "new", how(c))
                    << c << cause << replace;
}

// A 64 KB file system that is read-only, under a 4 KB file-size limit (as a quota gives) or
// fills up half way through the write: the write fails with the system's reason, and the
// old file is there, whole, and nothing else.
void TestFileWriter::systemRefuses()
{
    QFETCH(Creation, creation);
    QFETCH(int, cause);
    QFETCH(bool, replace);
    QTemporaryDir dir;
    SmallTmpfs disk;
    if (cause != SizeLimit && !disk.mounted)
        QSKIP(qPrintable(disk.error));
    const QString root = disk.mounted ? disk.path() : dir.path();
    const QByteArray old = pattern(100, 'o');
    QVERIFY(writeFile(root + u"/old.png"_s, old, {}, creation).ok());
    if (cause == ReadOnly)
        QVERIFY(disk.makeReadOnly());
    if (cause == Full)
        QVERIFY(disk.fill(u"filler"_s, 16 * 1024) > 0);
    const QString target = root + (replace ? u"/old.png"_s : u"/new.png"_s);
    const QByteArray bytes = pattern(64 * 1024, 'n');
    const WriteResult result = cause == SizeLimit ? writeUnderSizeLimit(target, bytes, creation)
                                                  : writeFile(target, bytes, {}, creation);
    const QString reasons[] = { u"Read-only file system"_s, u"File too large"_s, u"No space left"_s };
    QVERIFY2(failedWith(result, reasons[cause]), qPrintable(result.reason));
    QCOMPARE(tree(root).join(u' '), cause == Full ? u"filler old.png"_s : u"old.png"_s);
    QCOMPARE(readAll(root + u"/old.png"_s), old);
}

void TestFileWriter::refused_data()
{
    QTest::addColumn<QString>("name"); // "": an empty path
    QTest::addColumn<QString>("linkTo"); // in the other folder; "": no link
    QTest::addColumn<bool>("folder");
    QTest::addColumn<QString>("reason");
    const QString out = u"out.png"_s;
    QTest::newRow("link to a file") << out << u"victim.txt"_s << false << u"symbolic link"_s;
    QTest::newRow("dangling link") << out << u"gone.png"_s << false << u"symbolic link"_s;
    QTest::newRow("link to a folder") << out << u"."_s << false << u"symbolic link"_s;
    QTest::newRow("a folder") << out << QString() << true << u"Is a directory"_s;
    QTest::newRow("missing folder") << u"gone/out.png"_s << QString() << false
                                    << u"No such file or directory"_s;
    QTest::newRow("folder is a file") << u"plain/out.png"_s << QString() << false << u"Not a directory"_s;
    QTest::newRow("empty path") << QString() << QString() << false << u"No such file"_s;
}

// Nothing is written through a link, into a folder's place, or into a missing folder; the
// link's target and everything around stay as they were.
void TestFileWriter::refused()
{
    QFETCH(QString, name);
    QFETCH(QString, linkTo);
    QFETCH(bool, folder);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    const QString victim = elsewhere.filePath(u"victim.txt"_s);
    QVERIFY(writeAll(victim, "keep"));
    QVERIFY(writeAll(dir.filePath(u"plain"_s), "plain"));
    const QString path = name.isEmpty() ? QString() : dir.filePath(name);
    if (!linkTo.isEmpty())
        QVERIFY(QFile::link(elsewhere.filePath(linkTo), path));
    if (folder)
        QVERIFY(QDir().mkdir(path));
    const QStringList before = tree(dir.path());
    const WriteResult result = writeFile(path, "new bytes");
    QVERIFY2(failedWith(result, reason), qPrintable(result.reason));
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
    const QString was = fileIdentity(path);
    QCOMPARE(writeFile(path, after, { .skipUnchanged = true }).outcome, outcome);
    QCOMPARE(readAll(path), after);
    QCOMPARE(fileIdentity(path) == was, outcome == WriteResult::Outcome::UpToDate);
}

// A real kill -9 in the middle of a large write through a named temporary (the path of
// file systems without unnamed files), then the same write again: nothing else is left.
void TestFileWriter::killedWriteThenWrittenAgain()
{
    QTemporaryDir dir;
    const QString name = u"big.png"_s;
    const QString path = dir.filePath(name);
    const auto litter = [&] {
        QStringList entries = tree(dir.path());
        entries.removeOne(name);
        return entries;
    };
    QStringList left;
    for (int attempt = 0; attempt < 5 && left.isEmpty(); ++attempt) {
        const pid_t child = ::fork();
        if (child == 0) {
            writeFile(path, QByteArray(64 * 1024 * 1024, 'k'), {}, Creation::Named);
            ::_exit(0);
        }
        // Kill as soon as anything but the final file shows: the write is under way.
        while (litter().isEmpty() && ::waitpid(child, nullptr, WNOHANG) == 0) { }
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        left = litter();
        QFile::remove(path);
    }
    QVERIFY2(!left.isEmpty(), "no kill landed in the middle of a write");
    const QByteArray bytes = pattern(kSmallFile, 'w');
    QVERIFY(writeFile(path, bytes, {}, Creation::Named).ok());
    QCOMPARE(tree(dir.path()), QStringList { name });
    QCOMPARE(readAll(path), bytes);
}

QTEST_GUILESS_MAIN(TestFileWriter)
#include "tst_filewriter.moc"
