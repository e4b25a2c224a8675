// quillmar-db entry point.
#include <iostream>

#include "tools/Version.h"

#include "tools/quillmar-db/DatabaseTool.h"

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (cli::PrintedVersion(arguments, "quillmar-db"))
        return 0;
    return DatabaseTool(std::cout, std::cerr).run(arguments);
}
