#pragma once

#include <QTemporaryDir>

#include <memory>

namespace quillet::system {

// Process-wide settings that must be in place before the application object exists.
class ProcessEnvironment
{
public:
    // Fixes the font resolution; the page engine refuses to start its sandbox as root; turn it off for root alone.
    static void prepare();
    static bool runsAsRoot();
    // Qt wants a private runtime folder and warns on stderr where there is none (CI,
    // containers, cron): a fresh one for this process, removed with the answer; null
    // when the environment already names a usable one.
    static std::unique_ptr<QTemporaryDir> provideRuntimeFolder();
};

} // namespace quillet::system
