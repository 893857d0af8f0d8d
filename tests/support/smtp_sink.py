"""A real SMTP server for tests: aiosmtpd on a free loopback port.

Usage: smtp_sink.py FOLDER. Prints the port on the first line of standard
output once it listens, then keeps every message it accepts as FOLDER/N.eml
(the data as received, dots unstuffed) and FOLDER/N.json (HELO name,
envelope sender and recipients), numbered from 1, before it answers 250.
"""
import asyncio
import json
import os
import sys

from aiosmtpd.smtp import SMTP


class Keeper:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(self.folder, str(self.count))
        with open(base + '.eml', 'wb') as f:
            f.write(envelope.original_content)
        with open(base + '.json', 'w') as f:
            json.dump({'helo': session.host_name, 'from': envelope.mail_from,
                       'to': envelope.rcpt_tos}, f)
        return '250 OK'


async def main():
    keeper = Keeper(sys.argv[1])
    loop = asyncio.get_running_loop()
    server = await loop.create_server(
        lambda: SMTP(keeper, hostname='sink.test'), '127.0.0.1', 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()


asyncio.run(main())
