// handheld entry point.
#include <iostream>

#include "tools/handheld/HandheldTool.h"

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return HandheldTool(std::cout, std::cerr).run(arguments);
}
