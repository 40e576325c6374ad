#include "integration/infopanel.h"

#include "integration/onlinecheck.h"
#include "model/metrics.h"
#include "platform/browser/browserpanel.h"
#include "platform/form/intervaltimer.h"
#include "ui/designerwindow.h"

namespace quillet::integration {

InfoPanel::InfoPanel(ui::DesignerWindow &window, system::NetworkProbe &probe)
    : m_window(window)
    , m_probe(probe)
{
}

void InfoPanel::onTick()
{
    if (m_ticker.tick(m_probe) != InformationTicker::Action::ShowInformationPage)
        return;
    m_window.browserPanel()->navigate(OnlineCheck::informationPage());
    m_window.infoTimer()->setInterval(0);
}

void InfoPanel::onHelp(const QString &localPage)
{
    m_window.browserPanel()->navigate(localPage);
    m_ticker.reset();
    m_window.infoTimer()->setInterval(model::Metrics::kInfoTimerIntervalMs);
}

} // namespace quillet::integration
