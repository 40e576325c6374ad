#include "batch/subcommand.h"

namespace quillet::batch::Subcommands {

const Subcommand *find(std::span<const Subcommand> list, QStringView name)
{
    for (const Subcommand &command : list) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

QStringList synopsis(const Subcommand &command)
{
    if (!command.synopsis.isEmpty())
        return command.synopsis.toString().split(u'\n');
    QStringList forms;
    for (const Subcommand &verb : command.verbs)
        forms += synopsis(verb);
    return forms;
}

QString usage(const Subcommand &command)
{
    const QStringList forms = synopsis(command);
    QString text = QStringLiteral("Usage: quillet ") + forms.join(QStringLiteral("\n       quillet "))
        + QStringLiteral("\n\n") + command.description + QStringLiteral("\n\n");
    if (!command.verbs.empty()) {
        QList<OptionRow> verbs;
        for (const Subcommand &verb : command.verbs)
            verbs.append({ verb.name.toString(), {}, verb.summary.toString() });
        text += OptionTable::optionLines(verbs) + u'\n';
    }
    text += OptionTable::optionLines(command.options());
    if (command.notes)
        text += u'\n' + command.notes();
    return text;
}

int printUsage(const Subcommand &command, const CommandContext &context)
{
    context.out << usage(command);
    context.out.flush();
    return Success;
}

} // namespace quillet::batch::Subcommands
