#pragma once

#include "output/outputfolder.h"
#include "output/weboptions.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <memory>

namespace quillet::image {
class ImageConverter;
}

namespace quillet::app {

// The program-wide variables, created at start and released at exit. Handlers share
// nothing else; the controls hold the rest.
struct AppState
{
    AppState();
    ~AppState();
    AppState(const AppState &) = delete;
    AppState &operator=(const AppState &) = delete;

    QColor backgroundColour = QColor(0, 0, 0);
    int exportCounter = 0;
    QStringList extensionTable;
    std::unique_ptr<image::ImageConverter> conversionImage;
    // Owner window and starting folder of the last folder dialog.
    output::BrowseMemory browse;
    int buttonWidth = 0;
    int buttonHeight = 0;
    QString programFolder;
    int currentSkinIndex = 0;
    QStringList skinFiles;
    bool firstPreviewDone = false;
    // The save button's context menu options, remembered in the settings file.
    output::WebOptions webOptions;

    // Releases what the exit clean-up releases; safe to call twice.
    void releaseAtExit();
};

} // namespace quillet::app
