#pragma once

namespace quillet::system {

// Process-wide settings that must be in place before the application object exists.
class ProcessEnvironment
{
public:
    // Fixes the font resolution; the page engine refuses to start its sandbox as root; turn it off for root alone.
    static void prepare();
    static bool runsAsRoot();
};

} // namespace quillet::system
