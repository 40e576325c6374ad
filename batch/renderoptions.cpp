#include "batch/renderoptions.h"

#include "batch/entryvalues.h"

namespace quillet::batch {

QString RenderOptions::usage()
{
    return QStringLiteral(
        "Usage: quillet render --skin NAME --text CAPTION [--text CAPTION ...] [options]\n"
        "       quillet render --manifest FILE.json [options]\n"
        "       quillet render --list-skins | --help | --version\n"
        "\n"
        "Writes the button pictures the designer exports, without a window or a display.\n"
        "\n"
        "  --skin NAME           skin as listed by --list-skins\n"
        "  --text CAPTION        button caption; repeat for more buttons\n"
        "  --width N             button width in pixels (default 104)\n"
        "  --height N            button height in pixels (default 24)\n"
        "  --font \"FAMILY SIZE\"  caption font (default \"宋体 9\")\n"
        "  --border-removal      cut the button's 1 pixel border off\n"
        "  --controls LIST       any of button,combo,check (default button)\n"
        "  --format F            png, gif, jpg or bmp (default png)\n"
        "  --scale S             1, 2 or 1,2: 2 adds NAME@2x pictures drawn at double resolution\n"
        "  --transparent         PNG with an alpha channel, GIF with a transparent colour\n"
        "  --sprite              NAME_sprite.png with the four states, NAME.css and NAME.html\n"
        "  --out DIR             folder to write into (default: the current folder)\n"
        "  --manifest FILE.json  an array of objects with the keys skin, text, width, height,\n"
        "                        font, border-removal, controls, format, scale, transparent, sprite\n"
        "  --list-skins          print the skin names in list order\n"
        "  --help, --version\n"
        "\n"
        "A value that starts with \"--\" is given as --option=VALUE.\n");
}

RenderOptions RenderOptions::parse(const QStringList &arguments)
{
    RenderOptions options;
    options.entry.origin = QStringLiteral("the command line");
    bool textGiven = false;
    const auto fail = [&](const QString &message) {
        options.error = message;
        return options;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString name = arguments.at(i);
        QString value;
        bool inlineValue = false;
        if (name.startsWith(QStringLiteral("--")) && name.contains(u'=')) {
            value = name.mid(name.indexOf(u'=') + 1);
            name = name.left(name.indexOf(u'='));
            inlineValue = true;
        }
        const auto takeValue = [&]() -> bool {
            if (inlineValue)
                return true;
            // A following option is not a value: "--width --out x" lacks the width.
            if (i + 1 >= arguments.size() || arguments.at(i + 1).startsWith(QStringLiteral("--")))
                return false;
            value = arguments.at(++i);
            return true;
        };
        const auto flag = [&](bool &target) -> QString {
            if (inlineValue)
                return name + QStringLiteral(" takes no value");
            target = true;
            return {};
        };

        QString problem;
        if (name == u"--help" || name == u"-h") {
            options.action = Action::Help;
            return options;
        }
        if (name == u"--version") {
            options.action = Action::Version;
            return options;
        }
        if (name == u"--list-skins") {
            options.action = Action::ListSkins;
            continue;
        }
        if (name == u"--border-removal") {
            problem = flag(options.entry.borderRemoval);
        } else if (name == u"--transparent") {
            problem = flag(options.entry.transparent);
        } else if (name == u"--sprite") {
            problem = flag(options.entry.sprite);
        } else if (name == u"--skin" || name == u"--text" || name == u"--width" || name == u"--height"
            || name == u"--font" || name == u"--controls" || name == u"--format" || name == u"--scale"
            || name == u"--out" || name == u"--manifest") {
            if (!takeValue())
                return fail(name + QStringLiteral(" needs a value"));
            if (name == u"--skin") {
                options.entry.skin = value;
            } else if (name == u"--text") {
                options.entry.captions.append(value);
                textGiven = true;
            } else if (name == u"--width") {
                problem = EntryValues::setSide(name, value, &options.entry.width);
            } else if (name == u"--height") {
                problem = EntryValues::setSide(name, value, &options.entry.height);
            } else if (name == u"--font") {
                problem = EntryValues::setFont(value, options.entry);
            } else if (name == u"--controls") {
                problem = EntryValues::setControls(value, options.entry);
            } else if (name == u"--format") {
                problem = EntryValues::setFormat(value, options.entry);
            } else if (name == u"--scale") {
                problem = EntryValues::setScale(value, options.entry);
            } else if (name == u"--out") {
                if (value.isEmpty())
                    return fail(QStringLiteral("--out: the folder name is empty"));
                options.out = value;
            } else {
                options.manifestPath = value;
            }
        } else {
            return fail(
                QStringLiteral("unknown option \"") + arguments.at(i) + QStringLiteral("\" (see --help)"));
        }
        if (!problem.isEmpty())
            return fail(problem);
    }
    if (options.action != Action::Render)
        return options;
    if (!options.manifestPath.isEmpty()) {
        if (textGiven)
            return fail(
                QStringLiteral("--text cannot be used with --manifest: the manifest gives the captions"));
        return options;
    }
    const QString problem = EntryValues::check(options.entry);
    if (!problem.isEmpty())
        return fail(problem);
    return options;
}

} // namespace quillet::batch
