#include "ui/starttexts.h"

#include <QCoreApplication>

namespace quillet::ui::StartTexts {

QString caption()
{
    return QCoreApplication::translate("StartTexts", "输入按钮文字");
}

QString checked()
{
    return QCoreApplication::translate("StartTexts", "选中");
}

QString unchecked()
{
    return QCoreApplication::translate("StartTexts", "未选");
}

} // namespace quillet::ui::StartTexts
