#include "batch/skincommand.h"

#include "batch/skinimport.h"
#include "platform/skin/skinparser.h"
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

int SkinCommand::check(const QStringList &arguments, const Context &context)
{
    bool strict = false;
    QStringList files;
    for (const QString &argument : arguments) {
        if (argument == u"--strict") {
            strict = true;
        } else if (argument.startsWith(u"--")) {
            context.err << "quillet skin check: unknown option " << argument << u'\n' << kUsage;
            context.err.flush();
            return BadInput;
        } else {
            files << argument;
        }
    }
    if (files.isEmpty()) {
        context.err << kUsage;
        context.err.flush();
        return BadInput;
    }
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
