// Which address texts the mail transport takes as one recipient: what an
// address book holds, and nothing that could name another recipient or
// start a header.

#include "platform/mail_transport.h"

#include <gtest/gtest.h>

namespace {

TEST(MailAddress, OnlyOnePlainAddressIsTaken)
{
    for (const char* good : {"ada@example.org", "o'hara+news@mail.example.co.in", "a.b-c@x-y.z"})
        EXPECT_TRUE(platform::isMailAddress(QString::fromUtf8(good))) << good;
    for (const char* bad :
         {"", "ada", "ada@", "@example.org", "ada@@example.org", "ada@example.org, bo@example.org",
          "ada@example.org;bo@example.org", "Ada <ada@example.org>", "<ada@example.org>",
          "ada@example.org\r\nBcc: eve@example.org", "ada @example.org", "\"a d\"@example.org",
          ".ada@example.org", "ada..b@example.org", "ada@-example.org", "ada@example.org.",
          "zoë@example.org"})
        EXPECT_FALSE(platform::isMailAddress(QString::fromUtf8(bad))) << bad;
}

} // namespace
