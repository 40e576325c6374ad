#include "output/exportstate.h"

#include "pictures/pictureformat.h"

namespace quillet::output {

ExportState::ExportState() = default;

ExportState::~ExportState() = default;

void ExportState::fillExtensionTable()
{
    extensionTable.clear();
    for (const pictures::FormatInfo &format : pictures::kFormats) {
        if (format.inDesignerList)
            extensionTable.append(format.extension.toString());
    }
}

void ExportState::releaseAtExit()
{
    extensionTable.clear();
    browse.initialFolder.clear();
}

} // namespace quillet::output
