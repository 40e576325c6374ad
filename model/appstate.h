#pragma once

#include "model/buttonicon.h"
#include "model/weboptions.h"

#include <QColor>
#include <QString>
#include <QStringList>

namespace quillet::model {

// The program-wide variables that the button's settings share: the button's size, the
// background colour and the current skin. Caption, fonts and the options stay in their
// controls, which are the working state; the export keeps its own state.
struct AppState
{
    QColor backgroundColour = QColor(0, 0, 0);
    int buttonWidth = 0;
    int buttonHeight = 0;
    QString programFolder;
    int currentSkinIndex = 0;
    QStringList skinFiles;
    bool firstPreviewDone = false;
    // The colour the skin is shown in (see --accent), remembered; invalid: the skin's own.
    QColor accent;
    // The save button's context menu options, remembered in the settings file.
    WebOptions webOptions;
    // The sample button's icon, chosen from the caption box's context menu and remembered.
    ButtonIcon icon;

    // Releases what the exit clean-up releases; safe to call twice.
    void releaseAtExit();
};

} // namespace quillet::model
