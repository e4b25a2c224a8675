// quillmar-db entry point.
#include <iostream>

#include "tools/quillmar-db/DatabaseTool.h"

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return DatabaseTool(std::cout, std::cerr).run(arguments);
}
