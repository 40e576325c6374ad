#include "batch/manualpage.h"

#include <QTextStream>

namespace quillet::batch::ManualPage {

namespace {

constexpr QStringView kDesigner
    = u"Without arguments, quillet opens the designer window: a list of skins and three "
      u"sample controls, a push button, a combo box and a check box, painted with the chosen "
      u"skin. Type the button text, set its width, height and font, and save the pictures of "
      u"every state of the samples, and optionally of the whole window, as BMP, JPG, GIF or PNG "
      u"files into a folder of your choice. The window needs a display: an X server named by "
      u"DISPLAY, or a Wayland compositor named by WAYLAND_DISPLAY when QT_QPA_PLATFORM is "
      u"wayland. Without one, quillet says so in one line and exits with 1. The about window "
      u"and the browser panel open from the designer window.";

constexpr QStringView kSubcommands
    = u"The subcommands below make the same pictures, and more, without a window or a display. "
      u"Each prints its options with --help. A value that starts with \"--\" is given as "
      u"--option=VALUE.";

constexpr QStringView kFiles
    = u".TP\n.I /usr/lib/quillet/skins/*.an\nThe skins offered in the skin list.\n"
      u".TP\n.I /usr/lib/quillet/sys/setup.dat\nThe remembered skin and output options, when the "
      u"program folder is writable.\n"
      u".TP\n.I \\(ti/.config/Quillet/setup.dat\nThe same, when the program folder is not writable; "
      u"without it the program folder\\(aqs file serves as the default.\n";

QString flat(QStringView text)
{
    return text.toString().replace(u'\n', u' ');
}

void writeOptions(QTextStream &page, const QList<OptionRow> &rows)
{
    for (const OptionRow &row : rows) {
        page << ".TP\n";
        if (!row.name.isEmpty())
            page << "\\fB" << escaped(row.name) << "\\fR" << (row.valueName.isEmpty() ? "" : " ");
        if (!row.valueName.isEmpty())
            page << "\\fI" << escaped(row.valueName) << "\\fR";
        page << '\n' << escaped(flat(row.help)) << '\n';
    }
}

void writeCommand(QTextStream &page, const Subcommand &command, const QString &words)
{
    page << ".SH \"QUILLET " << escaped(words.toUpper()) << "\"\n";
    for (const QString &form : Subcommands::synopsis(command))
        page << "\\fBquillet\\fR " << escaped(form) << "\n.br\n";
    page << ".PP\n" << escaped(flat(command.description)) << '\n';
    QList<OptionRow> rows;
    for (const Subcommand &verb : command.verbs)
        rows.append({ verb.name.toString(), {}, verb.summary.toString() });
    writeOptions(page, rows + command.options());
    if (command.notes)
        page << ".PP\n" << escaped(flat(command.notes()).trimmed()) << '\n';
    for (const Subcommand &verb : command.verbs)
        writeCommand(page, verb, words + u' ' + verb.name);
}

} // namespace

QString escaped(QStringView text)
{
    QString result;
    bool lineStart = true;
    for (const char32_t c : text.toUcs4()) {
        if (lineStart && c == u'.')
            result += QStringLiteral("\\&");
        lineStart = c == u'\n';
        if (c == u'\\')
            result += QStringLiteral("\\e");
        else if (c == u'-')
            result += QStringLiteral("\\-");
        else if (c == u'\'')
            result += QStringLiteral("\\(aq"); // else a typographic quote
        else if (c == u'`')
            result += QStringLiteral("\\(ga");
        else if (c == u'^')
            result += QStringLiteral("\\(ha");
        else if (c == u'~')
            result += QStringLiteral("\\(ti");
        else if (c >= 0x80)
            result += QStringLiteral("\\[u") + QString::number(uint(c), 16).toUpper().rightJustified(4, u'0')
                + u']';
        else
            result += QChar(c);
    }
    return result;
}

QString text(std::span<const Subcommand> commands, const QString &notes)
{
    QString result;
    QTextStream page(&result);
    page << ".\\\" Made by the build from the option tables in batch/; change those, not this.\n"
         << ".TH QUILLET 1 \"\" \"Quillet " << QStringLiteral(QUILLET_VERSION) << "\" \"User Commands\"\n"
         << ".nh\n.ad l\n.SH NAME\nquillet \\- make button images for web pages and program interfaces\n"
         << ".SH SYNOPSIS\n\\fBquillet\\fR\n.br\n";
    for (const Subcommand &command : commands) {
        for (const QString &form : Subcommands::synopsis(command))
            page << "\\fBquillet\\fR " << escaped(form) << "\n.br\n";
    }
    page << "\\fBquillet \\-\\-help\\fR | \\fB\\-\\-version\\fR\n.SH DESCRIPTION\n"
         << escaped(kDesigner) << "\n.PP\n"
         << escaped(flat(notes).trimmed()) << "\n.PP\n"
         << escaped(kSubcommands) << '\n';
    for (const Subcommand &command : commands)
        writeCommand(page, command, command.name.toString());
    page << ".SH \"EXIT STATUS\"\n";
    for (const auto &[code, meaning] : kExitCodes)
        page << ".TP\n.B " << int(code) << '\n' << escaped(meaning) << '\n';
    page << ".SH FILES\n" << kFiles;
    page.flush();
    return result;
}

} // namespace quillet::batch::ManualPage
