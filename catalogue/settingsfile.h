#pragma once

#include <QColor>
#include <QString>

namespace quillet::catalogue {

// The remembered skin: the 1-based position of the current skin in the sorted skin
// list, kept in section "皮肤", key "当前皮肤" of the settings file, and the accent it is
// shown in, key "强调色", as #rrggbb (missing or anything else: the skin's own colours).
class SettingsFile
{
public:
    // 0 when the file, section or key is missing or the value is not a number.
    static int readSkinIndex(const QString &settingsPath);
    // False when the file could not be written; it then keeps its old contents.
    static bool writeSkinIndex(const QString &settingsPath, int index);
    // An invalid colour when none is stored or the value is not #rrggbb.
    static QColor readAccent(const QString &settingsPath);
    // Written only when it differs from what is stored, so a user who never picks an
    // accent keeps the file as it was; no accent clears the value.
    static bool writeAccent(const QString &settingsPath, const QColor &accent);

    // Number conversion of stored text: a leading decimal number (optional spaces,
    // sign, digits, fraction) cut toward zero; anything else is 0. Values beyond the
    // int range saturate at its ends.
    static int toIndex(const QString &text);
};

} // namespace quillet::catalogue
