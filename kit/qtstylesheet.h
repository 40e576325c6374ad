#pragma once

#include "kit/kitpieces.h"
#include "model/samplestate.h"
#include "pictures/picturewriter.h"
#include "skin/look.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QMargins>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringView>

namespace quillet::kit {

// One push button state of a Qt kit: its pieces at each density and its caption.
struct QtButtonState
{
    model::SampleState state = model::SampleState::Normal;
    QString word; // of the file names: "normal", "hover"
    QColor caption;
    QPoint shift;
    QMargins box; // margin plus padding of the state's look
    QList<KitPieces> pieces; // one per ratio, in the order of QtSheetInput::ratios
};

// One state of a control drawn whole (a check box, a drop button), at each density.
struct QtPictureState
{
    model::SampleState state = model::SampleState::Normal;
    QString word;
    QList<QImage> pictures; // one per ratio
};

// Everything a Qt style sheet kit is made from, drawn already.
struct QtSheetInput
{
    QString skinName;
    // The resource's prefix: the sheet is ":/qk/kit.qss", its pictures ":/qk/kit/...".
    QString prefix = QStringLiteral("qk");
    QList<qreal> ratios { 1 }; // whole ratios, 1 first
    int height = 24;
    QString fontFamily;
    qreal pointSize = 9;
    KitSlice slice;
    QList<QtButtonState> buttons;
    QList<QtPictureState> checks;
    QList<QtPictureState> drops;
    QSize dropSize;
    // The combo box's field (normal and disabled), its pop-up list and the list's selection.
    skin::Look field;
    skin::Look fieldDisabled;
    skin::Look list;
    skin::Look selection;
    QColor checkCaption;
    QColor checkCaptionDisabled;
    // The focused button's outline where there are no focused pieces.
    QColor focusOutline;
    // Shown at the top of the sheet where the pieces do not give the renderer's picture.
    QString inexactNote;
};

namespace qtstylesheet {

// The folder the pictures lie in, beside kit.qss.
inline constexpr QStringView kFolder = u"kit";

// Qt's border-image counts its cuts in the picture's own pixels at every density, while
// the border it fills is in logical pixels: each cap picture repeats every column so that
// one cut fits every density asked for, and Qt's smooth scaling gives the columns back.
int capRepeat(const QList<qreal> &ratios);
// "kit/button-hover-caps@2x.png": the name Qt's own @Nx lookup finds beside the 1x one.
QString pictureName(QStringView control, QStringView word, QStringView part, qreal ratio);
// Left cap then right cap, each device column `repeat` times.
QImage widenedCaps(const KitPieces &pieces, int repeat);

QString styleSheet(const QtSheetInput &input);
QString resourceList(const QtSheetInput &input);
QString readme(const QtSheetInput &input);
// Every file of the kit ready for the picture writer: the pictures, then kit.qrc and
// README.md, and kit.qss last, so a failed write never leaves a sheet naming pictures
// that are not there. Empty, with the picture's name in *undrawn, when one cannot be drawn.
QList<pictures::PlannedFile> files(const QtSheetInput &input, QString *undrawn = nullptr);

} // namespace qtstylesheet

} // namespace quillet::kit
