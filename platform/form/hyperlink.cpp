#include "platform/form/hyperlink.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QUrl>

namespace quillet::form {

HyperLink::HyperLink(QWidget *parent)
    : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    applyTextColour();
}

void HyperLink::setLinkColours(const QColor &normal, const QColor &hover, const QColor &visited)
{
    m_normal = normal;
    m_hover = hover;
    m_visited = visited;
    applyTextColour();
}

void HyperLink::setBackgroundColour(const QColor &colour)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colour);
    setPalette(pal);
    setAutoFillBackground(true);
}

QUrl HyperLink::targetUrl(const QString &target)
{
    static const QRegularExpression bareMail(QStringLiteral("^[^\\s:/@]+@[^\\s:/@]+$"));
    const QString trimmed = target.trimmed();
    if (bareMail.match(trimmed).hasMatch())
        return QUrl(QStringLiteral("mailto:") + trimmed);
    return QUrl::fromUserInput(trimmed);
}

void HyperLink::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    applyTextColour();
    QLabel::enterEvent(event);
}

void HyperLink::leaveEvent(QEvent *event)
{
    m_hovered = false;
    applyTextColour();
    QLabel::leaveEvent(event);
}

void HyperLink::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())
        && !m_target.isEmpty()) {
        const QUrl url = targetUrl(m_target);
        m_visitedOnce = true;
        applyTextColour();
        Q_EMIT opened(url);
        QDesktopServices::openUrl(url);
    }
    QLabel::mouseReleaseEvent(event);
}

void HyperLink::applyTextColour()
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, m_hovered ? m_hover : (m_visitedOnce ? m_visited : m_normal));
    setPalette(pal);
}

} // namespace quillet::form
