// handheld entry point.
#include <iostream>

#include "tools/Version.h"

#include "tools/handheld/HandheldTool.h"

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (cli::PrintedVersion(arguments, "handheld"))
        return 0;
    return HandheldTool(std::cout, std::cerr).run(arguments);
}
