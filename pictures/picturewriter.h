#pragma once

#include "platform/system/inputfile.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

#include <functional>
#include <utility>

namespace quillet::pictures {

// One file of a planned set: its name below the output folder, and how its bytes are made.
struct PlannedFile
{
    QString name; // relative to the folder, '/' between subfolders
    QString origin; // who asked for it, for messages ("manifest entry 2"); may be empty
    // Runs on the writing thread (the renderer's); none when the bytes need no drawing.
    std::function<QImage()> draw;
    // The bytes from what draw gave; runs on any thread. Empty bytes: the file cannot be made.
    std::function<QByteArray(const QImage &)> encode;

    // A file whose bytes are known already (a page, a style sheet, a capture).
    static PlannedFile ofBytes(const QString &name, const QByteArray &bytes);
};

struct WriterOptions
{
    // The output folder is made when it is not there; the designer writes only into one
    // that its folder dialog showed.
    bool createFolder = true;
    // Files whose bytes would not change stay untouched (same inode, same time stamp).
    bool skipUnchanged = true;
    // One sync of the file system at the end instead of one per file.
    bool syncAtEnd = true;
    // The command line stops at the first failure; the designer skips what it cannot write.
    bool stopAtFirstFailure = true;
    // Encoding and writing on this many workers, drawing on the calling thread; 0: every
    // step on the calling thread, file after file.
    int workers = 4;
    // On the calling thread: how many files are done so far.
    std::function<void(int done)> progress;
    // Asked between pictures and before each write; true stops the run, and what was
    // written so far stays whole.
    std::function<bool()> interrupted;
};

struct WriteReport
{
    enum class Status { Done, FolderFailed, Failed, Interrupted };
    Status status = Status::Done;
    int written = 0;
    int upToDate = 0;
    // Why it stopped, one line naming the folder or file and the system's reason.
    QString failure;
    // The names written or found up to date, in the planned order.
    QStringList names;
    bool ok() const { return status == Status::Done; }
};

// The one way from drawn pictures to disk. The set is checked whole before anything is
// written; then the output folder is opened once, and every subfolder and file is made
// relative to it, a link refused at every step, each file whole under its name or absent.
class PictureWriter
{
public:
    // folder: the output folder as the user named it; made when it does not exist.
    explicit PictureWriter(const QString &folder);

    // The files the run reads (a manifest, icons, skins and their pictures). None of them
    // may be written over, by whatever name a planned file reaches it.
    void addInputs(const QStringList &paths);

    // Why the set cannot be written, or nothing: a name that is no safe relative path, a
    // name twice, a name that passes through a link below the folder, a name that is an
    // input. Touches no file.
    QString problem(const QList<PlannedFile> &files) const;
    WriteReport write(const QList<PlannedFile> &files, const WriterOptions &options = {}) const;
    // Gives the entry `from` of the folder the name `to`; what was called `to` takes the name
    // `from` in the same step (a new folder of pictures for an old one, all at once).
    QString exchange(const QString &from, const QString &to) const;
    // Removes a folder of the folder and all in it, never through a link.
    QString removeFolder(const QString &name) const;

private:
    // The input a planned name would write over, or nothing.
    QString inputAt(const QString &name) const;

    QString m_folder; // absolute
    QList<std::pair<system::FileIdentity, QString>> m_inputs;
};

} // namespace quillet::pictures
