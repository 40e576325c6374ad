#pragma once

#include "platform/browser/browserbackend.h"

#include <QWidget>

namespace quillet::browser {

// Shows nothing; for runs without any page engine.
class NullBackend : public BrowserBackend
{
public:
    QWidget *widget() override { return &m_blank; }
    void navigate(const QString &) override { }
    void setLoadedHandler(LoadedHandler) override { }
    QString title() const override { return {}; }

private:
    QWidget m_blank;
};

} // namespace quillet::browser
