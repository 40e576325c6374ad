#pragma once

#include <QColor>
#include <QLabel>

namespace quillet::form {

// A one-line link: shows its caption in the link colour and opens its target when clicked.
// A bare e-mail address as target opens the mail program.
class HyperLink : public QLabel
{
    Q_OBJECT

public:
    explicit HyperLink(QWidget *parent = nullptr);

    void setTarget(const QString &target) { m_target = target; }
    QString target() const { return m_target; }
    // The three stored colours: normal, hover and visited.
    void setLinkColours(const QColor &normal, const QColor &hover, const QColor &visited);
    void setBackgroundColour(const QColor &colour);
    // The address the target opens: mailto: added to a bare e-mail address.
    static QUrl targetUrl(const QString &target);

Q_SIGNALS:
    void opened(const QUrl &url);

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void applyTextColour();

    QString m_target;
    QColor m_normal = QColor(0, 0, 255);
    QColor m_hover = QColor(128, 0, 0);
    QColor m_visited = QColor(0, 0, 128);
    bool m_hovered = false;
    bool m_visitedOnce = false;
};

} // namespace quillet::form
