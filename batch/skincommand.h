#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

namespace quillet::batch {

// "quillet skin check|import ...": the designer's tools for making skins. Needs a
// QApplication (offscreen is enough) with the program's font substitutions installed.
class SkinCommand
{
public:
    enum ExitCode { Success = 0, WriteFailed = 1, BadInput = 2 };

    struct Context
    {
        QString programFolder; // import writes into its skins/ folder unless told otherwise
        QTextStream &out;
        QTextStream &err;
    };

    // arguments: what follows "skin".
    static int run(const QStringList &arguments, const Context &context);

private:
    static int check(const QStringList &arguments, const Context &context);
};

} // namespace quillet::batch
