#include "batch/skincommand.h"

#include "batch/optiontable.h"
#include "batch/skinimport.h"
#include "skin/skinparser.h"
#include "render/legibilitycheck.h"

#include <QFileInfo>
#include <QTextStream>

namespace quillet::batch {

namespace {

constexpr QStringView kUsage
    = u"usage: quillet skin check [--strict] FILE...\n"
      u"       quillet skin import FILE.9.png [--hot F] [--pressed F] [--disabled F] "
      u"[--focus F] --name NAME [--out DIR] [--force]\n";

void print(QTextStream &out, const QString &file, int line, int column, bool error, const QString &message)
{
    out << file;
    if (line > 0)
        out << u':' << line << u':' << column;
    out << (error ? QLatin1String(": error: ") : QLatin1String(": warning: ")) << message << u'\n';
}

} // namespace

int SkinCommand::run(const QStringList &arguments, const Context &context)
{
    const QString verb = arguments.value(0);
    if (verb == u"check")
        return check(arguments.mid(1), context);
    if (verb == u"import")
        return skinimport::run(arguments.mid(1), context.programFolder, context.out, context.err);
    if (verb == u"--help" || verb == u"-h") {
        context.out << kUsage;
        context.out.flush();
        return Success;
    }
    context.err << kUsage;
    context.err.flush();
    return BadInput;
}

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
        } },
    { u"strict", u"", u"warnings count as errors (exit 2)", OptionKind::Flag, false,
        [](CheckOptions &o, const QString &) {
            o.strict = true;
            return QString();
        } },
    helpOption<CheckOptions>(),
};

} // namespace

int SkinCommand::check(const QStringList &arguments, const Context &context)
{
    CheckOptions options;
    const QString problem
        = OptionTable::parse(std::span<const OptionSpec<CheckOptions>>(kCheckTable), arguments, options);
    if (options.help) {
        context.out << kUsage << u'\n'
                    << OptionTable::usageLines(std::span<const OptionSpec<CheckOptions>>(kCheckTable));
        context.out.flush();
        return Success;
    }
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
            print(context.out, file, 0, 0, false,
                m.contrast == 0
                    ? QStringLiteral("[%1] %2 not found in the sample").arg(probe.section, probe.glyph)
                    : QStringLiteral("[%1] %2 contrast %3:1 is below %4:1 (%5 on %6)")
                          .arg(probe.section, probe.glyph)
                          .arg(m.contrast, 0, 'f', 2)
                          .arg(probe.minimum)
                          .arg(m.glyph.name(), m.background.name()));
        }
    }
    context.out.flush();
    return errors > 0 || (strict && warnings > 0) ? BadInput : Success;
}

} // namespace quillet::batch
