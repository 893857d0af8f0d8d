"""Reads mail as a mail program would, with Python's own MIME parser.

Usage: read_mail.py FILE... Prints one JSON list, an entry per file: the To
recipients as [display name, address] pairs, the decoded subject, the names
of all headers, the text part decoded, and each attachment's file name and
bytes (base64).
"""
import base64
import email
import email.policy
import json
import sys


def read(path):
    with open(path, 'rb') as f:
        message = email.message_from_binary_file(f, policy=email.policy.default)
    to = message.get('To')
    text = message.get_body(preferencelist=('plain',))
    return {
        'to': [[a.display_name, a.addr_spec] for a in to.addresses] if to else [],
        'subject': str(message.get('Subject', '')),
        'headers': [name.lower() for name in message.keys()],
        'body': text.get_content() if text else None,
        'attachments': [[part.get_filename(),
                         base64.b64encode(part.get_payload(decode=True)).decode()]
                        for part in message.iter_attachments()],
    }


print(json.dumps([read(path) for path in sys.argv[1:]]))
