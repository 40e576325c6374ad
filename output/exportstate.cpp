#include "output/exportstate.h"

#include "platform/image/imageconverter.h"

namespace quillet::output {

ExportState::ExportState()
    : conversionImage(std::make_unique<image::ImageConverter>())
{
}

ExportState::~ExportState() = default;

void ExportState::fillExtensionTable()
{
    extensionTable
        = { QStringLiteral(".bmp"), QStringLiteral(".jpg"), QStringLiteral(".gif"), QStringLiteral(".png") };
}

void ExportState::releaseAtExit()
{
    extensionTable.clear();
    conversionImage.reset();
    browse.initialFolder.clear();
}

} // namespace quillet::output
