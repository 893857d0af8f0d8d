#pragma once
// While an EndCatcher lives, ending the program throws ProgramEnded instead,
// so a test can see that the program would have ended.

#include "platform/program_end.h"

namespace testing_support {

struct ProgramEnded {};

class EndCatcher {
public:
    EndCatcher()
    {
        platform::setProgramEnd([] { throw ProgramEnded{}; });
    }
    ~EndCatcher() { platform::setProgramEnd(nullptr); }
};

} // namespace testing_support
