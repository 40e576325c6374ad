#include "pictures/picturewriter.h"

#include "pictures/nametemplate.h"
#include "platform/file/fileio.h"
#include "platform/file/folder.h"

#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSemaphore>
#include <QSet>
#include <QThreadPool>

#include <atomic>
#include <new>
#include <map>
#include <vector>

namespace quillet::pictures {

namespace {

// Drawn pictures waiting for a worker, counted in KiB: enough to keep the workers busy,
// bounded however large the pictures.
constexpr int kPicturesInFlightKiB = 256 * 1024;
// An encoder holds several working copies of the picture at once.
constexpr qint64 kEncodingCopies = 4;

QString quoted(const QString &text)
{
    return u'"' + text + u'"';
}

QString withOrigin(const QString &origin, const QString &message)
{
    return origin.isEmpty() ? message : origin + QStringLiteral(": ") + message;
}

int costKiB(const QImage &picture)
{
    const qint64 kib = picture.sizeInBytes() * kEncodingCopies / 1024 + 1;
    return int(qMin<qint64>(kib, kPicturesInFlightKiB));
}

// What stands in the way of name below root, or nothing: a link (folder or file), or a
// file where a folder must be. Each folder is asked once, however many files lie in it.
QString obstacle(const QString &root, const QString &name, QHash<QString, QString> &folders)
{
    QString path = root;
    const QStringList parts = name.split(u'/');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        path += u'/' + parts[i];
        if (i + 1 == parts.size())
            return QFileInfo(path).isSymLink() ? QStringLiteral("is a link; nothing is written through links")
                                               : QString();
        auto known = folders.find(path);
        if (known == folders.end()) {
            const QFileInfo info(path);
            known = folders.insert(path,
                info.isSymLink() ? QStringLiteral("is a link; nothing is written through links")
                    : info.exists() && !info.isDir()
                    ? QStringLiteral("cannot be written: ") + quoted(path) + QStringLiteral(" is not a folder")
                    : QString());
        }
        if (!known->isEmpty())
            return *known;
    }
    return {};
}

QString folderOf(const QString &name)
{
    const qsizetype slash = name.lastIndexOf(u'/');
    return slash < 0 ? QString() : name.left(slash);
}

QString fileOf(const QString &name)
{
    return name.mid(name.lastIndexOf(u'/') + 1);
}

// The first failure of a run, from any thread.
class Failure
{
public:
    bool happened() const { return m_happened; }
    void set(const QString &message)
    {
        const QMutexLocker lock(&m_lock);
        if (!m_happened.exchange(true))
            m_message = message;
    }
    QString message() const
    {
        const QMutexLocker lock(&m_lock);
        return m_message;
    }

private:
    std::atomic<bool> m_happened { false };
    mutable QMutex m_lock;
    QString m_message;
};

} // namespace

PlannedFile PlannedFile::ofBytes(const QString &name, const QByteArray &bytes)
{
    return { name, {}, {}, [bytes](const QImage &) { return bytes; } };
}

PictureWriter::PictureWriter(const QString &folder)
    : m_folder(QFileInfo(folder).absoluteFilePath())
{
}

QString PictureWriter::inputAt(const QString &name) const
{
    if (m_inputs.isEmpty())
        return {};
    const auto identity = system::identityOf(m_folder + u'/' + name);
    if (!identity)
        return {};
    for (const auto &[input, path] : m_inputs) {
        if (input == *identity)
            return path;
    }
    return {};
}

void PictureWriter::addInputs(const QStringList &paths)
{
    for (const QString &path : paths) {
        if (const auto identity = system::identityOf(path))
            m_inputs.append({ *identity, path });
    }
}

QString PictureWriter::problem(const QList<PlannedFile> &files) const
{
    QSet<QString> names;
    QHash<QString, QString> folders;
    for (const PlannedFile &file : files) {
        if (!NameTemplate::isSafeRelativePath(file.name))
            return withOrigin(file.origin, quoted(file.name) + QStringLiteral(" cannot be a file name"));
        if (names.contains(file.name))
            return withOrigin(file.origin, quoted(file.name) + QStringLiteral(" would be written twice"));
        if (const QString why = obstacle(m_folder, file.name, folders); !why.isEmpty())
            return withOrigin(file.origin, quoted(file.name) + u' ' + why);
        if (const QString input = inputAt(file.name); !input.isEmpty())
            return withOrigin(file.origin,
                quoted(file.name) + QStringLiteral(" is the input ") + quoted(input)
                    + QStringLiteral("; nothing is written over an input"));
        names.insert(file.name);
    }
    return {};
}

namespace {

// One run of the writer over a planned set, from the open output folder on.
class Run
{
public:
    Run(const QString &folder, const QList<PlannedFile> &files, const WriterOptions &options)
        : m_folder(folder)
        , m_files(files)
        , m_options(options)
        , m_outcomes(size_t(files.size()), Pending)
        , m_writeOptions { .skipUnchanged = options.skipUnchanged, .syncNow = !options.syncAtEnd }
    {
    }

    WriteReport go()
    {
        WriteReport report;
        QString why;
        m_root = file::Folder::open(m_folder, m_options.createFolder, &why);
        if (!m_root.isOpen())
            return failed(report, WriteReport::Status::FolderFailed,
                QStringLiteral("cannot create the folder ") + quoted(m_folder) + QStringLiteral(": ") + why);
        if (const QString problem = openFolders(); !problem.isEmpty())
            return failed(report, WriteReport::Status::Failed, problem);
        if (m_options.workers <= 0)
            writeInTurn();
        else
            writeOnWorkers();
        count(report);
        if (interrupted())
            return failed(report, WriteReport::Status::Interrupted, QStringLiteral("interrupted"));
        if (m_failure.happened()) {
            failed(report, WriteReport::Status::Failed, m_failure.message());
            if (m_options.stopAtFirstFailure)
                return report;
        }
        if (m_options.syncAtEnd && !m_root.sync(&why))
            failed(report, WriteReport::Status::Failed,
                QStringLiteral("cannot make the files in ") + quoted(m_folder) + QStringLiteral(" durable: ") + why);
        return report;
    }

private:
    enum Outcome : char { Pending, Written, UpToDate, Skipped };

    static WriteReport &failed(WriteReport &report, WriteReport::Status status, const QString &why)
    {
        report.status = status;
        report.failure = why;
        return report;
    }

    // Every subfolder is made and opened once, relative to the one open output folder.
    QString openFolders()
    {
        for (const PlannedFile &file : m_files) {
            const QString folder = folderOf(file.name);
            if (folder.isEmpty() || m_folders.count(folder))
                continue;
            QString why;
            file::Folder opened = m_root.subfolder(folder, true, &why);
            if (!opened.isOpen())
                return QStringLiteral("cannot create the folder ") + quoted(m_folder + u'/' + folder)
                    + QStringLiteral(": ") + why;
            m_folders.emplace(folder, std::move(opened));
        }
        return {};
    }

    bool interrupted() const { return m_options.interrupted && m_options.interrupted(); }
    bool stopped() const { return (m_options.stopAtFirstFailure && m_failure.happened()) || interrupted(); }

    void fail(qsizetype index, const QString &reason)
    {
        m_outcomes[size_t(index)] = Skipped;
        m_failure.set(
            QStringLiteral("cannot write ") + quoted(m_folder + u'/' + m_files[index].name) + QStringLiteral(": ") + reason);
    }

    // The picture, or a null one with the failure noted: a picture the memory cannot hold
    // stops the run as any failed write does, never the process.
    QImage draw(qsizetype index)
    {
        const PlannedFile &file = m_files[index];
        if (!file.draw)
            return {};
        try {
            // A picture too large for the memory comes back null, and then encodes to nothing.
            return file.draw();
        } catch (const std::bad_alloc &) {
            fail(index, QStringLiteral("not enough memory to draw the picture"));
        }
        return {};
    }

    void produce(qsizetype index, const QImage &drawn)
    {
        // After the first failure nothing more is written, not even what was drawn already.
        if (m_outcomes[size_t(index)] == Skipped || stopped())
            return;
        const PlannedFile &file = m_files[index];
        try {
            const QByteArray bytes = file.encode(drawn);
            if (bytes.isEmpty())
                return fail(index, QStringLiteral("cannot encode the picture"));
            const QString name = file.name;
            const file::WriteResult result
                = (folderOf(name).isEmpty() ? m_root : m_folders.at(folderOf(name))).write(fileOf(name), bytes, m_writeOptions);
            if (!result.ok())
                return fail(index, result.reason);
            m_outcomes[size_t(index)] = result.outcome == file::WriteResult::Outcome::UpToDate ? UpToDate : Written;
        } catch (const std::bad_alloc &) {
            fail(index, QStringLiteral("not enough memory to encode the picture"));
        }
    }

    void progress()
    {
        if (m_options.progress)
            m_options.progress(m_done);
    }

    void writeInTurn()
    {
        for (qsizetype i = 0; i < m_files.size() && !stopped(); ++i) {
            produce(i, draw(i));
            ++m_done;
            progress();
        }
    }

    // Drawing needs this thread; encoding and writing go to the workers, where the wait of
    // one file's write overlaps the work on the next ones, and only as many pictures wait
    // for them as the memory budget holds.
    void writeOnWorkers()
    {
        QThreadPool pool;
        pool.setMaxThreadCount(m_options.workers);
        QSemaphore room(kPicturesInFlightKiB);
        for (qsizetype i = 0; i < m_files.size() && !stopped(); ++i) {
            const QImage drawn = draw(i);
            const int cost = costKiB(drawn);
            room.acquire(cost);
            pool.start([this, &room, i, drawn, cost] {
                produce(i, drawn);
                ++m_done;
                room.release(cost);
            });
            progress();
        }
        pool.waitForDone();
        progress();
    }

    void count(WriteReport &report) const
    {
        for (qsizetype i = 0; i < m_files.size(); ++i) {
            const Outcome outcome = m_outcomes[size_t(i)];
            if (outcome == Written || outcome == UpToDate)
                report.names.append(m_files[i].name);
            report.written += outcome == Written;
            report.upToDate += outcome == UpToDate;
        }
    }

    const QString m_folder;
    const QList<PlannedFile> &m_files;
    const WriterOptions &m_options;
    std::vector<Outcome> m_outcomes;
    const file::WriteOptions m_writeOptions;
    file::Folder m_root;
    std::map<QString, file::Folder> m_folders;
    Failure m_failure;
    std::atomic<int> m_done { 0 };
};

} // namespace

WriteReport PictureWriter::write(const QList<PlannedFile> &files, const WriterOptions &options) const
{
    return Run(m_folder, files, options).go();
}

QString PictureWriter::exchange(const QString &from, const QString &to) const
{
    QString why;
    const file::Folder root = file::Folder::open(m_folder, false, &why);
    const int error = root.isOpen() ? root.exchange(from, to) : 0;
    if (!root.isOpen() || error)
        return QStringLiteral("cannot rename ") + quoted(m_folder + u'/' + from) + QStringLiteral(" to ")
            + quoted(to) + QStringLiteral(": ") + (root.isOpen() ? file::io::errorText(error) : why);
    return {};
}

QString PictureWriter::removeFolder(const QString &name) const
{
    QString why;
    const file::Folder root = file::Folder::open(m_folder, false, &why);
    const int error = root.isOpen() ? root.removeTree(name) : 0;
    if (!root.isOpen() || error)
        return QStringLiteral("cannot remove ") + quoted(m_folder + u'/' + name) + QStringLiteral(": ")
            + (root.isOpen() ? file::io::errorText(error) : why);
    return {};
}

} // namespace quillet::pictures
