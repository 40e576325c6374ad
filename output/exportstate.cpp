#include "output/exportstate.h"

#include "pictures/pictureformat.h"
#include "image/imageconverter.h"

namespace quillet::output {

ExportState::ExportState()
    : conversionImage(std::make_unique<image::ImageConverter>())
{
}

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
    conversionImage.reset();
    browse.initialFolder.clear();
}

} // namespace quillet::output
