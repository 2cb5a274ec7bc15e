#include "platform/Application.h"

int main(int argc, char** argv)
{
    platform::Application app(argc, argv);
    return 0;
}
