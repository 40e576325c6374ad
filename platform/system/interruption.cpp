#include "platform/system/interruption.h"

#include <atomic>
#include <csignal>

namespace quillet::system::interruption {

namespace {

std::atomic<int> g_signal { 0 };
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler may only touch lock-free atomics");

void note(int number)
{
    g_signal.store(number, std::memory_order_relaxed);
}

} // namespace

void catchSignals()
{
    struct sigaction action
    {
    };
    action.sa_handler = &note;
    sigemptyset(&action.sa_mask);
    // Slow system calls go on: the writer retries what a signal cuts short anyway.
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

int signalNumber()
{
    return g_signal.load(std::memory_order_relaxed);
}

int exitCode()
{
    return 128 + signalNumber();
}

} // namespace quillet::system::interruption
