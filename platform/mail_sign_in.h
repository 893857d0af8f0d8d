#pragma once
// The password of a mail account, kept under one name for the whole
// program (Generate Emails and the error report share it): the keyring, or
// a question asked once per run where none runs.

#include "smtp_client.h"

namespace platform {

// Keeps `password` for `server`'s user; false when it is kept in memory
// for this run only.
bool keepMailPassword(const MailServer& server, const QString& password);

// Opens `session` with `password`, or when it is empty with the kept one
// (asked for, once the connection is secure, where none is kept; Cancel
// sends nothing). A refused sign-in forgets the kept password, so the next
// try asks again.
MailResult openSignedIn(SmtpSession& session, const MailServer& server,
                        const QString& password = {});

} // namespace platform
