#pragma once

namespace quillet::system {

class Terminal
{
public:
    // Whether the standard error stream goes to a terminal (and may take a progress bar).
    static bool errorIsTerminal();
};

} // namespace quillet::system
