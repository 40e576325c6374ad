#include "batch/kitcommand.h"

#include "batch/entryvalues.h"
#include "batch/optiontable.h"
#include "batch/subcommand.h"
#include "catalogue/programpaths.h"
#include "catalogue/skincatalogue.h"
#include "pictures/kitcss.h"
#include "pictures/kitpage.h"
#include "pictures/kitpieces.h"
#include "pictures/kittokens.h"
#include "pictures/picturebytes.h"
#include "pictures/picturewriter.h"
#include "render/buttonrenderer.h"
#include "skin/skinparser.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace quillet::batch::KitCommand {

namespace {

using pictures::KitSkin;
using pictures::KitStyle;
using pictures::PictureFormat;
namespace kitcss = pictures::kitcss;
namespace kitpieces = pictures::kitpieces;

constexpr QStringView kCommand = u"quillet kit: ";
// Whole device pixels for every CSS pixel, so that caps and middle meet exactly.
constexpr qreal kKitRatios[] = { 1.0, 2.0, 3.0 };

struct KitOptions
{
    QString skin;
    QString darkSkin;
    int height = model::Metrics::kButtonHeight;
    QString font = RenderEntry::kDefaultFont.toString();
    QList<qreal> ratios { 1 };
    bool webp = false;
    bool focus = false;
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

struct Output
{
    QString name; // relative to --out
    QByteArray bytes;
};

// Pieces and colours of one skin; the files go to `files`.
KitSkin drawSkin(const skin::Skin &skin, const QString &name, bool dark, const KitStyle &style,
    const QFont &font, QList<Output> &files)
{
    const render::ButtonRenderer renderer(skin);
    KitSkin result;
    result.name = name;
    result.page = skin.base();
    pictures::kittokens::readSkin(skin, style.height, &result);
    pictures::KitDrawing drawing { &renderer, style.height, font, {} };
    for (int state = 0; state < int(std::size(kitpieces::kStates)); ++state) {
        if (kitcss::drawsState(style, state))
            drawing.states.append(kitpieces::kStates[size_t(state)]);
    }
    result.slice = kitpieces::slice(drawing, style.ratios);
    for (int state = 0; state < int(std::size(kitpieces::kStates)); ++state) {
        const skin::Look &look = skin.look(skin::Element::Button, kitpieces::kButtonRows[size_t(state)].look);
        result.captions.append({ look.text.isValid() ? look.text : QColor(Qt::black), look.textShift,
            look.margin + look.padding });
        if (!kitcss::drawsState(style, state))
            continue;
        for (qreal ratio : style.ratios) {
            const pictures::KitPieces pieces = kitpieces::cut(
                kitpieces::blankButton(drawing, kitpieces::kStates[size_t(state)], kitpieces::kSliceWidth, ratio),
                result.slice);
            const QImage parts[] = { pieces.left, pieces.middle, pieces.right };
            for (int part = 0; part < 3; ++part) {
                for (PictureFormat format : { PictureFormat::Png, PictureFormat::Webp }) {
                    if (format == PictureFormat::Webp && !style.webp)
                        continue;
                    files.append({ kitcss::pieceName(
                                       dark, kitcss::kStateWords[size_t(state)], kitcss::kParts[part], ratio, format),
                        pictures::PictureBytes::transparent(parts[part], format, skin.base()) });
                }
            }
        }
    }
    for (int state = 0; state < int(std::size(kitpieces::kCheckStates)); ++state) {
        for (qreal ratio : style.ratios) {
            const QImage picture = kitpieces::checkBox(renderer, kitpieces::kCheckStates[size_t(state)], ratio);
            for (PictureFormat format : { PictureFormat::Png, PictureFormat::Webp }) {
                if (format == PictureFormat::Webp && !style.webp)
                    continue;
                files.append({ kitcss::checkName(dark, kitcss::kCheckWords[size_t(state)], ratio, format),
                    pictures::PictureBytes::transparent(picture, format, skin.base()) });
            }
        }
    }
    return result;
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
    return style;
}

} // namespace

const Subcommand &subcommand()
{
    static constexpr Subcommand command { u"kit",
        u"a style sheet for real buttons of any width from a skin (quillet kit --help)",
        u"kit --skin NAME [options]",
        u"Writes kit.css, which draws <button>, <a> and <input type=submit> of any width\n"
        u"from pieces of the skin (in kit/), the demo page kit.html, and kit.tokens.json,\n"
        u"its colours and sizes as design tokens.",
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
    QList<Output> files;
    const auto load = [&](const QString &file) {
        return skin::SkinParser::parseFile(catalogue::ProgramPaths::skinFile(context.programFolder, file));
    };
    style.light = drawSkin(
        load(lightFile), catalogue::SkinCatalogue::displayName(lightFile), false, style, font, files);
    if (!darkFile.isEmpty())
        style.dark = drawSkin(
            load(darkFile), catalogue::SkinCatalogue::displayName(darkFile), true, style, font, files);
    for (const KitSkin *kit : { &style.light, style.dark ? &*style.dark : nullptr }) {
        if (kit && !kit->slice.exact)
            context.err << kCommand << kitcss::inexactNote(*kit) << u'\n';
    }
    context.err.flush();
    files.append({ QStringLiteral("kit.tokens.json"), pictures::kittokens::json(style) });
    files.append({ QStringLiteral("kit.css"), kitcss::text(style).toUtf8() });
    files.append(
        { QStringLiteral("kit.html"), pictures::kitpage::html(style, QStringLiteral("kit.css")).toUtf8() });
    for (const Output &file : std::as_const(files)) {
        if (file.bytes.isEmpty())
            return fail(context, QStringLiteral("cannot draw \"") + file.name + u'"', WriteFailed);
    }

    QList<pictures::PlannedFile> planned;
    for (const Output &file : std::as_const(files))
        planned.append(pictures::PlannedFile::ofBytes(file.name, file.bytes));
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
