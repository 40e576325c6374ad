#pragma once

namespace quillet::app {

// Program entry: the application object, the real services, one designer run.
class Application
{
public:
    static int run(int argc, char **argv);
};

} // namespace quillet::app
