#include "integration/informationticker.h"

#include "integration/onlinecheck.h"

namespace quillet::integration {

InformationTicker::Action InformationTicker::tick(system::NetworkProbe &probe)
{
    ++m_tickCount;
    if (m_tickCount < TicksPerCheck)
        return Action::None;
    m_tickCount = 0;
    return OnlineCheck::isOnline(probe) ? Action::ShowInformationPage : Action::None;
}

} // namespace quillet::integration
