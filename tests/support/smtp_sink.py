"""A real SMTP server for tests: aiosmtpd on a free loopback port.

Usage: smtp_sink.py FOLDER. Prints the port once it listens, then keeps each
message it accepts, before it answers 250, as FOLDER/N.eml (the data, dots
unstuffed) and FOLDER/N.json: the envelope, and the message as a mail
program reads it with Python's own MIME parser (null where it cannot).
"""
import asyncio
import base64
import email
import email.policy
import json
import os
import sys

from aiosmtpd.smtp import SMTP


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
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
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


async def main():
    keeper = Keeper(sys.argv[1])
    loop = asyncio.get_running_loop()
    server = await loop.create_server(
        lambda: SMTP(keeper, hostname='sink.test'), '127.0.0.1', 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()


asyncio.run(main())
