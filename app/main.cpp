#include "app/application.h"

int main(int argc, char **argv)
{
    return quillet::app::Application::run(argc, argv);
}
