"""A real SMTP server for tests: aiosmtpd on a free loopback port.

Usage: smtp_sink.py FOLDER [options]. Prints the port once it listens, then
keeps each message it accepts, before it answers 250, as FOLDER/N.eml (the
data, dots unstuffed) and FOLDER/N.json: the envelope, and the message as a
mail program reads it with Python's own MIME parser (null where it cannot).
Every byte the clients send (after decryption) is added to FOLDER/dialogue,
each read of them as a line of base64 to FOLDER/reads, and each connection
adds a line to FOLDER/connections.

Options: --starttls CERT KEY (STARTTLS required before MAIL), --tls CERT KEY
(TLS from the first byte), --user NAME (AUTH required; the password is the
environment's SMTP_SINK_PASSWORD), --mechanism PLAIN|LOGIN (offer only it),
--pipelining (offer PIPELINING), --discard (keep nothing, record nothing:
for timing clients).
"""
import argparse
import asyncio
import base64
import email
import email.policy
import json
import os

import ssl

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


def read(content):
    # From and To as [display name, address] pairs, the decoded subject, the
    # text part with LF line ends, each attachment's name and base64 bytes.
    message = email.message_from_bytes(content, policy=email.policy.default)
    boxes = {name: [[a.display_name, a.addr_spec] for a in message[name].addresses]
             if message[name] else [] for name in ('From', 'To')}
    text = message.get_body(preferencelist=('plain',))
    return {'from': boxes['From'], 'to': boxes['To'], 'subject': str(message['Subject']),
            'body': text.get_content().replace('\r\n', '\n') if text else None,
            'attachments': [[part.get_filename(),
                             base64.b64encode(part.get_payload(decode=True)).decode()]
                            for part in message.iter_attachments()]}


class Keeper:
    def __init__(self, folder, pipelining):
        self.folder = folder
        self.pipelining = pipelining
        self.count = 0

    # aiosmtpd takes pipelined commands as they come, but offers it only so.
    async def handle_EHLO(self, server, session, envelope, hostname, responses):
        session.host_name = hostname
        if self.pipelining:
            responses.insert(-1, '250-PIPELINING')
        return responses

    # A sender or recipient the test wants refused is named so.
    async def handle_MAIL(self, server, session, envelope, address, options):
        if address.startswith('refused@'):
            return '553 Sender not allowed'
        envelope.mail_from = address
        envelope.mail_options.extend(options)
        return '250 OK'

    async def handle_RCPT(self, server, session, envelope, address, options):
        if address.startswith('refused@'):
            return '550 No such user here'
        envelope.rcpt_tos.append(address)
        return '250 OK'

    async def handle_DATA(self, server, session, envelope):
        if self.folder is None:
            return '250 OK'
        self.count += 1
        base = os.path.join(self.folder, str(self.count))
        with open(base + '.eml', 'wb') as f:
            f.write(envelope.original_content)
        try:
            mail = read(envelope.original_content)
        except Exception:
            mail = None
        with open(base + '.json', 'w') as f:
            json.dump({'from': envelope.mail_from, 'to': envelope.rcpt_tos, 'read': mail}, f)
        return '250 OK'


class Recording(SMTP):
    # data_received sees the plain bytes, before TLS and after it alike.
    folder = None

    def connection_made(self, transport):
        if self._original_transport is None and self.folder is not None:
            with open(os.path.join(self.folder, 'connections'), 'a') as f:
                f.write('connection\n')
        super().connection_made(transport)

    def data_received(self, data):
        if self.folder is not None:
            with open(os.path.join(self.folder, 'dialogue'), 'ab') as f:
                f.write(data)
            with open(os.path.join(self.folder, 'reads'), 'ab') as f:
                f.write(base64.b64encode(data) + b'\n')
        super().data_received(data)


def context(cert, key):
    tls = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    tls.load_cert_chain(cert, key)
    return tls


def checker(user):
    password = os.environ.get('SMTP_SINK_PASSWORD', '').encode()

    def check(server, session, envelope, mechanism, data):
        ok = isinstance(data, LoginPassword) and data.login == user.encode() \
            and data.password == password
        return AuthResult(success=ok, handled=False)
    return check


async def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('folder')
    parser.add_argument('--starttls', nargs=2)
    parser.add_argument('--tls', nargs=2)
    parser.add_argument('--user')
    parser.add_argument('--mechanism')
    parser.add_argument('--pipelining', action='store_true')
    parser.add_argument('--discard', action='store_true')
    args = parser.parse_args()
    folder = None if args.discard else args.folder
    keeper = Keeper(folder, args.pipelining)
    Recording.folder = folder
    options = {'hostname': 'sink.test'}
    if args.starttls:
        options.update(tls_context=context(*args.starttls), require_starttls=True)
    if args.user:
        options.update(authenticator=checker(args.user), auth_required=True,
                       auth_require_tls=bool(args.starttls))
        if args.mechanism:
            options['auth_exclude_mechanism'] = {'PLAIN', 'LOGIN'} - {args.mechanism}
    loop = asyncio.get_running_loop()
    server = await loop.create_server(
        lambda: Recording(keeper, **options), '127.0.0.1', 0,
        ssl=context(*args.tls) if args.tls else None)
    print(server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()


asyncio.run(main())
