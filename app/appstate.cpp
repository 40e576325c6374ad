#include "app/appstate.h"

#include "platform/image/imageconverter.h"


namespace quillet::app {

AppState::AppState()
    : conversionImage(std::make_unique<image::ImageConverter>())
{
}

AppState::~AppState() = default;

void AppState::releaseAtExit()
{
    extensionTable.clear();
    conversionImage.reset();
    browse.initialFolder.clear();
    programFolder.clear();
    skinFiles.clear();
}

} // namespace quillet::app
