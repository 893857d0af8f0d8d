#pragma once
// What Vostrel keeps once per thread and shares among all handlers on that
// thread: the recorded arguments of the stack, and the SMTP mail settings.

#include "procedures.h"

#include <memory>
#include <vector>

namespace Vostrel {

// Slot n holds the arguments of the procedure in call-stack slot n, or null.
using StackParams = std::vector<std::unique_ptr<ProceduresImpl>>;

struct MailSettings {
    QString MailServer;
    QString FromName;
    QString FromEmailAddress;
    // Encryption and sign-in as the sender's address, as on ports 587 and 465.
    bool SecureSignIn = false;
};

StackParams& stackParams();
MailSettings& mailSettings();

} // namespace Vostrel
