#include "batch/kitcommand.h"

#include "batch/entryvalues.h"
#include "batch/optiontable.h"
#include "batch/subcommand.h"
#include "catalogue/programpaths.h"
#include "catalogue/skincatalogue.h"
#include "kit/classnames.h"
#include "kit/kitpieces.h"
#include "kit/model.h"
#include "kit/targets.h"
#include "kit/webtarget.h"
#include "pictures/picturewriter.h"
#include "render/accentedskin.h"
#include "skin/skinparser.h"

#include <QTextStream>

#include <algorithm>
#include <span>

namespace quillet::batch::KitCommand {

namespace {

constexpr QStringView kCommand = u"quillet kit: ";
// The densities the renderer draws. The kit's geometry is whole device pixels at each one it
// is made for (even lengths with 1.5x), so that caps and middle meet exactly.
constexpr qreal kKitRatios[] = { 1.0, 1.5, 2.0, 3.0, 4.0 };

struct KitOptions
{
    QString target = kit::targets().front()->name().toString();
    QString skin;
    QString darkSkin;
    QColor accent;
    int height = model::Metrics::kButtonHeight;
    QString font = RenderEntry::kDefaultFont.toString();
    QList<qreal> ratios; // empty: the target's default
    bool webp = false;
    bool focus = false;
    bool pieces = false;
    bool inlined = false;
    QString prefix; // empty: the target's own
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
const QString kScaleHelp
    = QStringLiteral("any of %1: the densities of the pieces (default %2 for the web target, %3 with an "
                     "odd --height; 1 for the others)")
          .arg(EntryValues::ratioNames(kKitRatios).join(u','),
              EntryValues::ratioNames(kit::WebTarget::kRatios).join(u','),
              EntryValues::ratioNames(kit::WebTarget::kOddHeightRatios).join(u','));
const QString kPrefixHelp
    = QStringLiteral("class prefix: %1, %2 (default %3)")
          .arg(kit::classnames::of(u"NAME", kit::classnames::Part::Button),
              kit::classnames::of(u"NAME", kit::classnames::Part::Check), kit::kDefaultPrefix);

QStringList targetNames()
{
    QStringList names;
    for (const kit::Target *target : kit::targets())
        names.append(target->name().toString());
    return names;
}
const QString kTargetHelp = QStringLiteral("what the kit is for: %1 (default %2)")
                                .arg(OptionTable::listText(targetNames()), KitOptions().target);

// The options a target may not honour, by the feature they ask for.
struct FeatureOption
{
    kit::Feature feature;
    QStringView option;
};
constexpr FeatureOption kFeatureOptions[] = {
    { kit::Feature::DarkSkin, u"--dark-skin" },
    { kit::Feature::Webp, u"--webp" },
    { kit::Feature::Pieces, u"--pieces" },
    { kit::Feature::Inline, u"--inline" },
    { kit::Feature::Prefix, u"--prefix" },
    { kit::Feature::Scale, u"--scale" },
    { kit::Feature::FractionalScale, u"--scale" },
};

const OptionSpec<KitOptions> kTable[] = {
    { u"target", u"NAME", kTargetHelp, OptionKind::Text, false,
        [](KitOptions &o, const QString &v) -> QString {
            if (!kit::targetlist::find(v))
                return QStringLiteral("--target: unknown target \"") + v + QStringLiteral("\" (one of ")
                    + OptionTable::listText(targetNames()) + u')';
            o.target = v;
            return QString();
        } },
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
            return EntryValues::setRatios(
                v, kKitRatios, u" (the renderer's densities: pieces need whole device pixels)", &o.ratios);
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
    { u"prefix", u"NAME", kPrefixHelp, OptionKind::Text, false,
        [](KitOptions &o, const QString &v) -> QString {
            if (!kit::requests::isValidPrefix(v))
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

// The skin files a kit is made from, all checked before anything is drawn.
struct SkinFiles
{
    QString light;
    QString dark; // empty without --dark-skin
};

QString findSkins(const KitOptions &options, const QString &programFolder, SkinFiles *files)
{
    if (options.skin.isEmpty())
        return QStringLiteral("--skin is missing");
    if (options.pieces && options.inlined)
        return QStringLiteral(
            "--pieces and --inline exclude each other (an in-line kit has no files of pieces)");
    const QStringList skinFiles = batch::skinFiles(programFolder);
    files->light = catalogue::SkinCatalogue::fileNamed(options.skin, skinFiles);
    if (files->light.isEmpty())
        return QStringLiteral("--skin: unknown skin \"") + options.skin
            + QStringLiteral("\" (see quillet render --list-skins)");
    if (!options.darkSkin.isEmpty()) {
        files->dark = catalogue::SkinCatalogue::fileNamed(options.darkSkin, skinFiles);
        if (files->dark.isEmpty())
            return QStringLiteral("--dark-skin: unknown skin \"") + options.darkSkin
                + QStringLiteral("\" (see quillet render --list-skins)");
    }
    return outFolderProblem(options.out);
}

// The request without its skins, which are read only once it is known to be honoured.
kit::Request requestOf(const KitOptions &options)
{
    kit::Request request;
    request.target = options.target;
    EntryValues::parseFont(options.font, &request.font);
    request.prefix = options.prefix;
    request.height = options.height;
    request.ratios = options.ratios.isEmpty() ? QList<qreal> { 1 } : options.ratios;
    request.webp = options.webp;
    request.focus = options.focus;
    request.layout = options.inlined ? kit::Layout::Inline
        : options.pieces             ? kit::Layout::Pieces
                                     : kit::Layout::Sheet;
    if (!options.darkSkin.isEmpty())
        request.dark = kit::Source {};
    return request;
}

// The first option the target cannot honour, as one line; nothing when it honours them all.
QString refusal(const kit::Target &target, const kit::Request &request)
{
    const QList<kit::Feature> unmet = kit::targetlist::unmet(target, request);
    for (const FeatureOption &row : kFeatureOptions) {
        if (unmet.contains(row.feature))
            return row.option + QStringLiteral(": --target ") + target.name()
                + QStringLiteral(" cannot honour it");
    }
    return {};
}

// Whole device pixels at every density asked: the height at 1.5x, and a density at which the
// check box (13 pixels) has a picture.
QString densityProblem(const kit::Request &request)
{
    for (qreal ratio : request.ratios) {
        if (!kit::kitpieces::whole(request.height, ratio))
            return QStringLiteral("--scale %1 of --height %2 gives half pixels; choose an even height")
                .arg(ratio)
                .arg(request.height);
    }
    if (std::none_of(request.ratios.begin(), request.ratios.end(),
            [](qreal ratio) { return kit::kitpieces::whole(model::Metrics::kCheckSide, ratio); }))
        return QStringLiteral("--scale %1 alone gives the check box (%2 pixels) half pixels; add 1, 2 or 3")
            .arg(EntryValues::ratioNames(std::span(request.ratios.constData(), size_t(request.ratios.size())))
                     .join(u','))
            .arg(model::Metrics::kCheckSide);
    return {};
}

// One sentence a target, so that the manual page's paragraph reads as the usage does.
QString targetNotes()
{
    QStringList lines;
    for (const kit::Target *target : kit::targets())
        lines.append(
            QStringLiteral("--target ") + target->name() + QStringLiteral(": ") + target->summary() + u'.');
    return lines.join(u'\n') + u'\n';
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
        [] { return OptionTable::rows(std::span<const OptionSpec<KitOptions>>(kTable)); }, &targetNotes, &run,
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
    SkinFiles skins;
    if (const QString problem = findSkins(options, context.programFolder, &skins); !problem.isEmpty())
        return fail(context, problem);
    kit::Request request = requestOf(options);
    const kit::Target &target = *kit::targetlist::find(request.target);
    if (const QString problem = refusal(target, request); !problem.isEmpty())
        return fail(context, problem);
    const bool defaultRatios = options.ratios.isEmpty();
    if (defaultRatios)
        request.ratios = target.defaultRatios(request);
    if (const QString problem = densityProblem(request); !problem.isEmpty())
        return fail(context, problem);
    target.fit(request);

    // Everything is drawn and encoded before the first file is written.
    QStringList notes;
    const auto load = [&](const QString &file) {
        return kit::Source { render::accent::accented(
                                 skin::SkinParser::parseFile(
                                     catalogue::ProgramPaths::skinFile(context.programFolder, file)),
                                 options.accent, &notes),
            catalogue::SkinCatalogue::displayName(file) };
    };
    request.light = load(skins.light);
    request.dark.reset();
    if (!skins.dark.isEmpty())
        request.dark = load(skins.dark);
    const kit::Model model
        = defaultRatios ? kit::Model::buildByDefault(request, &notes) : kit::Model::build(request, &notes);
    kit::Problem drawProblem;
    const QList<pictures::PlannedFile> planned = target.files(model, &drawProblem);
    // A refusal is one line; the notes are about a kit that is made.
    if (drawProblem.input)
        return fail(context, drawProblem.message);
    for (const QString &note : std::as_const(notes))
        context.err << kCommand << printable(note) << u'\n';
    context.err.flush();
    if (!drawProblem.message.isEmpty())
        return fail(context, drawProblem.message, WriteFailed);

    pictures::PictureWriter writer(options.out);
    for (const QString &file : { skins.light, skins.dark }) {
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
