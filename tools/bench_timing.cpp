#include "bench_timing.h"

#include <QElapsedTimer>

#include <cstdio>

double millisecondsOf(const std::function<void()>& operation)
{
    QElapsedTimer timer;
    timer.start();
    operation();
    return double(timer.nsecsElapsed()) / 1e6;
}

void printLine(const char* name, double value)
{
    std::printf("%s %.1f\n", name, value);
    std::fflush(stdout);
}
