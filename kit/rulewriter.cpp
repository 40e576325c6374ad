#include "kit/rulewriter.h"

namespace quillet::kit {

namespace {

const QString kLevel = QStringLiteral("  ");

} // namespace

void RuleWriter::rule(const QStringList &selectors, const Declarations &declarations)
{
    m_text += m_indent + selectors.join(u",\n" + m_indent) + QStringLiteral(" {\n");
    for (const Declaration &declaration : declarations)
        m_text += m_indent + kLevel + declaration.property + QStringLiteral(": ") + declaration.value
            + QStringLiteral(";\n");
    m_text += m_indent + QStringLiteral("}\n");
}

void RuleWriter::rule(const QString &selector, const Declarations &declarations)
{
    rule(QStringList { selector }, declarations);
}

void RuleWriter::comment(const QString &text)
{
    m_text += m_indent + QStringLiteral("/* ") + text + QStringLiteral(" */\n");
}

void RuleWriter::open(const QString &prelude)
{
    m_text += m_indent + prelude + QStringLiteral(" {\n");
    m_indent += kLevel;
}

void RuleWriter::close()
{
    m_indent.chop(kLevel.size());
    m_text += m_indent + QStringLiteral("}\n");
}

} // namespace quillet::kit
