#pragma once

namespace quillet::batch {

// "quillet render ..." and "quillet skin ...": sets the process up for drawing without a
// display, then runs the command named by argv[1].
class BatchMain
{
public:
    static bool isBatch(int argc, char **argv);
    static int run(int argc, char **argv);
};

} // namespace quillet::batch
