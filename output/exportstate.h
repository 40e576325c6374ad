#pragma once

#include "output/outputfolder.h"

#include <QStringList>

#include <memory>

namespace quillet::image {
class ImageConverter;
}

namespace quillet::output {

// What the export keeps between exports: the export number, the extension of each format
// item, the converter that every conversion goes through and the folder dialog's memory.
struct ExportState
{
    ExportState();
    ~ExportState();
    ExportState(const ExportState &) = delete;
    ExportState &operator=(const ExportState &) = delete;

    int exportCounter = 0;
    QStringList extensionTable;
    std::unique_ptr<image::ImageConverter> conversionImage;
    BrowseMemory browse;

    // The extensions of the four format items, as the created handler fills them.
    void fillExtensionTable();
    // Releases what the exit clean-up releases; safe to call twice.
    void releaseAtExit();
};

} // namespace quillet::output
