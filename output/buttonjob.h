#pragma once

#include "model/buttonicon.h"
#include "output/exportnaming.h"
#include "output/picturebytes.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QSize>
#include <QString>

namespace quillet::output {

// Everything one export of rendered pictures depends on: the designer fills it from its
// controls, the batch command from its options or a manifest entry. Equal jobs give
// equal files.
struct ButtonJob
{
    // The designer's drop button and check box when nothing else is chosen.
    static constexpr int kDefaultDropWidth = 16;
    static constexpr int kDefaultDropHeight = 20;
    static constexpr int kDefaultComboHeight = 32;
    static constexpr int kDefaultCheckSide = 13;

    QString caption;
    QSize buttonSize { 104, 24 };
    QFont font;
    bool borderRemoval = false;
    // The push button's icon; none when its file is empty.
    model::ButtonIcon icon;
    bool button = true;
    bool combo = false;
    bool check = false;
    QSize dropSize { kDefaultDropWidth, kDefaultDropHeight };
    // The combo's own height, when the drop button picture shows only its top part.
    int comboHeight = kDefaultComboHeight;
    QFont comboFont;
    QSize checkSize { kDefaultCheckSide, kDefaultCheckSide };
    QFont checkFont;
    PictureFormat format = PictureFormat::Png;
    QList<int> ratios { 1 };
    bool transparent = false;
    bool sprite = false;
    QColor background = Qt::white;
    // Numbers the combo and check box names, as the designer's export counter does.
    int exportNumber = 1;
};

} // namespace quillet::output
