#include "model/appstate.h"

namespace quillet::model {

void AppState::releaseAtExit()
{
    programFolder.clear();
    skinFiles.clear();
}

} // namespace quillet::model
