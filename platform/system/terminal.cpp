#include "platform/system/terminal.h"

#include <unistd.h>

namespace quillet::system {

bool Terminal::errorIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

} // namespace quillet::system
