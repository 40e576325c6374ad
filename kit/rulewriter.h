#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace quillet::kit {

struct Declaration
{
    QString property;
    QString value;
};
using Declarations = QList<Declaration>;

// Style sheet text in the kit's one layout: two spaces per level, each selector of a rule on
// its own line, one declaration a line, the closing brace on a line of its own.
class RuleWriter
{
public:
    void rule(const QStringList &selectors, const Declarations &declarations);
    void rule(const QString &selector, const Declarations &declarations);
    // text must already be safe inside a comment.
    void comment(const QString &text);
    // An at-rule ("@media (...)") whose rules follow, one level in, until close().
    void open(const QString &prelude);
    void close();
    const QString &text() const { return m_text; }

private:
    QString m_text;
    QString m_indent;
};

} // namespace quillet::kit
