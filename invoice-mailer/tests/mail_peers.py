"""What the mail end-to-end drivers share: the aiosmtpd store, a free
loopback port, the Postfix fixture and its deliveries, the prefix's "smtp"
service line, and the checks every received message must pass."""
import email
import email.policy
import email.utils
import importlib.util
import os
import re
import socket
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "testing"))
from script_checks import check  # noqa: E402


class Store:
    """aiosmtpd handler: every message exactly as received, with envelope."""

    def __init__(self):
        self.messages = []

    async def handle_DATA(self, server, session, envelope):
        self.messages.append((envelope.mail_from, list(envelope.rcpt_tos), envelope.original_content))
        return "250 Message accepted for delivery"


class PostfixStore:
    """The messages Postfix delivered, in the form of Store's: one entry per
    message, its recipients in the order of `order` (those not in it last)."""

    def __init__(self, postfix, order=()):
        self.postfix = postfix
        self.order = list(order)
        self.delivered = []
        # Log lines that scenarios expect (regular expressions).
        self.expected_log = []

    @property
    def messages(self):
        for sender, rcpts, raw in self.postfix.new_deliveries():
            rcpts.sort(key=lambda a: self.order.index(a) if a in self.order else len(self.order))
            self.delivered.append((sender, rcpts, raw))
        return self.delivered


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def module_at(path):
    """A Python file whose name is no module name, loaded as a module."""
    spec = importlib.util.spec_from_file_location(os.path.basename(path)[:-3].replace("-", "_"), path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def postfix_fixture():
    return module_at(os.path.join(HERE, "postfix-fixture.py"))


def services_file(prefix):
    return os.path.join(prefix, "drive_c", "windows", "system32", "drivers", "etc", "services")


def with_smtp_port(services, port):
    """The services file's text with "smtp" on port (the client's only way
    to the peer's port)."""
    lines = [line for line in services.split(b"\n") if not re.match(rb"smtp[ \t]", line)]
    return b"smtp\t\t%d/tcp\t\tmail\r\n" % port + b"\n".join(lines)


def header_block(raw):
    return raw.split(b"\r\n\r\n", 1)[0]


def received(raw, identifiers, sent_at=None):
    """The message, checked: no defects, a Date with its offset (within a
    minute of sent_at when given), a Message-ID no message in identifiers
    had (it is added to them)."""
    message = email.message_from_bytes(raw, policy=email.policy.default)
    for part in message.walk():
        check(not part.defects, "no defects in %s: %s" % (part.get_content_type(), part.defects))
    check(message["Date"] is not None, "a Date")
    date = email.utils.parsedate_to_datetime(str(message["Date"]))
    check(date.tzinfo is not None, "Date: %s parses, with its offset" % message["Date"])
    if sent_at:
        check(abs((date - sent_at).total_seconds()) < 60,
              "Date: %s is within a minute of the send (%s)" % (message["Date"], sent_at))
    identifier = str(message["Message-ID"] or "")
    check(re.fullmatch(r"<[^<>@\s]+@[^<>@\s]+>", identifier) is not None, "a Message-ID: %r" % identifier)
    check(identifier not in identifiers, "a Message-ID of its own: %s" % identifier)
    identifiers.add(identifier)
    return message
