#include "batch/skinimport.h"

#include "batch/commandcontext.h"
#include "batch/optiontable.h"
#include "batch/subcommand.h"
#include "catalogue/programpaths.h"
#include "pictures/picturebytes.h"
#include "pictures/picturewriter.h"
#include "platform/system/inputfile.h"
#include "skin/legibility.h"
#include "skin/ninepatch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <array>

namespace quillet::batch::skinimport {

namespace {

constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

struct StateFile
{
    const char *option; // empty for the normal state, given without an option
    const char *state; // in the picture's name and the section's
};

constexpr std::array<StateFile, 5> kStates { {
    { "", "normal" },
    { "--hot", "hot" },
    { "--pressed", "pressed" },
    { "--disabled", "disabled" },
    { "--focus", "focused" },
} };

struct Imported
{
    QString state;
    skin::NinePatch patch;
    QString text; // the caption colour that reads best on the content box
};

int fail(QTextStream &err, const QString &message, int code = BadInput)
{
    return batch::fail(err, u"quillet skin import: ", message, code);
}


// Black or white, whichever stands out more on the content box (over white where the
// picture is see-through, as on the designer's white canvas).
QString captionColour(const skin::NinePatch &patch)
{
    // Black reads better on the face exactly when the median pixel by luminance (laid on
    // white) is light. Counting the dark pixels answers that without sorting millions.
    const QRect box = patch.picture.rect().marginsRemoved(patch.padding);
    const QImage picture = patch.picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    qint64 count = 0;
    qint64 dark = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = box.left(); x <= box.right(); ++x) {
            const QRgb p = line[x];
            const int a = qAlpha(p);
            const auto over = [a](int c) { return (c * a + 255 * (255 - a)) / 255; };
            const QRgb ground = qRgb(over(qRed(p)), over(qGreen(p)), over(qBlue(p)));
            dark += skin::contrastRatio(ground, black) < skin::contrastRatio(ground, white);
            ++count;
        }
    }
    // The lower median, as in the sorted list, is dark when more than (count - 1) / 2 are.
    return count > 0 && dark > (count - 1) / 2 ? QStringLiteral("#ffffff") : QStringLiteral("#000000");
}

QString marginsText(const QMargins &m)
{
    return QStringLiteral("%1,%2,%3,%4").arg(m.left()).arg(m.top()).arg(m.right()).arg(m.bottom());
}

QByteArray skinText(const QString &name, const QList<Imported> &states)
{
    QString text;
    QTextStream s(&text);
    s << "; Made by quillet skin import from nine-patch pictures.\n[skin]\nname = " << name << "\n";
    const Imported &normal = states.first();
    for (const Imported &i : states) {
        const bool isNormal = &i == &normal;
        QStringList keys;
        if (isNormal || i.patch.slice != normal.patch.slice)
            keys << QStringLiteral("slice = ") + marginsText(i.patch.slice);
        if (isNormal || i.patch.padding != normal.patch.padding)
            keys << QStringLiteral("padding = ") + marginsText(i.patch.padding);
        if (isNormal || i.text != normal.text)
            keys << QStringLiteral("text = ") + i.text;
        if (!isNormal && keys.isEmpty())
            continue; // the picture alone, found by its name, makes the state
        s << "\n[button" << (isNormal ? QString() : u'.' + i.state) << "]\n";
        for (const QString &key : std::as_const(keys))
            s << key << "\n";
    }
    s.flush();
    return text.toUtf8();
}

} // namespace

namespace {

struct ImportOptions
{
    std::array<QString, kStates.size()> files; // in the order of kStates
    QString name;
    QString outFolder;
    bool force = false;
    bool help = false;
};

template<size_t State> QString setStateFile(ImportOptions &o, const QString &v)
{
    if (!o.files[State].isEmpty())
        return State == 0 ? QStringLiteral("one nine-patch file for the normal state, not two")
                          : QLatin1String(kStates[State].option) + QStringLiteral(" given twice");
    o.files[State] = v;
    return {};
}

const OptionSpec<ImportOptions> kTable[] = {
    { u"", u"FILE.9.png", u"the normal state's nine-patch", OptionKind::Positional, false, &setStateFile<0>,
        ValueHint::File },
    { u"hot", u"F", u"the hot state's nine-patch (default: derived from the normal one)", OptionKind::Text,
        false, &setStateFile<1>, ValueHint::File },
    { u"pressed", u"F", u"the pressed state's nine-patch", OptionKind::Text, false, &setStateFile<2>,
        ValueHint::File },
    { u"disabled", u"F", u"the disabled state's nine-patch", OptionKind::Text, false, &setStateFile<3>,
        ValueHint::File },
    { u"focus", u"F", u"the focused state's nine-patch", OptionKind::Text, false, &setStateFile<4>,
        ValueHint::File },
    { u"name", u"NAME", u"the new skin's name: NAME.an and the folder NAME/", OptionKind::Text, false,
        [](ImportOptions &o, const QString &v) {
            o.name = v;
            return QString();
        } },
    { u"out", u"DIR", u"where to write (default: the program's skins folder)", OptionKind::Text, false,
        [](ImportOptions &o, const QString &v) {
            o.outFolder = v;
            return QString();
        },
        ValueHint::Folder },
    { u"force", u"", u"replace a skin of that name", OptionKind::Flag, false,
        [](ImportOptions &o, const QString &) {
            o.force = true;
            return QString();
        } },
    helpOption<ImportOptions>(),
};

} // namespace

namespace {

// A name that is one plain file name a person can read back: no separator, no control or
// direction character that would make two names look alike.
QString nameProblem(const QString &name)
{
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(u'/') || name.contains(u'\\'))
        return QStringLiteral("--name needs a plain skin name");
    for (const char32_t c : name.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Other_Control || category == QChar::Other_Format)
            return QStringLiteral("--name: a skin name holds no control or direction characters");
    }
    return {};
}

// Why the skin cannot go into the folder, or nothing; checked before any picture is read.
QString targetProblem(const ImportOptions &options)
{
    const QDir dir(options.outFolder);
    if (!dir.exists())
        return QStringLiteral("the folder %1 does not exist").arg(options.outFolder);
    const QFileInfo skinFile(dir.filePath(options.name + QStringLiteral(".an")));
    const QFileInfo pictures(dir.filePath(options.name));
    for (const QFileInfo &target : { skinFile, pictures }) {
        if (target.isSymLink())
            return QStringLiteral("%1 is a link; nothing is written through links").arg(target.filePath());
    }
    if (!options.force && (skinFile.exists() || pictures.exists()))
        return QStringLiteral("the skin %1 exists already; --force replaces it").arg(options.name);
    if (pictures.exists() && !pictures.isDir())
        return QStringLiteral("%1 is not a folder").arg(pictures.filePath());
    return {};
}

// The states' pictures, or why one cannot be used.
QString readStates(const ImportOptions &options, QList<Imported> &states)
{
    for (size_t s = 0; s < kStates.size(); ++s) {
        const QString &path = options.files[s];
        if (path.isEmpty())
            continue;
        QString why;
        const std::optional<QByteArray> bytes = system::readInput(path, kMaxFileBytes, &why);
        if (!bytes)
            return path + QStringLiteral(": cannot be read: ") + why;
        const auto patch = skin::ninepatch::read(*bytes, &why);
        if (!patch)
            return path + QStringLiteral(": ") + why;
        states.append({ QString::fromLatin1(kStates[s].state), *patch, captionColour(*patch) });
    }
    return {};
}

// The pictures go into a hidden folder first, which then takes the skin folder's place in
// one step, and the skin file comes last: a failure at any point leaves the folder as it
// was, and the list never shows a skin whose pictures are not all there.
int write(const ImportOptions &options, const QList<Imported> &states, QTextStream &err)
{
    const QString &name = options.name;
    const QString staging = u'.' + name + QStringLiteral(".quillet-import");
    QList<pictures::PlannedFile> planned;
    for (const Imported &i : states) {
        const QImage picture = i.patch.picture;
        planned.append({ staging + QStringLiteral("/button-%1.png").arg(i.state), {}, {},
            [picture](const QImage &) { return pictures::PictureBytes::lossless(picture); } });
    }
    const pictures::PlannedFile skinFile = pictures::PlannedFile::ofBytes(name + QStringLiteral(".an"), skinText(name, states));
    pictures::PictureWriter writer(options.outFolder);
    writer.addInputs({ options.files.begin(), options.files.end() });
    if (const QString problem = writer.problem(planned + QList { skinFile }); !problem.isEmpty())
        return fail(err, problem);

    pictures::WriterOptions writing = writerOptions();
    writing.skipUnchanged = false;
    writing.syncAtEnd = false;
    writing.workers = 0;
    QString problem = writer.removeFolder(staging);
    if (problem.isEmpty()) {
        const pictures::WriteReport drawn = writer.write(planned, writing);
        problem = drawn.ok() ? writer.exchange(staging, name) : drawn.failure;
    }
    if (problem.isEmpty()) {
        const pictures::WriteReport written = writer.write({ skinFile }, writing);
        // Without its file the new pictures give way to the old ones again.
        if (!written.ok()) {
            problem = written.failure;
            writer.exchange(name, staging);
        }
    }
    writer.removeFolder(staging);
    if (!problem.isEmpty())
        return fail(err, problem, WriteFailed);
    return Success;
}

} // namespace

const Subcommand &subcommand()
{
    static constexpr Subcommand command { u"import", u"make a push-button skin from nine-patch pictures",
        u"skin import FILE.9.png --name NAME [options]",
        u"Makes a picture skin for the push button from nine-patch files, one per state.\n"
        u"Every file is read and checked before anything is written; an existing skin is\n"
        u"replaced only with --force.",
        [] { return OptionTable::rows(std::span<const OptionSpec<ImportOptions>>(kTable)); }, nullptr, &run,
        {} };
    return command;
}

int run(const QStringList &arguments, const CommandContext &context)
{
    QTextStream &out = context.out;
    QTextStream &err = context.err;
    ImportOptions options;
    options.outFolder = catalogue::ProgramPaths::skinsFolder(context.programFolder);
    const QString problem
        = OptionTable::parse(std::span<const OptionSpec<ImportOptions>>(kTable), arguments, options);
    if (options.help)
        return Subcommands::printUsage(subcommand(), context);
    if (!problem.isEmpty())
        return fail(err, problem);
    if (options.files[0].isEmpty())
        return fail(err, QStringLiteral("no nine-patch file for the normal state"));
    for (const QString &why : { nameProblem(options.name), targetProblem(options) }) {
        if (!why.isEmpty())
            return fail(err, why);
    }
    QList<Imported> states;
    if (const QString why = readStates(options, states); !why.isEmpty())
        return fail(err, why);
    if (const int code = write(options, states, err); code != Success)
        return code;
    const QDir dir(options.outFolder);
    out << "wrote " << QDir::toNativeSeparators(dir.filePath(options.name + QStringLiteral(".an"))) << " and "
        << states.size() << " pictures in " << QDir::toNativeSeparators(dir.filePath(options.name)) << u'\n';
    out.flush();
    return Success;
}

} // namespace quillet::batch::skinimport
