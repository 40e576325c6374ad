#pragma once

#include <QColor>
#include <QPointer>
#include <QString>

#include <functional>

class QWidget;

namespace quillet::skin {

class Skin;
class SkinStyle;

// Applies `.an` skins to the application: the three operations the program uses.
class SkinEngine
{
public:
    SkinEngine() = default;
    ~SkinEngine() = default;
    SkinEngine(const SkinEngine &) = delete;
    SkinEngine &operator=(const SkinEngine &) = delete;

    // Installs a style painted from the skin and repaints window with it. A file that
    // cannot be read still installs the default look; returns whether the file was read.
    bool apply(const QString &skinFilePath, QWidget *window);
    // Applied to every skin read from then on, before it is painted (an accent colour);
    // an empty one keeps skins as read.
    void setFilter(std::function<Skin(const Skin &)> filter) { m_filter = std::move(filter); }
    // The applied skin's base colour, the window background.
    QColor colour() const;
    // Back to the plain Fusion style and its palette.
    void release();
    // The window colour of that plain style: the background while no skin is applied.
    static QColor plainColour();

private:
    QPointer<SkinStyle> m_style;
    QColor m_colour;
    std::function<Skin(const Skin &)> m_filter;
};

} // namespace quillet::skin
