#include "skin/skinengine.h"

#include "skin/skinparser.h"
#include "skin/skinstyle.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyleFactory>
#include <QWidget>

#include <memory>

namespace quillet::skin {

namespace {

void repolish(QWidget *window, QStyle *style)
{
    if (!window)
        return;
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *w : widgets) {
        style->unpolish(w);
        style->polish(w);
        w->update();
    }
}

} // namespace

bool SkinEngine::apply(const QString &skinFilePath, QWidget *window)
{
    const QFileInfo info(skinFilePath);
    const bool readable = info.isFile() && info.isReadable();
    Skin skin = readable ? SkinParser::parseFile(skinFilePath) : SkinParser::parse(QByteArray());
    if (m_filter)
        skin = m_filter(skin);
    m_colour = skin.base();
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return readable;
    auto *style = new SkinStyle(skin);
    QApplication::setStyle(style); // the application owns and later deletes it
    QApplication::setPalette(style->standardPalette());
    // Qt posts the palette change; deliver it now so the very next grab shows the skin.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::ApplicationPaletteChange);
    m_style = style;
    repolish(window, style);
    return readable;
}

QColor SkinEngine::colour() const
{
    return m_colour.isValid() ? m_colour : Skin().base();
}

QColor SkinEngine::plainColour()
{
    const std::unique_ptr<QStyle> plain(QStyleFactory::create(QStringLiteral("Fusion")));
    return plain ? plain->standardPalette().color(QPalette::Window) : QColor(Qt::lightGray);
}

void SkinEngine::release()
{
    m_colour = QColor();
    m_style = nullptr;
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    QStyle *plain = QStyleFactory::create(QStringLiteral("Fusion"));
    QApplication::setStyle(plain);
    QApplication::setPalette(plain->standardPalette());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::ApplicationPaletteChange);
}

} // namespace quillet::skin
