#pragma once

#include "output/outputfolder.h"

#include <QStringList>

namespace quillet::output {

// What the export keeps between exports: the export number, the extension of each format
// item and the folder dialog's memory. Each conversion makes its own converter.
struct ExportState
{
    ExportState();
    ~ExportState();
    ExportState(const ExportState &) = delete;
    ExportState &operator=(const ExportState &) = delete;

    int exportCounter = 0;
    QStringList extensionTable;
    BrowseMemory browse;

    // The extensions of the four format items, as the created handler fills them.
    void fillExtensionTable();
    // Releases what the exit clean-up releases; safe to call twice.
    void releaseAtExit();
};

} // namespace quillet::output
