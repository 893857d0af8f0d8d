"""The floor under tovren-bench's mail_1k_account: 1,000 messages of the same
make (a 40-line text, a 10 kB attachment) sent over one connection to the
same aiosmtpd (tests/support/smtp_sink.py) with STARTTLS and sign-in, by a
client that does nothing but write bytes made beforehand and wait for each
reply (smtplib signs in; its own per-line work is left out of the timing).
What it takes is the server's share, which no client can beat.

Usage: /usr/bin/python3 tools/mail_floor.py [RUNS]   (needs openssl and python3-aiosmtpd)
Prints "mail_1k_floor MILLISECONDS" for each run, and the server's own
processor time, which holds however busy the machine is.
"""
import os
import smtplib
import socket
import ssl
import subprocess
import sys
import tempfile
import time
from email.message import EmailMessage

SINK = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'support',
                    'smtp_sink.py')


def cpu(pid):
    """The milliseconds of processor time the process `pid` has taken."""
    with open(f'/proc/{pid}/stat') as stat:
        fields = stat.read().rsplit(')', 1)[1].split()
    return (int(fields[11]) + int(fields[12])) * 1000 / os.sysconf('SC_CLK_TCK')


def messages():
    made = []
    for i in range(1000):
        mail = EmailMessage()
        mail['From'] = 'Zoë Sender <sender@example.org>'
        mail['To'] = f'Zoë Contact {i} <contact{i}@example.org>'
        mail['Subject'] = 'Grüße: our new office'
        mail.set_content(f'Dear Zoë Contact {i},\n\n' + 'We have moved.\n' * 40)
        mail.add_attachment(b'm' * 10000, maintype='application', subtype='pdf',
                            filename='map.pdf')
        data = mail.as_bytes(policy=mail.policy.clone(linesep='\r\n'))
        made.append([b'MAIL FROM:<sender@example.org>\r\n',
                     f'RCPT TO:<contact{i}@example.org>\r\n'.encode(), b'DATA\r\n',
                     smtplib._quote_periods(data) + b'\r\n.\r\n'])
    return made


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 3
    with tempfile.TemporaryDirectory() as folder:
        cert, key = os.path.join(folder, 'cert.pem'), os.path.join(folder, 'key.pem')
        subprocess.run(['openssl', 'req', '-x509', '-newkey', 'rsa:2048', '-nodes', '-days', '1',
                        '-subj', '/CN=localhost', '-addext', 'subjectAltName=DNS:localhost',
                        '-keyout', key, '-out', cert], check=True, capture_output=True)
        password = os.urandom(12).hex()
        server = subprocess.Popen(['/usr/bin/python3', SINK, folder, '--discard', '--starttls', cert,
                                   key, '--user', 'bench'], stdout=subprocess.PIPE,
                                  env=dict(os.environ, SMTP_SINK_PASSWORD=password))
        try:
            port = int(server.stdout.readline())
            trust = ssl.create_default_context(cafile=cert)
            mail = messages()
            for _ in range(runs):
                start, served = time.perf_counter(), cpu(server.pid)
                with smtplib.SMTP('localhost', port) as client:
                    client.sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
                    client.starttls(context=trust)
                    client.login('bench', password)
                    for lines in mail:
                        for line in lines:
                            client.send(line)
                            client.getreply()
                print(f'mail_1k_floor {(time.perf_counter() - start) * 1000:.1f} '
                      f'(the server\'s processor time {cpu(server.pid) - served:.1f})', flush=True)
        finally:
            server.kill()
            server.wait()


main()
