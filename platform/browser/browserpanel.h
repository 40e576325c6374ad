#pragma once

#include <QUrl>
#include <QWidget>

#include <memory>

namespace quillet::browser {

class BrowserBackend;

// The browser panel of the designer window. Which engine shows the pages is the build's
// choice (see BrowserFactory); the panel only navigates.
class BrowserPanel : public QWidget
{
    Q_OBJECT

public:
    explicit BrowserPanel(QWidget *parent = nullptr);
    BrowserPanel(std::unique_ptr<BrowserBackend> backend, QWidget *parent = nullptr);
    ~BrowserPanel() override;

    void navigate(const QString &address);
    // The address last asked for, as given.
    QString requestedAddress() const { return m_requested; }
    BrowserBackend *backend() const { return m_backend.get(); }

    // Turns a local path or a web address into the URL the engines load.
    static QUrl urlFor(const QString &address);

Q_SIGNALS:
    void navigationRequested(const QString &address);

private:
    std::unique_ptr<BrowserBackend> m_backend;
    QString m_requested;
};

} // namespace quillet::browser
