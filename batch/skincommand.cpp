#include "batch/skincommand.h"

#include "batch/optiontable.h"
#include "batch/skinimport.h"
#include "render/legibilitycheck.h"
#include "skin/skinparser.h"

#include <QFileInfo>
#include <QTextStream>

namespace quillet::batch {

namespace {

void print(QTextStream &out, const QString &file, int line, int column, bool error, const QString &message)
{
    out << file;
    if (line > 0)
        out << u':' << line << u':' << column;
    out << (error ? QLatin1String(": error: ") : QLatin1String(": warning: ")) << message << u'\n';
}

} // namespace

namespace {

struct CheckOptions
{
    bool strict = false;
    bool help = false;
    QStringList files;
};

const OptionSpec<CheckOptions> kCheckTable[] = {
    { u"", u"FILE...", u"the skin files to check", OptionKind::Positional, false,
        [](CheckOptions &o, const QString &v) {
            o.files.append(v);
            return QString();
        },
        ValueHint::File },
    { u"strict", u"", u"warnings count as errors (exit 2)", OptionKind::Flag, false,
        [](CheckOptions &o, const QString &) {
            o.strict = true;
            return QString();
        } },
    helpOption<CheckOptions>(),
};

struct SkinOptions
{
    bool help = false;
};

const OptionSpec<SkinOptions> kSkinTable[] = { helpOption<SkinOptions>() };

std::span<const Subcommand> verbs()
{
    static const Subcommand list[] = {
        { u"check", u"check skin files: errors, warnings and legibility", u"skin check [--strict] FILE...",
            u"Reports the errors and warnings in skin files, and every caption, drop arrow, check\n"
            u"mark and focus ring that does not stand out enough; exits with 2 when there are\n"
            u"errors (or warnings, with --strict).",
            [] { return OptionTable::rows(std::span<const OptionSpec<CheckOptions>>(kCheckTable)); }, nullptr,
            &SkinCommand::check, {} },
        skinimport::subcommand(),
    };
    return list;
}

} // namespace

const Subcommand &SkinCommand::subcommand()
{
    static const Subcommand command { u"skin",
        u"check a skin file, or import nine-patch pictures as one (quillet skin --help)", {},
        u"The designer's tools for making skins. Each verb has its own --help.",
        [] { return OptionTable::rows(std::span<const OptionSpec<SkinOptions>>(kSkinTable)); }, nullptr,
        &SkinCommand::run, verbs() };
    return command;
}

int SkinCommand::run(const QStringList &arguments, const Context &context)
{
    const Subcommand &skin = subcommand();
    if (const Subcommand *verb = Subcommands::find(skin.verbs, arguments.value(0)))
        return verb->run(arguments.mid(1), context);
    SkinOptions options;
    const QString problem
        = OptionTable::parse(std::span<const OptionSpec<SkinOptions>>(kSkinTable), arguments, options);
    if (options.help && problem.isEmpty())
        return Subcommands::printUsage(skin, context);
    context.err << "Usage: quillet " << Subcommands::synopsis(skin).join(QStringLiteral("\n       quillet "))
                << u'\n';
    context.err.flush();
    return BadInput;
}

int SkinCommand::check(const QStringList &arguments, const Context &context)
{
    CheckOptions options;
    const QString problem
        = OptionTable::parse(std::span<const OptionSpec<CheckOptions>>(kCheckTable), arguments, options);
    if (options.help)
        return Subcommands::printUsage(*Subcommands::find(verbs(), u"check"), context);
    if (!problem.isEmpty() || options.files.isEmpty()) {
        context.err << "quillet skin check: "
                    << (problem.isEmpty() ? QStringLiteral("no skin file given") : problem) << u'\n';
        context.err.flush();
        return BadInput;
    }
    const bool strict = options.strict;
    const QStringList files = options.files;
    int errors = 0;
    int warnings = 0;
    for (const QString &file : std::as_const(files)) {
        QList<skin::SkinDiagnostic> diagnostics;
        const skin::Skin skin = skin::SkinParser::parseFile(file, &diagnostics);
        for (const skin::SkinDiagnostic &d : std::as_const(diagnostics)) {
            const bool error = d.severity == skin::SkinDiagnostic::Severity::Error;
            (error ? errors : warnings)++;
            print(context.out, file, d.line, d.column, error, d.message);
        }
        if (!QFileInfo(file).isFile())
            continue;
        for (const render::LegibilityProbe &probe : render::legibility::measureSkin(skin)) {
            if (probe.passes())
                continue;
            ++warnings;
            const skin::Legibility &m = probe.measure;
            if (probe.size.isValid()) {
                print(context.out, file, 0, 0, false,
                    QStringLiteral("[%1] %2 changes %3 pixels at %4:1, %5 needed (%6x%7 at %8x)")
                        .arg(probe.section, probe.glyph)
                        .arg(m.glyphPixels)
                        .arg(probe.minimum)
                        .arg(m.backgroundPixels)
                        .arg(probe.size.width())
                        .arg(probe.size.height())
                        .arg(probe.ratio));
                continue;
            }
            print(context.out, file, 0, 0, false,
                m.contrast == 0
                    ? QStringLiteral("[%1] %2 not found in the sample").arg(probe.section, probe.glyph)
                    : QStringLiteral("[%1] %2%3 reads at %4:1 over 90 % of its body, below %5:1 (%6 on %7 "
                                     "where weakest; median %8:1 on %9)")
                          .arg(probe.section, probe.glyph,
                              probe.caption.isEmpty() ? QString()
                                                      : QStringLiteral(" \"%1\"").arg(probe.caption))
                          .arg(m.contrast, 0, 'f', 2)
                          .arg(probe.minimum)
                          .arg(m.glyph.name(), m.weakestBackground.name())
                          .arg(m.medianContrast, 0, 'f', 2)
                          .arg(m.background.name()));
        }
    }
    context.out.flush();
    return errors > 0 || (strict && warnings > 0) ? BadInput : Success;
}

} // namespace quillet::batch
