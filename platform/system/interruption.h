#pragma once

namespace quillet::system::interruption {

// From now on SIGINT and SIGTERM only note that they came: a writing command asks between
// pictures, stops, cleans up and exits as the signal asks.
void catchSignals();
// The signal that came (SIGINT, SIGTERM), or 0.
int signalNumber();
// The exit code a shell gives a process that signal stopped: 128 plus its number.
int exitCode();

} // namespace quillet::system::interruption
