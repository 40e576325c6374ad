#pragma once

#include "model/buttonicon.h"
#include "model/weboptions.h"

#include <QString>

namespace quillet::catalogue {

// The save button's output options in their own section of the settings file: keys
// "透明背景", "同时输出2x", "精灵图", "焦点图片" of section "输出选项", "1" for on and "0" for off.
// A missing or unreadable value is off, and an option that is off is written only over
// a stored value that says on. The sample button's icon lives in the same section: its
// file under "图标文件", its place under "图标位置" ("left", "right" or "top"); neither is
// written while it says what is stored (a missing file is no icon, a missing place left).
class WebExportSettings
{
public:
    static constexpr QStringView kSection = u"输出选项";
    static constexpr QStringView kTransparentKey = u"透明背景";
    static constexpr QStringView kTwoXKey = u"同时输出2x";
    static constexpr QStringView kSpriteKey = u"精灵图";
    static constexpr QStringView kFocusKey = u"焦点图片";
    static constexpr QStringView kIconFileKey = u"图标文件";
    static constexpr QStringView kIconPositionKey = u"图标位置";

    static model::WebOptions read(const QString &settingsPath);
    // False when a value could not be written; each value is replaced atomically.
    static bool write(const QString &settingsPath, const model::WebOptions &options);

    // The remembered icon as stored; whether its file is still usable is the caller's question.
    static model::ButtonIcon readIcon(const QString &settingsPath);
    static bool writeIcon(const QString &settingsPath, const model::ButtonIcon &icon);
};

} // namespace quillet::catalogue
