#pragma once

#include "model/weboptions.h"

#include <QString>

namespace quillet::catalogue {

// The save button's output options in their own section of the settings file: keys
// "透明背景", "同时输出2x", "精灵图", "焦点图片" of section "输出选项", "1" for on and "0" for off.
// A missing or unreadable value is off, and an option that is off is written only over
// a stored value that says on.
class WebExportSettings
{
public:
    static constexpr QStringView kSection = u"输出选项";
    static constexpr QStringView kTransparentKey = u"透明背景";
    static constexpr QStringView kTwoXKey = u"同时输出2x";
    static constexpr QStringView kSpriteKey = u"精灵图";
    static constexpr QStringView kFocusKey = u"焦点图片";

    static model::WebOptions read(const QString &settingsPath);
    // False when a value could not be written; each value is replaced atomically.
    static bool write(const QString &settingsPath, const model::WebOptions &options);
};

} // namespace quillet::catalogue
