// Timing work on a view: the benchmarks that drive the main form share it.
#pragma once

#include <QCoreApplication>
#include <chrono>

// Seconds the work takes, with the events it posts (a view taking a new model) handled.
template <typename Work>
double timed(Work work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    QCoreApplication::processEvents();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
