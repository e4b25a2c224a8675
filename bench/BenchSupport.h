// Small helpers the benchmark programs share.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

// A /proc/self/status value in KiB ("VmRSS:", "VmHWM:"), or 0.
inline long statusKiB(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::atol(line.c_str() + std::string(key).size());
    return 0;
}
