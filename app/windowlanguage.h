#pragma once

#include "platform/system/languagechoice.h"

namespace quillet::app {

// The windows' texts in the chosen language: the program's catalogue (built from
// translations/*.ts and kept in the program's resources) and Qt's own for the standard
// dialogs. Chinese needs only Qt's: the program's texts are written in it.
namespace WindowLanguage {

inline constexpr auto kEnglishCatalogue = ":/i18n/quillet_en.qm";

// Call before any window is created; false when a catalogue could not be loaded (the
// texts then stay in the source language). Installing twice changes nothing.
bool install(system::Language language);

} // namespace WindowLanguage

} // namespace quillet::app
