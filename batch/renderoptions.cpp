#include "batch/renderoptions.h"

#include "batch/entryvalues.h"
#include "pictures/pictureformat.h"

namespace quillet::batch {

namespace {

using Spec = OptionSpec<RenderOptions>;

QString setFlag(bool &target, const QString &value)
{
    target = value == u"true";
    return {};
}

const Spec kTable[] = {
    { u"skin", u"NAME", u"skin as listed by --list-skins", OptionKind::Text, true,
        [](RenderOptions &o, const QString &v) {
            o.entry.skin = v;
            return QString();
        } },
    { u"text", u"CAPTION", u"button caption; repeat for more buttons", OptionKind::Repeated, true,
        [](RenderOptions &o, const QString &v) {
            o.entry.captions.append(v);
            o.textGiven = true;
            return QString();
        } },
    { u"width", u"N", u"button width in pixels (default 104)", OptionKind::Number, true,
        [](RenderOptions &o, const QString &v) {
            return EntryValues::setSide(QStringLiteral("--width"), v, &o.entry.width);
        } },
    { u"height", u"N", u"button height in pixels (default 24)", OptionKind::Number, true,
        [](RenderOptions &o, const QString &v) {
            return EntryValues::setSide(QStringLiteral("--height"), v, &o.entry.height);
        } },
    { u"font", u"\"FAMILY SIZE\"", u"caption font (default \"宋体 9\")", OptionKind::Text, true,
        [](RenderOptions &o, const QString &v) { return EntryValues::setFont(v, o.entry); } },
    { u"border-removal", u"", u"cut the button's 1 pixel border off", OptionKind::Flag, true,
        [](RenderOptions &o, const QString &v) { return setFlag(o.entry.borderRemoval, v); } },
    { u"controls", u"LIST", u"any of button,combo,check (default button)", OptionKind::List, true,
        [](RenderOptions &o, const QString &v) { return EntryValues::setControls(v, o.entry); } },
    { u"format", u"F", u"png, gif, jpg, bmp or webp (lossless) (default png)", OptionKind::Text, true,
        [](RenderOptions &o, const QString &v) { return EntryValues::setFormat(v, o.entry); } },
    { u"scale", u"LIST",
        u"any of 1,1.5,2,3: each ratio but 1 adds NAME@2x (@1.5x, @3x) pictures\n"
        u"drawn anew at that resolution (default 1)",
        OptionKind::List, true,
        [](RenderOptions &o, const QString &v) { return EntryValues::setScale(v, o.entry); } },
    { u"transparent", u"", u"PNG and WebP with an alpha channel, GIF with a transparent colour",
        OptionKind::Flag, true,
        [](RenderOptions &o, const QString &v) { return setFlag(o.entry.transparent, v); } },
    { u"sprite", u"", u"NAME_sprite.png with the four states, NAME.css and NAME.html", OptionKind::Flag, true,
        [](RenderOptions &o, const QString &v) { return setFlag(o.entry.sprite, v); } },
    { u"focus", u"", u"also the button with the keyboard focus, NAME_焦点 (a fifth sprite band)",
        OptionKind::Flag, true,
        [](RenderOptions &o, const QString &v) { return setFlag(o.entry.focus, v); } },
    { u"icon", u"FILE", u"an SVG or PNG icon in the button (in a manifest: relative to it)", OptionKind::Text,
        true,
        [](RenderOptions &o, const QString &v) { return EntryValues::setIcon(v, o.baseFolder, o.entry); } },
    { u"icon-position", u"P", u"left (default), right or top of the caption", OptionKind::Text, true,
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
        } },
    { u"manifest", u"FILE.json",
        u"an array of objects whose keys are the options above\n(without the dashes)", OptionKind::Text,
        false,
        [](RenderOptions &o, const QString &v) {
            o.manifestPath = v;
            return QString();
        } },
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
    return QStringLiteral("Usage: quillet render --skin NAME --text CAPTION [--text CAPTION ...] [options]\n"
                          "       quillet render --manifest FILE.json [options]\n"
                          "       quillet render --list-skins | --help | --version\n"
                          "\n"
                          "Writes the button pictures the designer exports, without a window or a display.\n"
                          "\n")
        + OptionTable::usageLines(table()) + QStringLiteral("\nManifest keys: ")
        + OptionTable::manifestKeys(table())
        + QStringLiteral(".\nA value that starts with \"--\" is given as --option=VALUE.\n");
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
