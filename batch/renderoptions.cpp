#include "batch/renderoptions.h"

#include "batch/entryvalues.h"
#include "batch/rendercommand.h"
#include "model/statetable.h"
#include "pictures/pictureformat.h"

namespace quillet::batch {

namespace {

using Spec = OptionSpec<RenderOptions>;

QString setFlag(bool &target, const QString &value)
{
    target = value == u"true";
    return {};
}

QString withDefault(const QString &help, const QString &value)
{
    return help + QStringLiteral(" (default ") + value + u')';
}

QString formatHelp()
{
    QStringList names;
    for (const pictures::FormatInfo &row : pictures::kFormats)
        names.append(row.name.toString());
    return withDefault(
        OptionTable::listText(names), pictures::Formats::info(RenderEntry().format).name.toString());
}

QString controlsHelp()
{
    const RenderEntry entry;
    const bool chosen[] = { entry.button, entry.combo, entry.check };
    QStringList defaults;
    for (size_t i = 0; i < std::size(chosen); ++i) {
        if (chosen[i])
            defaults.append(EntryValues::kControls[i].toString());
    }
    return withDefault(
        QStringLiteral("any of ") + EntryValues::controlNames().join(u','), defaults.join(u','));
}

QString iconPositionHelp()
{
    QStringList names;
    for (const auto &[name, position] : EntryValues::kIconPositions)
        names.append(name.toString()
            + (position == RenderEntry().icon.position ? QStringLiteral(" (default)") : QString()));
    return OptionTable::listText(names) + QStringLiteral(" of the caption");
}

// Help lines that name what a table holds are made from that table.
const QString kWidthHelp
    = withDefault(QStringLiteral("button width in pixels"), QString::number(RenderEntry().width));
const QString kHeightHelp
    = withDefault(QStringLiteral("button height in pixels"), QString::number(RenderEntry().height));
const QString kFontHelp = withDefault(
    QStringLiteral("caption font"), QStringLiteral("\"") + RenderEntry::kDefaultFont.toString() + u'"');
const QString kControlsHelp = controlsHelp();
const QString kFormatHelp = formatHelp();
const QString kScaleHelp = QStringLiteral("any of ")
    + EntryValues::ratioNames(EntryValues::kRatios).join(u',')
    + QStringLiteral(": each ratio but 1 adds NAME@2x (@1.5x, @3x) pictures\n"
                     "drawn anew at that resolution (default 1)");
const QString kIconPositionHelp = iconPositionHelp();

// The check box's files beyond the designer's, named from the state table, three a line.
QString checkStatesHelp()
{
    using model::states::designerFiles;
    const QList<model::StateRow> rows = designerFiles(model::OutputGroup::CheckBox, true)
                                            .mid(designerFiles(model::OutputGroup::CheckBox, false).size());
    QString help
        = QStringLiteral("also the check box hot, pressed, and checked while hot,\npressed or disabled:\n");
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (i > 0)
            help += i % 3 == 0 ? QStringLiteral(",\n") : QStringLiteral(", ");
        help += u"NAME" + rows[i].suffix.toString();
    }
    return help;
}
const QString kCheckStatesHelp = checkStatesHelp();

const Spec kTable[] = {
    { u"skin", u"NAME", u"skin as listed by --list-skins", OptionKind::Text, true,
        [](RenderOptions &o, const QString &v) {
            o.entry.skin = v;
            return QString();
        },
        ValueHint::Skin },
    { u"text", u"CAPTION", u"button caption; repeat for more buttons", OptionKind::Repeated, true,
        [](RenderOptions &o, const QString &v) {
            o.entry.captions.append(v);
            o.textGiven = true;
            return QString();
        } },
    { u"width", u"N", kWidthHelp, OptionKind::Number, true,
        [](RenderOptions &o, const QString &v) {
            return EntryValues::setSide(QStringLiteral("--width"), v, &o.entry.width);
        } },
    { u"height", u"N", kHeightHelp, OptionKind::Number, true,
        [](RenderOptions &o, const QString &v) {
            return EntryValues::setSide(QStringLiteral("--height"), v, &o.entry.height);
        } },
    { u"font", u"\"FAMILY SIZE\"", kFontHelp, OptionKind::Text, true,
        [](RenderOptions &o, const QString &v) { return EntryValues::setFont(v, o.entry); } },
    { u"accent", u"COLOUR", EntryValues::kAccentHelp, OptionKind::Text, true,
        [](RenderOptions &o, const QString &v) { return EntryValues::setAccent(v, &o.entry.accent); } },
    { u"border-removal", u"", u"cut the button's 1 pixel border off", OptionKind::Flag, true,
        [](RenderOptions &o, const QString &v) { return setFlag(o.entry.borderRemoval, v); } },
    { u"controls", u"LIST", kControlsHelp, OptionKind::List, true,
        [](RenderOptions &o, const QString &v) { return EntryValues::setControls(v, o.entry); } },
    { u"format", u"F", kFormatHelp, OptionKind::Text, true,
        [](RenderOptions &o, const QString &v) { return EntryValues::setFormat(v, o.entry); } },
    { u"scale", u"LIST", kScaleHelp, OptionKind::List, true,
        [](RenderOptions &o, const QString &v) { return EntryValues::setScale(v, o.entry); } },
    { u"transparent", u"", u"PNG and WebP with an alpha channel, GIF with a transparent colour",
        OptionKind::Flag, true,
        [](RenderOptions &o, const QString &v) { return setFlag(o.entry.transparent, v); } },
    { u"sprite", u"", u"NAME_sprite.png with the four states, NAME.css and NAME.html", OptionKind::Flag, true,
        [](RenderOptions &o, const QString &v) { return setFlag(o.entry.sprite, v); } },
    { u"focus", u"", u"also the button with the keyboard focus, NAME_焦点 (a fifth sprite band)",
        OptionKind::Flag, true,
        [](RenderOptions &o, const QString &v) { return setFlag(o.entry.focus, v); } },
    { u"check-states", u"", kCheckStatesHelp, OptionKind::Flag, true,
        [](RenderOptions &o, const QString &v) { return setFlag(o.entry.checkStates, v); } },
    { u"icon", u"FILE", u"an SVG or PNG icon in the button (in a manifest: relative to it)", OptionKind::Text,
        true,
        [](RenderOptions &o, const QString &v) { return EntryValues::setIcon(v, o.baseFolder, o.entry); },
        ValueHint::File },
    { u"icon-position", u"P", kIconPositionHelp, OptionKind::Text, true,
        [](RenderOptions &o, const QString &v) { return EntryValues::setIconPosition(v, o.entry); } },
    { u"icon-size", u"N", u"icon height in pixels at 1x (default: the caption's height)", OptionKind::Number,
        true, [](RenderOptions &o, const QString &v) { return EntryValues::setIconSize(v, o.entry); } },
    { u"name", u"TEMPLATE",
        u"file names from {text} {state} {skin} {control} {width} {height};\n"
        u"\"/\" makes subfolders (default: the designer's names)",
        OptionKind::Text, true,
        [](RenderOptions &o, const QString &v) { return EntryValues::setName(v, o.entry); } },
    { u"out", u"DIR", u"folder to write into (default: the current folder)", OptionKind::Text, false,
        [](RenderOptions &o, const QString &v) {
            if (v.isEmpty())
                return QStringLiteral("--out: the folder name is empty");
            o.out = v;
            return QString();
        },
        ValueHint::Folder },
    { u"manifest", u"FILE.json",
        u"an array of objects whose keys are the options above\n(without the dashes)", OptionKind::Text,
        false,
        [](RenderOptions &o, const QString &v) {
            o.manifestPath = v;
            return QString();
        },
        ValueHint::File },
    { u"list-skins", u"", u"print the skin names in list order", OptionKind::Action, false,
        [](RenderOptions &o, const QString &) {
            o.action = RenderOptions::Action::ListSkins;
            return QString();
        } },
    { u"help", u"", u"this text", OptionKind::Action, false,
        [](RenderOptions &o, const QString &) {
            o.action = RenderOptions::Action::Help;
            return QStringLiteral("stop");
        } },
    { u"version", u"", u"the program's version", OptionKind::Action, false,
        [](RenderOptions &o, const QString &) {
            o.action = RenderOptions::Action::Version;
            return QStringLiteral("stop");
        } },
};

} // namespace

std::span<const OptionSpec<RenderOptions>> RenderOptions::table()
{
    return kTable;
}

QString RenderOptions::usage()
{
    return Subcommands::usage(RenderCommand::subcommand());
}

const Subcommand &RenderCommand::subcommand()
{
    static constexpr Subcommand command { u"render",
        u"write button pictures without a window (quillet render --help)",
        u"render --skin NAME --text CAPTION [--text CAPTION ...] [options]\n"
        u"render --manifest FILE.json [options]\n"
        u"render --list-skins | --help | --version",
        u"Writes the button pictures the designer exports, without a window or a display.",
        [] { return OptionTable::rows(RenderOptions::table()); },
        []() -> QString {
            return QStringLiteral("Manifest keys: ") + OptionTable::manifestKeys(RenderOptions::table())
                + QStringLiteral(".\nA value that starts with \"--\" is given as --option=VALUE.\n");
        },
        &RenderCommand::run, {} };
    return command;
}

RenderOptions RenderOptions::parse(const QStringList &arguments)
{
    RenderOptions options;
    options.entry.origin = QStringLiteral("the command line");
    options.error = OptionTable::parse(table(), arguments, options);
    if (!options.error.isEmpty() || options.action != Action::Render)
        return options;
    if (!options.manifestPath.isEmpty()) {
        if (options.textGiven)
            options.error
                = QStringLiteral("--text cannot be used with --manifest: the manifest gives the captions");
        return options;
    }
    options.error = EntryValues::check(options.entry);
    return options;
}

} // namespace quillet::batch
