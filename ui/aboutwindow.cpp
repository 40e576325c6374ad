#include "ui/aboutwindow.h"

#include "platform/form/outersize.h"

#include <QCoreApplication>

namespace quillet::ui {

namespace {
const QString kParagraphEnd = QStringLiteral("\r\n\r\n");

void setBackground(QWidget *widget, const QColor &colour)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, colour);
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

// The notice is laid out by hand, line by line, to the label's width; each language breaks
// its own lines.
const char *const kNoticeLines[] = {
    QT_TRANSLATE_NOOP("AboutWindow", "   本软件为免费软件，可自由传播和使用。"),
    QT_TRANSLATE_NOOP("AboutWindow", "   窗口右边有一个IE浏览框，里边显示最新版"),
    QT_TRANSLATE_NOOP("AboutWindow", "本、帮助、和官方网站的一些信息，也可能放"),
    QT_TRANSLATE_NOOP("AboutWindow", "一些广告连接。"),
    QT_TRANSLATE_NOOP("AboutWindow", "   欢迎提出使用意见并反馈，以望得到改进。"),
};
} // namespace

QString AboutWindow::notice()
{
    QString text;
    for (const char *line : kNoticeLines)
        text += QCoreApplication::translate("AboutWindow", line) + kParagraphEnd;
    return text;
}

const QString AboutWindow::kMakerSite = QStringLiteral("http://www.example.org/");
const QString AboutWindow::kMakerMail = QStringLiteral("pelorin@example.org");

AboutWindow::AboutWindow(const QColor &backgroundColour, QWidget *parent)
    : QDialog(parent)
    , m_outer(new form::OuterSize(this))
{
    m_ui.setupUi(this);
    m_outer->setSize(kOuterSize);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_ui.标签1->setText(notice());
    m_ui.超级链接框1->setTarget(kMakerSite);
    m_ui.超级链接框2->setTarget(kMakerMail);
    for (form::HyperLink *link : {m_ui.超级链接框1, m_ui.超级链接框2})
        link->setLinkColours(QColor(0, 0, 255), QColor(128, 0, 0), QColor(0, 0, 128));

    setBackground(this, backgroundColour);
    setBackground(m_ui.标签1, backgroundColour);
    m_ui.超级链接框1->setBackgroundColour(backgroundColour);
    m_ui.超级链接框2->setBackgroundColour(backgroundColour);
}

QSize AboutWindow::outerSize() const
{
    return m_outer->size();
}

} // namespace quillet::ui
