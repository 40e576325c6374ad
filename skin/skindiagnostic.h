#pragma once

#include <QString>

namespace quillet::skin {

// One thing the parser noticed and skipped or fell back on. Line and column count from 1;
// line 0 means the file as a whole.
struct SkinDiagnostic
{
    enum class Severity { Warning, Error };

    int line = 0;
    int column = 0;
    Severity severity = Severity::Warning;
    QString message;

    bool operator==(const SkinDiagnostic &) const = default;
};

} // namespace quillet::skin
