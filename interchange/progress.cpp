#include "progress.h"

namespace interchange {

void report(const Progress& progress, qint64 done, qint64 total)
{
    if (progress && !progress(done, total))
        throw Cancelled();
}

} // namespace interchange
