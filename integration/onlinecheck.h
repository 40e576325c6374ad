#pragma once

#include <QString>

namespace quillet::system {
class NetworkProbe;
}

namespace quillet::integration {

// Decides whether the machine is online: established TCP connections first, so that no
// name is looked up on a machine without any, then the probe hosts in a fixed order.
class OnlineCheck
{
public:
    // Reserved example domains, which resolve on any working Internet connection.
    static constexpr auto FirstProbeHost = "www.example.com";
    static constexpr auto SecondProbeHost = "www.example.net";
    static constexpr auto InformationPageUrl = "http://www.example.org/POParticle/16/78.Html";
    static constexpr int LookupTimeoutMs = 3000;

    static bool isOnline(system::NetworkProbe &probe);
    static QString informationPage();
};

} // namespace quillet::integration
