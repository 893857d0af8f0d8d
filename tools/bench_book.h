#pragma once

#include <QString>

// Writes `contacts` synthetic contacts into the new address book at `path`.
bool fillBenchBook(const QString& path, int contacts);
