#pragma once

#include "platform/browser/browserfactory.h"

#include <QUrl>
#include <QWidget>

#include <memory>

class QStackedLayout;

namespace quillet::browser {

class BrowserBackend;

// The browser panel of the designer window. Local pages show in the light engine; a web
// address brings in the web engine, loaded on that first need, and a local page goes back
// to the light one. Without a web engine web addresses stay in the light engine.
class BrowserPanel : public QWidget
{
    Q_OBJECT

public:
    explicit BrowserPanel(QWidget *parent = nullptr);
    BrowserPanel(std::unique_ptr<BrowserBackend> light, BrowserFactory::WebEngineSource webEngine,
                 QWidget *parent = nullptr);
    ~BrowserPanel() override;

    void navigate(const QString &address);
    // The address last asked for, as given.
    QString requestedAddress() const { return m_requested; }
    // The engine that shows the page now.
    BrowserBackend *backend() const { return m_current; }
    bool showsWebEngine() const { return m_current && m_current == m_web.get(); }
    // Whether the web engine has been asked for and could not be had.
    bool webEngineFailed() const { return m_webFailed; }

    // Turns a local path or a web address into the URL the engines load.
    static QUrl urlFor(const QString &address);
    static bool isWebAddress(const QUrl &url);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

Q_SIGNALS:
    void navigationRequested(const QString &address);
    // The page asked for last has loaded (ok) or failed to.
    void pageLoaded(bool ok);

private:
    void load(const QString &address);
    BrowserBackend *webEngine();
    void showBackend(BrowserBackend *backend);

    QStackedLayout *m_stack;
    std::unique_ptr<BrowserBackend> m_light;
    std::unique_ptr<BrowserBackend> m_web;
    BrowserFactory::WebEngineSource m_webSource;
    BrowserBackend *m_current = nullptr;
    bool m_webFailed = false;
    QString m_requested;
    // Asked for while the panel's window was shown but not yet on screen: loaded once the
    // window has been exposed and painted.
    QString m_pending;
};

} // namespace quillet::browser
