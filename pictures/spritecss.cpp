#include "pictures/spritecss.h"

#include "model/statetable.h"

#include <QStringList>
#include <QUrl>

namespace quillet::pictures {

using model::OutputGroup;
using model::SampleState;
using model::StateRow;
namespace states = model::states;

QString SpriteCss::url(const QString &fileName)
{
    return QStringLiteral("url(\"") + QString::fromLatin1(QUrl::toPercentEncoding(fileName))
        + QStringLiteral("\")");
}

QString SpriteCss::text(const Sheet &sheet)
{
    const QString selector = u'.' + sheet.className;
    const int width = sheet.buttonSize.width();
    const int height = sheet.buttonSize.height();
    const auto px = [](int value) -> QString {
        return value == 0 ? QStringLiteral("0") : QString::number(value) + u"px";
    };
    const auto band = [&](int index) -> QString { return QStringLiteral("0 ") + px(-index * height); };
    const QString one = sheet.files.isEmpty() ? QString() : url(sheet.files.first().file);

    QString css;
    css += selector + QStringLiteral(" {\n");
    css += QStringLiteral("  display: inline-block;\n");
    css += QStringLiteral("  width: ") + px(width) + QStringLiteral(";\n");
    css += QStringLiteral("  height: ") + px(height) + QStringLiteral(";\n");
    css += QStringLiteral("  margin: 0;\n  padding: 0;\n  border: 0;\n");
    css += QStringLiteral("  background-color: transparent;\n");
    css += QStringLiteral("  background-image: ") + one + QStringLiteral(";\n");
    if (sheet.files.size() > 1) {
        QStringList densities;
        for (const SheetFile &file : sheet.files)
            densities.append(url(file.file) + u' ' + QString::number(file.ratio) + u'x');
        const QString set = densities.join(QStringLiteral(", "));
        css += QStringLiteral("  background-image: -webkit-image-set(") + set + QStringLiteral(");\n");
        css += QStringLiteral("  background-image: image-set(") + set + QStringLiteral(");\n");
    }
    css += QStringLiteral("  background-repeat: no-repeat;\n");
    // Every sheet is drawn at the 1x sheet's size: every band stacked.
    const QList<StateRow> bands = states::spriteBands(sheet.focus);
    css += QStringLiteral("  background-size: ") + px(width) + u' ' + px(int(bands.size()) * height)
        + QStringLiteral(";\n");
    css += QStringLiteral("  background-position: ") + band(0) + QStringLiteral(";\n");
    css += QStringLiteral("  cursor: pointer;\n");
    css += QStringLiteral("}\n");
    // In the kit's order: focus before pressed, so a button held down by the keyboard shows
    // that it is pressed; disabled last, so a disabled button under the mouse stays disabled.
    for (const StateRow &row : states::kitRules(OutputGroup::ButtonStates)) {
        if (row.band <= 0 || (row.state == SampleState::Focused && !sheet.focus))
            continue;
        const bool disabled = row.state == SampleState::Disabled;
        css += selector + row.pseudoClass
            + (disabled ? QStringLiteral(",\n") + selector + QStringLiteral(".disabled") : QString())
            + QStringLiteral(" {\n  background-position: ") + band(row.band) + QStringLiteral(";\n");
        if (row.state == SampleState::Focused)
            css += QStringLiteral("  outline: none;\n");
        if (disabled)
            css += QStringLiteral("  cursor: default;\n");
        css += QStringLiteral("}\n");
    }
    return css;
}

} // namespace quillet::pictures
