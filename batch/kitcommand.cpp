#include "batch/kitcommand.h"

#include "batch/entryvalues.h"
#include "batch/optiontable.h"
#include "batch/subcommand.h"
#include "catalogue/programpaths.h"
#include "catalogue/skincatalogue.h"
#include "pictures/kitbuild.h"
#include "pictures/kitcss.h"
#include "pictures/picturewriter.h"
#include "render/accentedskin.h"
#include "skin/skinparser.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace quillet::batch::KitCommand {

namespace {

using pictures::KitStyle;
namespace kitcss = pictures::kitcss;

constexpr QStringView kCommand = u"quillet kit: ";
// Whole device pixels for every CSS pixel, so that caps and middle meet exactly.
constexpr qreal kKitRatios[] = { 1.0, 2.0, 3.0 };

struct KitOptions
{
    QString skin;
    QString darkSkin;
    QColor accent;
    int height = model::Metrics::kButtonHeight;
    QString font = RenderEntry::kDefaultFont.toString();
    QList<qreal> ratios { 1 };
    bool webp = false;
    bool focus = false;
    bool pieces = false;
    bool inlined = false;
    QString prefix = QStringLiteral("qk");
    QString out = QStringLiteral(".");
    bool help = false;
};

QString setFlag(bool &target, const QString &value)
{
    target = value == u"true";
    return {};
}

// Help lines that name a range or a table are made from it.
const QString kHeightHelp = QStringLiteral("button height in pixels, %1 to %2 (default %3)")
                                .arg(kMinHeight)
                                .arg(kMaxHeight)
                                .arg(KitOptions().height);
const QString kFontHelp
    = QStringLiteral("caption font, first in the font stack (default \"%1\")").arg(KitOptions().font);
const QString kScaleHelp = QStringLiteral("any of %1: the densities of the pieces (default 1)")
                               .arg(EntryValues::ratioNames(kKitRatios).join(u','));

const OptionSpec<KitOptions> kTable[] = {
    { u"skin", u"NAME", u"skin as listed by quillet render --list-skins", OptionKind::Text, false,
        [](KitOptions &o, const QString &v) -> QString {
            o.skin = v;
            return QString();
        },
        ValueHint::Skin },
    { u"dark-skin", u"NAME", u"a second skin for a dark colour scheme", OptionKind::Text, false,
        [](KitOptions &o, const QString &v) -> QString {
            o.darkSkin = v;
            return QString();
        },
        ValueHint::Skin },
    { u"accent", u"COLOUR", EntryValues::kAccentHelp, OptionKind::Text, false,
        [](KitOptions &o, const QString &v) -> QString { return EntryValues::setAccent(v, &o.accent); } },
    { u"height", u"N", kHeightHelp, OptionKind::Number, false,
        [](KitOptions &o, const QString &v) -> QString {
            bool ok = false;
            const int height = v.trimmed().toInt(&ok);
            if (!ok || height < kMinHeight || height > kMaxHeight)
                return QStringLiteral("--height: \"") + v + QStringLiteral("\" is not a whole number from ")
                    + QString::number(kMinHeight) + QStringLiteral(" to ") + QString::number(kMaxHeight);
            o.height = height;
            return QString();
        } },
    { u"font", u"\"FAMILY SIZE\"", kFontHelp, OptionKind::Text, false,
        [](KitOptions &o, const QString &v) -> QString {
            if (const QString problem = EntryValues::fontProblem(v); !problem.isEmpty())
                return problem;
            o.font = v;
            return QString();
        } },
    { u"scale", u"LIST", kScaleHelp, OptionKind::List, false,
        [](KitOptions &o, const QString &v) -> QString {
            return EntryValues::setRatios(v, kKitRatios, u" (pieces need whole device pixels)", &o.ratios);
        } },
    { u"webp", u"", u"WebP pieces too, offered before the PNG ones", OptionKind::Flag, false,
        [](KitOptions &o, const QString &v) -> QString { return setFlag(o.webp, v); } },
    { u"focus", u"", u"pieces of the focused button for :focus-visible", OptionKind::Flag, false,
        [](KitOptions &o, const QString &v) -> QString { return setFlag(o.focus, v); } },
    { u"pieces", u"", u"one picture per piece instead of one sheet per density and format", OptionKind::Flag,
        false, [](KitOptions &o, const QString &v) -> QString { return setFlag(o.pieces, v); } },
    { u"inline", u"", u"every piece inside kit.css as a data: URI, no kit/ folder (kit.css up to 2 MiB)",
        OptionKind::Flag, false,
        [](KitOptions &o, const QString &v) -> QString { return setFlag(o.inlined, v); } },
    { u"prefix", u"NAME", u"class prefix: NAME-button, NAME-check (default qk)", OptionKind::Text, false,
        [](KitOptions &o, const QString &v) -> QString {
            if (!kitcss::isValidPrefix(v))
                return QStringLiteral("--prefix: \"") + v
                    + QStringLiteral("\" is not a CSS name (a letter, then letters, digits, - and _)");
            o.prefix = v;
            return QString();
        } },
    { u"out", u"DIR", u"folder to write kit.css, kit.html and kit/ into (default: here)", OptionKind::Text,
        false,
        [](KitOptions &o, const QString &v) -> QString {
            if (v.isEmpty())
                return QStringLiteral("--out: the folder name is empty");
            o.out = v;
            return QString();
        },
        ValueHint::Folder },
    helpOption<KitOptions>(),
};

int fail(const CommandContext &context, const QString &message, int code = BadInput)
{
    return batch::fail(context.err, kCommand, message, code);
}

// The skin files and the folders a kit goes to, all checked before anything is drawn.
struct Targets
{
    QString lightFile;
    QString darkFile; // empty without --dark-skin
    QString folder;
    QString pieces;
};

QString findTargets(const KitOptions &options, const QString &programFolder, Targets *targets)
{
    if (options.skin.isEmpty())
        return QStringLiteral("--skin is missing");
    if (options.pieces && options.inlined)
        return QStringLiteral(
            "--pieces and --inline exclude each other (an in-line kit has no files of pieces)");
    const QStringList skinFiles = batch::skinFiles(programFolder);
    targets->lightFile = catalogue::SkinCatalogue::fileNamed(options.skin, skinFiles);
    if (targets->lightFile.isEmpty())
        return QStringLiteral("--skin: unknown skin \"") + options.skin
            + QStringLiteral("\" (see quillet render --list-skins)");
    if (!options.darkSkin.isEmpty()) {
        targets->darkFile = catalogue::SkinCatalogue::fileNamed(options.darkSkin, skinFiles);
        if (targets->darkFile.isEmpty())
            return QStringLiteral("--dark-skin: unknown skin \"") + options.darkSkin
                + QStringLiteral("\" (see quillet render --list-skins)");
    }
    if (const QString problem = outFolderProblem(options.out); !problem.isEmpty())
        return problem;
    targets->folder = QFileInfo(options.out).absoluteFilePath();
    targets->pieces = targets->folder + u'/' + kitcss::kFolder;
    const QStringList paths { targets->folder + QStringLiteral("/kit.css"),
        targets->folder + QStringLiteral("/kit.html"), targets->folder + QStringLiteral("/kit.tokens.json"),
        targets->pieces };
    for (const QString &path : paths) {
        if (QFileInfo(path).isSymLink())
            return QStringLiteral("\"") + path
                + QStringLiteral("\" is a link; nothing is written through links");
    }
    if (QFileInfo(targets->pieces).exists() && !QFileInfo(targets->pieces).isDir())
        return QStringLiteral("\"") + targets->pieces + QStringLiteral("\" is not a folder");
    return {};
}

KitStyle styleOf(const KitOptions &options, QFont *font)
{
    KitStyle style;
    EntryValues::parseFont(options.font, font);
    style.prefix = options.prefix;
    style.height = options.height;
    style.fontFamily = font->family();
    style.pointSize = font->pointSizeF();
    style.ratios = options.ratios;
    style.webp = options.webp;
    style.focus = options.focus;
    style.layout = options.inlined ? pictures::KitLayout::Inline
        : options.pieces           ? pictures::KitLayout::Pieces
                                   : pictures::KitLayout::Sheet;
    return style;
}

} // namespace

const Subcommand &subcommand()
{
    static constexpr Subcommand command { u"kit",
        u"a style sheet for real buttons of any width from a skin (quillet kit --help)",
        u"kit --skin NAME [options]",
        u"Writes kit.css, which draws <button>, <a> and <input type=submit> of any width\n"
        u"from pieces of the skin (one sheet per density and format in kit/), the demo page\n"
        u"kit.html, and kit.tokens.json, its colours and sizes as design tokens.",
        [] { return OptionTable::rows(std::span<const OptionSpec<KitOptions>>(kTable)); }, nullptr, &run,
        {} };
    return command;
}

QString usage()
{
    return Subcommands::usage(subcommand());
}

int run(const QStringList &arguments, const CommandContext &context)
{
    KitOptions options;
    const QString problem
        = OptionTable::parse(std::span<const OptionSpec<KitOptions>>(kTable), arguments, options);
    if (!problem.isEmpty())
        return fail(context, problem);
    if (options.help)
        return Subcommands::printUsage(subcommand(), context);
    Targets targets;
    if (const QString problem = findTargets(options, context.programFolder, &targets); !problem.isEmpty())
        return fail(context, problem);
    const auto &[lightFile, darkFile, folder, pieces] = targets;
    QFont font;
    KitStyle style = styleOf(options, &font);

    // Everything is drawn and encoded before the first file is written.
    QStringList notes;
    const auto load = [&](const QString &file) {
        return pictures::KitSource { render::accent::accented(skin::SkinParser::parseFile(
                                                                  catalogue::ProgramPaths::skinFile(
                                                                      context.programFolder, file)),
                                         options.accent, &notes),
            catalogue::SkinCatalogue::displayName(file) };
    };
    const pictures::KitSource light = load(lightFile);
    std::optional<pictures::KitSource> dark;
    if (!darkFile.isEmpty())
        dark = load(darkFile);
    pictures::KitProblem drawProblem;
    const QList<pictures::PlannedFile> planned
        = pictures::kitbuild::files(light, dark, style, font, &notes, &drawProblem);
    // A refusal is one line; the notes are about a kit that is made.
    if (drawProblem.input)
        return fail(context, drawProblem.message);
    for (const QString &note : std::as_const(notes))
        context.err << kCommand << printable(note) << u'\n';
    context.err.flush();
    if (!drawProblem.message.isEmpty())
        return fail(context, drawProblem.message, WriteFailed);

    pictures::PictureWriter writer(options.out);
    for (const QString &file : { lightFile, darkFile }) {
        if (!file.isEmpty())
            writer.addInputs({ catalogue::ProgramPaths::skinFile(context.programFolder, file) });
    }
    if (const QString problem = writer.problem(planned); !problem.isEmpty())
        return fail(context, problem);
    pictures::WriterOptions writing = writerOptions();
    writing.workers = 0;
    return reportWriting(context, kCommand, writer.write(planned, writing));
}

} // namespace quillet::batch::KitCommand
