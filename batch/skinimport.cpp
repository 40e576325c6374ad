#include "batch/skinimport.h"

#include "batch/commandcontext.h"
#include "batch/optiontable.h"
#include "batch/subcommand.h"
#include "catalogue/programpaths.h"
#include "image/pngencoder.h"
#include "platform/file/filewriter.h"
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

bool isPlainName(const QString &name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') && !name.contains(u'\\')
        && !name.contains(QChar(0));
}

// Black or white, whichever stands out more on the content box (over white where the
// picture is see-through, as on the designer's white canvas).
QString captionColour(const skin::NinePatch &patch)
{
    const QRect box = patch.picture.rect().marginsRemoved(patch.padding);
    QList<QRgb> pixels;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const QRgb p = patch.picture.pixel(x, y);
            const int a = qAlpha(p);
            const auto over = [a](int c) { return (c * a + 255 * (255 - a)) / 255; };
            pixels << qRgb(over(qRed(p)), over(qGreen(p)), over(qBlue(p)));
        }
    }
    const QRgb ground = pixels.isEmpty() ? qRgb(255, 255, 255) : skin::medianByLuminance(pixels);
    return skin::contrastRatio(ground, qRgb(0, 0, 0)) >= skin::contrastRatio(ground, qRgb(255, 255, 255))
        ? QStringLiteral("#000000")
        : QStringLiteral("#ffffff");
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

// Every nine-patch given, read and checked; the message of the first that fails.
QString readStates(const ImportOptions &options, QList<Imported> *states)
{
    const std::array<QString, kStates.size()> &files = options.files;
    if (files[0].isEmpty())
        return QStringLiteral("no nine-patch file for the normal state");
    if (!isPlainName(options.name))
        return QStringLiteral("--name needs a plain skin name");
    for (size_t s = 0; s < kStates.size(); ++s) {
        if (files[s].isEmpty())
            continue;
        QFile file(files[s]);
        if (!QFileInfo(files[s]).isFile() || QFileInfo(files[s]).size() > kMaxFileBytes
            || !file.open(QIODevice::ReadOnly))
            return files[s] + QStringLiteral(": cannot be read");
        QString why;
        const auto patch = skin::ninepatch::read(file.readAll(), &why);
        if (!patch)
            return files[s] + QStringLiteral(": ") + why;
        states->append({ QString::fromLatin1(kStates[s].state), *patch, captionColour(*patch) });
    }
    return {};
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
    QList<Imported> states;
    if (const QString problem = readStates(options, &states); !problem.isEmpty())
        return fail(err, problem);
    const QString &name = options.name;
    const QString &outFolder = options.outFolder;
    const bool force = options.force;

    const QDir dir(outFolder);
    if (!dir.exists())
        return fail(err, QStringLiteral("the folder %1 does not exist").arg(outFolder));
    const QString skinFile = dir.filePath(name + QStringLiteral(".an"));
    const QString pictureFolder = dir.filePath(name);
    if (!force && (QFileInfo::exists(skinFile) || QFileInfo::exists(pictureFolder)))
        return fail(err, QStringLiteral("the skin %1 exists already; --force replaces it").arg(name));
    if (QFileInfo(pictureFolder).exists() && !QFileInfo(pictureFolder).isDir())
        return fail(err, QStringLiteral("%1 is not a folder").arg(pictureFolder));

    if (!dir.mkpath(name))
        return fail(err, QStringLiteral("cannot make the folder %1").arg(pictureFolder), WriteFailed);
    const QDir pictures(pictureFolder);
    // A replaced skin must not keep state pictures this import does not give.
    for (const StateFile &s : kStates) {
        for (const char *ext : { ".png", ".svg" })
            QFile::remove(pictures.filePath(
                QStringLiteral("button-%1%2").arg(QLatin1String(s.state), QLatin1String(ext))));
    }
    for (const Imported &i : std::as_const(states)) {
        const QString path = pictures.filePath(QStringLiteral("button-%1.png").arg(i.state));
        const QByteArray bytes = image::PngEncoder::encode(i.patch.picture);
        const file::WriteResult written = bytes.isEmpty()
            ? file::WriteResult { file::WriteResult::Outcome::Failed,
                  QStringLiteral("cannot encode the picture") }
            : file::writeFile(path, bytes);
        if (!written.ok())
            return fail(err, QStringLiteral("cannot write %1: %2").arg(path, written.reason), WriteFailed);
    }
    // The skin file last: the list shows a skin only once its pictures are all there.
    const file::WriteResult written = file::writeFile(skinFile, skinText(name, states));
    if (!written.ok())
        return fail(err, QStringLiteral("cannot write %1: %2").arg(skinFile, written.reason), WriteFailed);
    out << "wrote " << QDir::toNativeSeparators(skinFile) << " and " << states.size() << " pictures in "
        << QDir::toNativeSeparators(pictureFolder) << u'\n';
    out.flush();
    return Success;
}

} // namespace quillet::batch::skinimport
