#pragma once

namespace quillet::system {
class NetworkProbe;
}

namespace quillet::integration {

// Counts the ticks of the information timer and runs the online check on every tenth.
class InformationTicker
{
public:
    enum class Action { None, ShowInformationPage };

    static constexpr int TicksPerCheck = 10;

    // On ShowInformationPage the caller shows the information page and stops the timer.
    Action tick(system::NetworkProbe &probe);
    // Help: the next check comes a full TicksPerCheck ticks from now.
    void reset() { m_tickCount = 0; }
    int tickCount() const { return m_tickCount; }

private:
    int m_tickCount = 0;
};

} // namespace quillet::integration
