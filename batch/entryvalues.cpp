#include "batch/entryvalues.h"

#include "output/exportnaming.h"

namespace quillet::batch {

namespace {
QString quoted(const QString &text)
{
    return u'"' + text + u'"';
}
} // namespace

QString EntryValues::setSide(const QString &option, const QString &text, int *side)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 1 || value > kMaxSide)
        return option + QStringLiteral(": ") + quoted(text)
            + QStringLiteral(" is not a whole number from 1 to ") + QString::number(kMaxSide);
    *side = value;
    return {};
}

QString EntryValues::setControls(const QString &text, RenderEntry &entry)
{
    bool button = false;
    bool combo = false;
    bool check = false;
    for (const QString &part : text.split(u',')) {
        const QString name = part.trimmed();
        if (name == u"button")
            button = true;
        else if (name == u"combo")
            combo = true;
        else if (name == u"check")
            check = true;
        else
            return QStringLiteral("--controls: unknown control ") + quoted(name)
                + QStringLiteral(" (use button, combo, check)");
    }
    entry.button = button;
    entry.combo = combo;
    entry.check = check;
    return {};
}

QString EntryValues::setFormat(const QString &text, RenderEntry &entry)
{
    if (!output::PictureBytes::formatFromName(text.trimmed(), &entry.format)
        || text.trimmed().startsWith(u'.'))
        return QStringLiteral("--format: unknown format ") + quoted(text)
            + QStringLiteral(" (use png, gif, jpg, bmp)");
    return {};
}

QString EntryValues::setScale(const QString &text, RenderEntry &entry)
{
    QList<int> ratios;
    for (const QString &part : text.split(u',')) {
        const QString value = part.trimmed();
        if (value != u"1" && value != u"2")
            return QStringLiteral("--scale: ") + quoted(text) + QStringLiteral(" is not 1, 2 or 1,2");
        if (!ratios.contains(value.toInt()))
            ratios.append(value.toInt());
    }
    std::sort(ratios.begin(), ratios.end());
    entry.ratios = ratios;
    return {};
}

bool EntryValues::parseFont(const QString &text, QFont *font)
{
    const QString trimmed = text.trimmed();
    const qsizetype space = trimmed.lastIndexOf(u' ');
    if (space <= 0)
        return false;
    bool ok = false;
    const int size = trimmed.mid(space + 1).toInt(&ok);
    const QString family = trimmed.left(space).trimmed();
    if (!ok || size < 1 || size > kMaxPointSize || family.isEmpty())
        return false;
    if (font) {
        *font = QFont(family);
        font->setPointSize(size);
    }
    return true;
}

QString EntryValues::setFont(const QString &text, RenderEntry &entry)
{
    if (!parseFont(text, nullptr))
        return QStringLiteral("--font: ") + quoted(text)
            + QStringLiteral(" is not \"FAMILY SIZE\" with a size from 1 to ")
            + QString::number(kMaxPointSize);
    entry.font = text.trimmed();
    return {};
}

QString EntryValues::check(const RenderEntry &entry)
{
    if (entry.skin.isEmpty())
        return QStringLiteral("--skin is missing");
    if (entry.captions.isEmpty())
        return QStringLiteral("--text is missing");
    if (!entry.button && !entry.combo && !entry.check)
        return QStringLiteral("--controls names no control");
    if (entry.sprite && !entry.button)
        return QStringLiteral("--sprite needs the button control");
    for (const QString &caption : entry.captions) {
        // The caption becomes a file name: nothing that could leave the output folder.
        if (caption.contains(u'/') || caption.contains(u'\\') || caption.contains(QStringLiteral("..")))
            return QStringLiteral("--text: caption ") + quoted(caption)
                + QStringLiteral(" contains \"/\", \"\\\" or \"..\"");
        if (!output::ExportNaming::isSafeFileName(caption))
            return QStringLiteral("--text: caption ") + quoted(caption)
                + QStringLiteral(" cannot be a file name");
    }
    return {};
}

} // namespace quillet::batch
