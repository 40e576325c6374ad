#include "batch/entryvalues.h"

#include "batch/optiontable.h"
#include "model/metrics.h"
#include "render/loadedicon.h"
#include "skin/accent.h"

#include "pictures/exportnaming.h"
#include "pictures/nametemplate.h"
#include "pictures/pictureformat.h"
#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace quillet::batch {

namespace {
// Control characters shown as escapes, so a refusal stays one readable line.
QString quoted(const QString &text)
{
    QString shown;
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return u'"' + shown + u'"';
}

// Quotes, backslashes and control characters have no business in a family name, and the
// style sheets that name it are safer without them.
bool isPlainFamily(QStringView family)
{
    for (const QChar c : family) {
        if (c == u'"' || c == u'\'' || c == u'\\' || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
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

QStringList EntryValues::controlNames()
{
    QStringList names;
    for (QStringView name : kControls)
        names.append(name.toString());
    return names;
}

QString EntryValues::setControls(const QString &text, RenderEntry &entry)
{
    bool chosen[std::size(kControls)] = {};
    for (const QString &part : text.split(u',')) {
        const QString name = part.trimmed();
        const auto found = std::find(std::begin(kControls), std::end(kControls), name);
        if (found == std::end(kControls))
            return QStringLiteral("--controls: unknown control ") + quoted(name) + QStringLiteral(" (use ")
                + controlNames().join(QStringLiteral(", ")) + u')';
        chosen[found - std::begin(kControls)] = true;
    }
    entry.button = chosen[0];
    entry.combo = chosen[1];
    entry.check = chosen[2];
    return {};
}

QString EntryValues::setFormat(const QString &text, RenderEntry &entry)
{
    const auto format = pictures::Formats::fromName(text.trimmed());
    if (!format || text.trimmed().startsWith(u'.'))
        return QStringLiteral("--format: unknown format ") + quoted(text) + QStringLiteral(" (use ")
            + pictures::Formats::names() + u')';
    entry.format = *format;
    return {};
}

QStringList EntryValues::ratioNames(std::span<const qreal> ratios)
{
    QStringList names;
    for (qreal ratio : ratios)
        names.append(QString::number(ratio));
    return names;
}

QString EntryValues::setRatios(
    const QString &text, std::span<const qreal> allowed, QStringView note, QList<qreal> *ratios)
{
    QList<qreal> chosen;
    for (const QString &part : text.split(u',')) {
        bool ok = false;
        const qreal ratio = part.trimmed().toDouble(&ok);
        if (!ok || std::find(allowed.begin(), allowed.end(), ratio) == allowed.end())
            return QStringLiteral("--scale: ") + quoted(text) + QStringLiteral(" is not a list of ")
                + OptionTable::listText(ratioNames(allowed), u" and ") + note;
        if (!chosen.contains(ratio))
            chosen.append(ratio);
    }
    std::sort(chosen.begin(), chosen.end());
    *ratios = chosen;
    return {};
}

QString EntryValues::setScale(const QString &text, RenderEntry &entry)
{
    return setRatios(text, kRatios, {}, &entry.ratios);
}

QString EntryValues::setName(const QString &text, RenderEntry &entry)
{
    const QString problem = pictures::NameTemplate::problem(text);
    if (!problem.isEmpty())
        return QStringLiteral("--name: ") + quoted(text) + QStringLiteral(": ") + problem;
    entry.nameTemplate = text;
    return {};
}

QString EntryValues::setIcon(const QString &text, const QString &baseFolder, RenderEntry &entry)
{
    if (text.isEmpty()) {
        entry.icon.file.clear();
        return {};
    }
    const QString path
        = QFileInfo(baseFolder.isEmpty() ? QDir::current() : QDir(baseFolder), text).absoluteFilePath();
    const QString problem = render::iconProblem(path);
    if (!problem.isEmpty())
        return QStringLiteral("--icon: ") + quoted(text) + u' ' + problem;
    entry.icon.file = path;
    return {};
}

QStringList EntryValues::iconPositionNames()
{
    QStringList names;
    for (const auto &[name, position] : kIconPositions)
        names.append(name.toString());
    return names;
}

QString EntryValues::setIconPosition(const QString &text, RenderEntry &entry)
{
    for (const auto &[name, position] : kIconPositions) {
        if (text.trimmed() == name) {
            entry.icon.position = position;
            return {};
        }
    }
    return QStringLiteral("--icon-position: ") + quoted(text) + QStringLiteral(" is not ")
        + OptionTable::listText(iconPositionNames());
}

QString EntryValues::setIconSize(const QString &text, RenderEntry &entry)
{
    bool ok = false;
    const int size = text.trimmed().toInt(&ok);
    if (!ok || size < 1 || size > kMaxIconSize)
        return QStringLiteral("--icon-size: ") + quoted(text)
            + QStringLiteral(" is not a whole number from 1 to ") + QString::number(kMaxIconSize);
    entry.icon.size = size;
    return {};
}

QString EntryValues::fontProblem(const QString &text)
{
    const QString trimmed = text.trimmed();
    const QString family = trimmed.left(qMax(0, int(trimmed.lastIndexOf(u' ')))).trimmed();
    if (!family.isEmpty() && !isPlainFamily(family))
        return QStringLiteral("--font: ") + quoted(text)
            + QStringLiteral(": a font family holds no quotes, backslashes or control characters");
    if (!parseFont(text, nullptr))
        return QStringLiteral("--font: ") + quoted(text)
            + QStringLiteral(" is not \"FAMILY SIZE\" with a size from 1 to ")
            + QString::number(kMaxPointSize);
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
    if (!ok || size < 1 || size > kMaxPointSize || family.isEmpty() || !isPlainFamily(family))
        return false;
    if (font) {
        *font = QFont(family);
        font->setPointSize(size);
    }
    return true;
}

QString EntryValues::setFont(const QString &text, RenderEntry &entry)
{
    if (const QString problem = fontProblem(text); !problem.isEmpty())
        return problem;
    entry.font = text.trimmed();
    return {};
}

QString EntryValues::setAccent(const QString &text, QColor *accent)
{
    QString problem;
    const QColor colour = skin::accent::parse(text, &problem);
    if (!colour.isValid())
        return QStringLiteral("--accent: ") + quoted(text) + u' ' + problem;
    *accent = colour;
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
    if (entry.focus && !entry.button)
        return QStringLiteral("--focus needs the button control");
    if (entry.checkStates && !entry.check)
        return QStringLiteral("--check-states needs the check control");
    // A picture is a whole number of pixels at every ratio, or CSS would have to place half
    // pixels.
    for (qreal ratio : entry.ratios) {
        const auto whole = [ratio](int side) { return std::fmod(side * ratio, 1.0) == 0.0; };
        const QString at = QStringLiteral("--scale ") + QString::number(ratio);
        if (entry.button && !whole(entry.width))
            return at + QStringLiteral(" of --width ") + QString::number(entry.width)
                + QStringLiteral(" gives half pixels; choose an even width");
        if (entry.button && !whole(entry.height))
            return at + QStringLiteral(" of --height ") + QString::number(entry.height)
                + QStringLiteral(" gives half pixels; choose an even height");
        if (entry.check && !whole(model::Metrics::kCheckSide))
            return at + QStringLiteral(" gives the check box (") + QString::number(model::Metrics::kCheckSide)
                + QStringLiteral(" pixels) half pixels; use --scale 1, 2 or 3 with --controls check");
    }
    // Checked before anything is drawn: the largest picture of the entry fits the budget.
    const qint64 bands = entry.sprite ? (entry.focus ? 5 : 4) : 1;
    for (qreal ratio : entry.ratios) {
        const qint64 pixels = qint64(entry.width * ratio) * qint64(entry.height * ratio) * bands;
        if (entry.button && pixels > kMaxPicturePixels)
            return QStringLiteral("--width %1 by --height %2 at --scale %3%4 is %5 megapixels; a picture "
                                  "holds at most %6 megapixels")
                .arg(entry.width)
                .arg(entry.height)
                .arg(ratio)
                .arg(entry.sprite ? QStringLiteral(" as a sprite sheet") : QString())
                .arg(double(pixels) / 1e6, 0, 'f', 1)
                .arg(double(kMaxPicturePixels) / 1e6, 0, 'f', 1);
    }
    // A template that does not name files by the caption leaves the caption free.
    const bool namesByCaption = entry.nameTemplate.isEmpty() || entry.nameTemplate.contains(QStringLiteral("{text}"));
    for (const QString &caption : entry.captions) {
        if (!namesByCaption)
            break;
        // The caption becomes a file name: nothing that could leave the output folder.
        if (caption.contains(u'/') || caption.contains(u'\\') || caption.contains(QStringLiteral("..")))
            return QStringLiteral("--text: caption ") + quoted(caption)
                + QStringLiteral(" contains \"/\", \"\\\" or \"..\"");
        if (!pictures::ExportNaming::isSafeFileName(caption))
            return QStringLiteral("--text: caption ") + quoted(caption)
                + QStringLiteral(" cannot be a file name");
    }
    return {};
}

} // namespace quillet::batch
