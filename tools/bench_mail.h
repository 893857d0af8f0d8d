#pragma once
// The mail_1k bench: 1,000 personal messages, each with an attachment,
// written and handed to a sendmail stand-in that only reads its input.

#include <QString>

#include <functional>

// Prepares the stand-in in `folder` and returns the operation to time; it
// returns how many messages the transport took.
std::function<qsizetype()> mailBench(const QString& folder);
