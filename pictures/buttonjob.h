#pragma once

#include "model/buttonicon.h"
#include "model/metrics.h"
#include "pictures/exportnaming.h"
#include "pictures/picturebytes.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QSize>
#include <QString>

namespace quillet::pictures {

// Everything one export of rendered pictures depends on: the designer fills it from its
// controls, the batch command from its options or a manifest entry. Equal jobs give
// equal files.
struct ButtonJob
{
    QString caption;
    QSize buttonSize { model::Metrics::kButtonWidth, model::Metrics::kButtonHeight };
    QFont font;
    bool borderRemoval = false;
    // The push button's icon; none when its file is empty.
    model::ButtonIcon icon;
    bool button = true;
    bool combo = false;
    bool check = false;
    QSize dropSize { model::Metrics::kDropWidth, model::Metrics::kDropHeight };
    // The combo's own height, when the drop button picture shows only its top part.
    int comboHeight = model::Metrics::kComboHeight;
    QFont comboFont;
    QSize checkSize { model::Metrics::kCheckSide, model::Metrics::kCheckSide };
    QFont checkFont;
    PictureFormat format = PictureFormat::Png;
    // Device-pixel ratios, rising: 1, 1.5, 2, 3; each drawn anew, never scaled.
    QList<qreal> ratios { 1 };
    bool transparent = false;
    bool sprite = false;
    // The push button with the keyboard focus as a fifth state (and sprite band).
    bool focus = false;
    // The check box also hot, pressed, and checked while hot, pressed or disabled.
    bool everyCheckState = false;
    QColor background = Qt::white;
    // Numbers the combo and check box names, as the designer's export counter does.
    int exportNumber = 1;
    // Empty for the designer's names; otherwise a template of pictures/nametemplate.h.
    QString nameTemplate;
    // The skin's list name, for the template's {skin}.
    QString skinName;
};

} // namespace quillet::pictures
