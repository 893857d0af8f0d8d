#pragma once
// How tovren-bench times an operation and prints its line.

#include <functional>

// The milliseconds `operation` takes.
double millisecondsOf(const std::function<void()>& operation);
// Prints "name value", the bench's line, at once.
void printLine(const char* name, double value);
