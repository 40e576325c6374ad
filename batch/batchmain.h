#pragma once

namespace quillet::batch {

// "quillet render ...": sets the process up for drawing without a display, then runs
// the command. argv[1] is "render".
class BatchMain
{
public:
    static bool isBatch(int argc, char **argv);
    static int run(int argc, char **argv);
};

} // namespace quillet::batch
