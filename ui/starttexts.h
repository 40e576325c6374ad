#pragma once

#include <QString>

namespace quillet::ui {

// The texts the sample controls start with and echo. They are the user's data, so every
// language but English keeps today's Chinese ones (stored pictures are named after the
// caption); the English catalogue alone gives them other words.
namespace StartTexts {

// What the caption box and the sample button start with; a press clears it from the box.
QString caption();
// What the sample combo and check box say after their option is ticked or cleared.
QString checked();
QString unchecked();

} // namespace StartTexts

} // namespace quillet::ui
