#pragma once

#include "integration/informationticker.h"

#include <QString>

namespace quillet::system {
class NetworkProbe;
}
namespace quillet::ui {
class DesignerWindow;
}

namespace quillet::integration {

// The browser panel's two pages: the local page while waiting, the information page once
// the machine is found online. The tick count lives in the ticker.
class InfoPanel
{
public:
    InfoPanel(ui::DesignerWindow &window, system::NetworkProbe &probe);

    void onTick();
    void onHelp(const QString &localPage);
    int tickCount() const { return m_ticker.tickCount(); }

private:
    ui::DesignerWindow &m_window;
    system::NetworkProbe &m_probe;
    InformationTicker m_ticker;
};

} // namespace quillet::integration
