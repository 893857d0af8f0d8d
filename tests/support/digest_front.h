#pragma once
// Apache in front of a test server, asking for Digest sign-in: mod_auth_digest
// checks an htdigest file, and mod_proxy passes each request on with the user
// signed in as X-Remote-User (radicale's http_x_remote_user takes it from
// there). The phone of the tests, which cannot answer Digest, is asked for
// Basic. It runs in the foreground (-X) as the test's own user (as nobody
// where that is root, whom Apache refuses), from a configuration and folder
// of its own.

#include <QString>
#include <QStringList>

#include <optional>

namespace testing_support {

// The apache2 program; "" where it is not installed.
QString apacheProgram();

// Writes into `folder` the configuration of an Apache that listens on
// loopback `port` and signs in `user` with `password` before passing the
// request to `backendPort`; the arguments that run it, or nullopt when the
// files could not be written. Its errors, each refused sign-in among them,
// go to folder/apache.log.
std::optional<QStringList> writeDigestFront(const QString& folder, int port, int backendPort,
                                            const QString& user, const QString& password);

} // namespace testing_support
