#!/usr/bin/python3
"""End-to-end tests of the mail component under Wine.

A console driver (smtp-send.exe) sends messages with the component to peers
on loopback, all started and stopped here:
  - with --peer aiosmtpd: a real SMTP server (aiosmtpd) that stores each
    message exactly as received, with its envelope, and a scripted fake
    server for what real servers refuse to do: replies split across packets,
    multi-line replies, 4xx and 5xx, silence, early close. Addresses use the
    address literal [127.0.0.1], which is also the server;
  - with --peer postfix: Postfix (postfix-fixture.py) in its default or a
    strict setting, delivering to one Maildir per recipient at "localhost"
    and relaying "relay.test" to an aiosmtpd sink; its log must hold no
    warning or reject line but those a scenario expects.
Python's email package and uudecode judge what arrived. The port reaches the
client only through the "smtp" line of the Wine prefix's services file
(restored afterwards); the driver's default port is 1, so a lookup that
failed would show.

Usage: smtp-end-to-end.py --driver EXE --wine-exec SCRIPT --bits N
                          --prefix DIR [--rounds N]
                          [--peer postfix --setting default|strict --postfix-dir DIR]
"""

import argparse
import datetime
import os
import random
import re
import socket
import subprocess
import sys
import tempfile
import threading
import time

from aiosmtpd.controller import Controller

from mail_peers import PostfixStore, Store, free_port, header_block, postfix_fixture, received, services_file, \
    with_smtp_port
from script_checks import Failure, check

MAILBOXES = ["sender", "billing", "to", "cc1", "cc2", "cc3", "bcc1", "bcc2"]


def use_domain(domain):
    """Addresses of the scenarios at domain ("[127.0.0.1]" or "localhost")."""
    global DOMAIN, SENDER, TO, CCS, BCCS, ORDER
    DOMAIN = domain
    SENDER = "sender@" + domain
    TO = "to@" + domain
    CCS = ["cc%d@%s" % (i, domain) for i in (1, 2, 3)]
    BCCS = ["bcc%d@%s" % (i, domain) for i in (1, 2)]
    ORDER = [TO] + CCS + BCCS


use_domain("[127.0.0.1]")


# ---------------------------------------------------------------- peers

class FakeServer:
    """One connection, answered by a script: script(fake, conn)."""

    def __init__(self, script):
        self.script = script
        self.received = []  # lines the client sent
        self.sock = socket.socket()
        self.sock.bind(("127.0.0.1", 0))
        self.sock.listen(1)
        self.sock.settimeout(60)
        self.port = self.sock.getsockname()[1]
        self.buffer = b""
        self.thread = threading.Thread(target=self._run, daemon=True)
        self.thread.start()

    def _run(self):
        try:
            conn, _ = self.sock.accept()
        except OSError:
            return
        with conn:
            conn.settimeout(60)
            try:
                self.script(self, conn)
            except OSError:
                pass

    def readline(self, conn):
        while b"\n" not in self.buffer:
            data = conn.recv(4096)
            if not data:
                return None
            self.buffer += data
        line, self.buffer = self.buffer.split(b"\n", 1)
        line = line.rstrip(b"\r")
        self.received.append(line)
        return line

    def wait_for_close(self, conn):
        while conn.recv(4096):
            pass

    def stop(self):
        self.sock.close()
        self.thread.join(70)
        check(not self.thread.is_alive(), "the fake server's thread ended")


def send_chunks(conn, chunks):
    for chunk in chunks:
        conn.sendall(chunk)
        time.sleep(0.05)  # separate packets


def dialogue(greeting, replies):
    """A fake SMTP dialogue: greeting chunks, then for each command verb the
    chunks of replies[verb] (default: a one-line acceptance); "close" closes
    without a reply. After DATA the message is read up to "." and answered
    with replies["."]."""
    defaults = {b"HELO": [b"250 fake\r\n"], b"MAIL": [b"250 OK\r\n"], b"RCPT": [b"250 OK\r\n"],
                b"DATA": [b"354 go ahead\r\n"], b".": [b"250 queued\r\n"], b"QUIT": [b"221 bye\r\n"]}
    table = dict(defaults)
    table.update(replies)

    def script(fake, conn):
        if greeting == "close":
            return
        if greeting == "silent":
            fake.wait_for_close(conn)
            return
        send_chunks(conn, greeting)
        while True:
            line = fake.readline(conn)
            if line is None:
                return
            verb = re.split(rb"[ :]", line, 1)[0].upper()
            answer = table.get(verb, [b"500 unknown\r\n"])
            if answer == "close":
                return
            if answer == "silent":
                fake.wait_for_close(conn)
                return
            send_chunks(conn, answer)
            if verb == b"QUIT":
                return
            if verb == b"DATA" and answer[0].startswith(b"3"):
                while True:
                    data = fake.readline(conn)
                    if data is None:
                        return
                    if data == b".":
                        break
                answer = table[b"."]
                if answer == "close":
                    return
                send_chunks(conn, answer)

    return script


# ---------------------------------------------------------------- the driver

class Driver:
    def __init__(self, args, work):
        self.args = args
        self.work = work
        self.prefix = os.path.abspath(args.prefix)
        self.services = services_file(self.prefix)
        with open(self.services, "rb") as f:
            self.original_services = f.read()
        self.jobs = 0

    def windows_path(self, path):
        return "Z:" + os.path.abspath(path).replace("/", "\\")

    def wine(self, *arguments, timeout=120):
        command = [self.args.wine_exec, str(self.args.bits), self.prefix] + list(arguments)
        return subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=timeout)

    def set_smtp_port(self, port):
        with open(self.services, "wb") as f:
            f.write(with_smtp_port(self.original_services, port))

    def restore_services(self):
        with open(self.services, "wb") as f:
            f.write(self.original_services)

    def send(self, port, job):
        """Runs one job against the peer on port; answers the parsed output."""
        self.set_smtp_port(port)
        self.jobs += 1
        job_file = os.path.join(self.work, "job-%d.txt" % self.jobs)
        lines = ["default-port 1"]
        for key, value in job:
            if key in ("attach", "body"):
                value = self.windows_path(value)
            lines.append("%s %s" % (key, value))
        # The program's text is Latin-1 (Windows' ANSI code page).
        with open(job_file, "w", newline="\r\n", encoding="latin-1") as f:
            f.write("\n".join(lines) + "\n")
        run = self.wine(self.args.driver, self.windows_path(job_file))
        output = {"status": [], "progress": [], "dialog": [], "transcript": [], "events": [], "result": None,
                  "elapsed": None}
        for line in run.stdout.decode("latin-1").splitlines():
            key, _, value = line.partition(" ")
            if key in ("status", "progress"):
                output["events"].append((key, int(value)))
            if key in ("status", "progress", "dialog", "transcript"):
                output[key].append(value)
            elif key == "result":
                output["result"] = value
            elif key == "elapsed":
                output["elapsed"] = int(value)
        check(output["result"] is not None, "the driver reported a result (exit code %d)" % run.returncode)
        check((run.returncode == 0) == (output["result"] == "ok"), "exit code matches the result")
        return output


# ---------------------------------------------------------------- helpers

def write(path, data):
    with open(path, "wb") as f:
        f.write(data)
    return path


# Every Message-ID seen in the run: each message has one of its own.
IDENTIFIERS = set()


def parse(raw):
    return received(raw, IDENTIFIERS, datetime.datetime.now(datetime.timezone.utc))


def expect_ok(output):
    check(output["result"] == "ok", "sent: %s" % output["result"])
    check(output["dialog"] == ["All Done."], "\"All Done.\" shown once: %s" % output["dialog"])


def sent(driver, store, port, job):
    """Sends job, which must succeed: the driver's output, and the
    recipients, bytes and parsed form of the message stored last."""
    output = driver.send(port, job)
    expect_ok(output)
    _, rcpts, raw = store.messages[-1]
    return output, rcpts, raw, parse(raw)


def expect_error(output, text):
    check(output["result"] == text, "expected %r, got %r" % (text, output["result"]))
    check(output["dialog"] == [], "no \"All Done.\" after a failure")


# ---------------------------------------------------------------- scenarios

def full_message(driver, store, port, work):
    """To, three CC, two BCC, receipt, high priority, attachments of 0, 1,
    57, 58 bytes and 1 MiB, and an .htm file."""
    rng = random.Random(2004)
    files = {}
    for size in (0, 1, 57, 58, 1024 * 1024):
        name = "data-%d.bin" % size
        files[name] = write(os.path.join(work, name), bytes(rng.getrandbits(8) for _ in range(size)))
    html = (b"<html>\r\n<body>\r\n<p>Invoice = 12.50 \xe9</p>\r\n\t<a href=\"https://example.com/" + b"x" * 90 +
            b"\">link</a>\r\n</body>\r\n</html>\r\n")
    files["statement.htm"] = write(os.path.join(work, "statement.htm"), html)
    body = write(os.path.join(work, "body.txt"), b"Dear customer,\r\n\r\nplease find your invoice attached.\r\n")
    count = len(store.messages)
    job = [("from", SENDER + " |Billing Office"), ("to", TO + " |Jane Roe"), ("subject", "Invoice 07-2004"),
           ("receipt", "yes"), ("priority", "high"), ("body", body)]
    job += [("cc", cc + " |Copy %d" % i) for i, cc in enumerate(CCS, 1)]
    job += [("bcc", bcc + " |Blind %d" % i) for i, bcc in enumerate(BCCS, 1)]
    job += [("attach", path) for path in files.values()]
    output = driver.send(port, job)
    expect_ok(output)
    check(len(store.messages) == count + 1, "one message stored")
    mail_from, rcpts, raw = store.messages[-1]
    check(mail_from == SENDER, "envelope sender")
    check(rcpts == [TO] + CCS + BCCS, "envelope lists To, CC, BCC in order: %s" % rcpts)
    headers = header_block(raw)
    check(b"bcc" not in headers.lower() and b"blind" not in headers.lower(), "no Bcc header, no blind address")
    message = parse(raw)
    check(message["X-Priority"] == "1", "high priority")
    check(message["Return-Receipt-To"] == "<%s>" % SENDER, "return receipt")
    check([a.addr_spec for a in message["CC"].addresses] == CCS, "three CC addresses: %s" % message["CC"])
    check(message.get_content_type() == "multipart/mixed", "multipart")
    boundary = message.get_boundary()
    check(raw.endswith(b"\r\n--" + boundary.encode() + b"--\r\n"), "the multipart is closed")
    parts = message.get_payload()
    check(len(parts) == 1 + len(files), "a body part and one part per attachment")
    check(parts[0].get_content().splitlines() == ["Dear customer,", "", "please find your invoice attached."],
          "body text")
    for part, (name, path) in zip(parts[1:], files.items()):
        check(part.get_param("name") == name, "part named %s" % name)
        with open(path, "rb") as f:
            original = f.read()
        decoded = part.get_payload(decode=True)
        if name.endswith(".htm"):
            check(part.get_content_type() == "text/html", "the .htm file goes as text/html")
            check(part["Content-Transfer-Encoding"] == "quoted-printable", "as quoted-printable")
            check(part["Content-Disposition"] is None, "without a disposition line")
            check(decoded == original, "the .htm decodes to its exact bytes")
        else:
            check(part["Content-Transfer-Encoding"] == "base64", "%s as base64" % name)
            check(decoded == original, "%s decodes to identical bytes" % name)
    check(output["status"][:4] == ["1", "2", "9", "5"] and output["status"][-1] == "0",
          "status runs Connecting .. Idle: %s" % output["status"])
    check({"4", "6", "7", "3"} <= set(output["status"]), "headers, body, attachments, logout statuses")
    # Each tenth is reported once. The four small files are at 100 after
    # their first line (each then closes with 100 once more); the 1 MiB
    # file's 18,397 lines pass every tenth. The .htm file reports nothing.
    encoding = events_during(output, 9)
    check(encoding == [100, 100] * 4 + list(range(0, 101, 10)) + [100], "encoding progress: %s" % encoding)
    # Sending restarts at 0 for every part; the last 0 is the reset once
    # the server took the data.
    sending = events_during(output, 7)
    runs = []
    for value in sending[:-1]:
        if value == 0 or not runs:
            runs.append([])
        runs[-1].append(value)
    check(sending[-1] == 0 and len(runs) == len(files) and list(range(0, 101, 10)) in runs and
          all(run[0] == 0 and run[-1] == 100 and all(a < b and b % 10 == 0 for a, b in zip(run, run[1:]))
              for run in runs),
          "sending progress: rising tenths from 0 to 100 for each part: %s" % sending)


def uuencode_layout(driver, store, port, work):
    """Attachments of 14, 45 and 100 bytes in the uuencoded layout decode
    with uudecode to identical files."""
    rng = random.Random(45)
    files = []
    for size in (14, 45, 100):
        files.append(write(os.path.join(work, "UU-%d.BIN" % size), bytes(rng.getrandbits(8) for _ in range(size))))
    body = write(os.path.join(work, "uu-body.txt"), b"Three files follow.\r\n")
    _, _, raw, message = sent(driver, store, port, [("from", SENDER), ("to", TO), ("subject", "uu"),
                                                    ("encoding", "uu"), ("body", body)] +
                              [("attach", f) for f in files])
    check(message["X-Encoding"] == "UUENCODE", "uuencode header")
    text = raw.split(b"\r\n\r\n", 1)[1].replace(b"\r\n", b"\n")
    blocks = re.findall(rb"^begin 600 .*?^end$", text, re.S | re.M)
    check(len(blocks) == 3, "three begin/end blocks")
    for block, path in zip(blocks, files):
        check(block.startswith(b"begin 600 " + os.path.basename(path).lower().encode()), "lower-case name")
        out = os.path.join(work, "decoded.bin")
        run = subprocess.run(["uudecode", "-o", out], input=block + b"\n", stderr=subprocess.PIPE)
        check(run.returncode == 0, "uudecode accepts %s: %s" % (path, run.stderr))
        with open(out, "rb") as f, open(path, "rb") as g:
            check(f.read() == g.read(), "%s decodes to identical bytes" % path)


BODY_LINES = [b"Amount = 12.50", b"Tab\there", b"Caf\xe9 \xfcber \xa3 sterling", b".", b".x", b"..two",
              b"See https://billing.example.com/invoices/2004/07?customer=" + b"abcdefghij" * 8 + b"&view=full",
              b"", b"end ="]


def body_lines(driver, store, port, work):
    """A body with "=", a tab, 8-bit characters, "." and ".x" and a long URL
    arrives as the original lines, quoted-printable (iso-8859-1) and 7bit."""
    body = write(os.path.join(work, "dots.txt"), b"\r\n".join(BODY_LINES) + b"\r\n")
    _, _, _, message = sent(driver, store, port, [("from", SENDER), ("to", TO), ("subject", "dots"),
                                                  ("charset", "iso-8859-1"), ("body", body)])
    check(message["Content-Transfer-Encoding"] == "quoted-printable", "quoted-printable body")
    text = message.get_content()
    check(text.splitlines() == [line.decode("latin-1") for line in BODY_LINES],
          "quoted-printable body arrives as the original lines: %r" % text.splitlines())
    ascii_lines = [line for line in BODY_LINES if max(line, default=0) < 128]
    body = write(os.path.join(work, "dots-ascii.txt"), b"\r\n".join(ascii_lines) + b"\r\n")
    _, _, raw, _ = sent(driver, store, port, [("from", SENDER), ("to", TO), ("subject", "dots"), ("body", body)])
    check(raw.split(b"\r\n\r\n", 1)[1] == b"\r\n".join(ascii_lines) + b"\r\n",
          "7bit body arrives as the original lines (dot-stuffing undone by the server)")


def latin1_invoice(driver, store, port, work):
    """An invoice body with Latin-1 letters, sent as the main window sends
    it (no charset asked for): declared iso-8859-1, quoted-printable, and
    decoded to its exact text; the subject's accents go as encoded words."""
    lines = [b"Caf\xe9 M\xfcller GmbH", b"Gr\xf6\xdfe Stra\xdfe 5", b"", b"T-Shirt Gr\xf6\xdfe L   3   12.50",
             b"Total Due:   37.50 \xa3", b"=3D stays", b"."]
    body = write(os.path.join(work, "latin1-invoice.txt"), b"\r\n".join(lines) + b"\r\n")
    subject = "Rechnung f\xfcr Caf\xe9 M\xfcller"
    _, rcpts, raw, message = sent(driver, store, port, [("from", SENDER + " |Billing"),
                                                        ("to", TO + " |J\xf6rg M\xfcller"), ("subject", subject),
                                                        ("body", body)])
    check(rcpts == [TO], "delivered to %s" % rcpts)
    check(max(header_block(raw)) < 128, "the header is 7-bit")
    check(b"Subject:  =?iso-8859-1?" in header_block(raw), "the subject goes as encoded words")
    check(str(message["Subject"]) == subject, "and decodes to the subject: %r" % str(message["Subject"]))
    check(message["To"].addresses[0].display_name == "J\xf6rg M\xfcller", "the name decodes: %s" % message["To"])
    check(message.get_content_charset() == "iso-8859-1", "declared iso-8859-1: %s" % message["Content-Type"])
    check(message["Content-Transfer-Encoding"] == "quoted-printable", "quoted-printable")
    check(max(raw) < 128, "every byte on the wire is 7-bit")
    check(message.get_content().split("\r\n" if "\r\n" in message.get_content() else "\n")[:-1] ==
          [line.decode("latin-1") for line in lines], "the body decodes to the invoice's text exactly")


def header_values(driver, store, port, work):
    """Header values go as written: line breaks inside cannot add header or
    protocol lines; a display name with a comma stays one address."""
    body = write(os.path.join(work, "short.txt"), b"Hello\r\n")
    _, rcpts, _, message = sent(driver, store, port, [
        ("from", SENDER + " |Billing<CR><LF>X-Injected: yes"), ("to", TO + " |Doe, John"),
        ("subject", "Invoice<CR><LF>Bcc: " + BCCS[0] + "<CR><LF><CR><LF>fake body"), ("body", body)])
    check(rcpts == [TO], "only the one recipient: %s" % rcpts)
    check(message["X-Injected"] is None and message["Bcc"] is None, "no injected header")
    check([(a.display_name, a.addr_spec) for a in message["To"].addresses] == [("Doe, John", TO)],
          "a display name with a comma stays one address: %s" % message["To"])
    check(message.get_content().splitlines() == ["Hello"], "body intact")


def missing_attachment(driver, store, port, work):
    """A missing attachment fails the send with a clear error; nothing is
    sent."""
    body = write(os.path.join(work, "short.txt"), b"Hello\r\n")
    count = len(store.messages)
    output = driver.send(port, [("from", SENDER), ("to", TO), ("subject", "missing"), ("body", body),
                                ("attach", os.path.join(work, "no-such-file.bin"))])
    check(output["result"].startswith("error EMailError:The attachment(s) could not be encoded: ") and
          "no-such-file.bin" in output["result"], "clear error: %s" % output["result"])
    check(len(store.messages) == count, "no message stored")
    check(not any(line.startswith("DATA") for line in output["transcript"]), "no DATA sent")


GREETING = [b"220 fake\r\n"]


def with_fake(driver, script, job):
    fake = FakeServer(script)
    try:
        output = driver.send(fake.port, job)
    finally:
        fake.stop()
    return output, fake


def simple_job(work, timeout=30):
    body = write(os.path.join(work, "fake-body.txt"), b"Hello\r\n.\r\n")
    return [("from", SENDER), ("to", TO), ("subject", "fake"), ("body", body), ("timeout", str(timeout))]


def fake_split_replies(driver, work):
    """Replies split across packets, multi-line replies (in one packet and
    across packets), and a reply of the code alone are accepted."""
    script = dialogue([b"22", b"0 fake", b" ready\r\n"],
                      {b"HELO": [b"250-fake greets 127.0.0.1\r\n250-SIZE 1000\r\n", b"250 HELP\r\n"],
                       b"MAIL": [b"250-first\r\n250 second\r\n"],
                       b"RCPT": [b"250\r\n"],
                       b"QUIT": [b"221 \r\n"],
                       b"DATA": [b"35", b"4 go", b" ahead\r\n"],
                       b".": [b"250 queued", b" as 1\r\n"]})
    output, fake = with_fake(driver, script, simple_job(work))
    expect_ok(output)
    for line in ("220 fake ready", "250-fake greets 127.0.0.1", "250-SIZE 1000", "250 HELP", "250-first",
                 "250 second", "250", "354 go ahead", "221 "):
        check(line in output["transcript"], "transcript holds %r" % line)
    check(b"HELO [127.0.0.1]" in fake.received, "HELO with the sender's domain")
    check(b".." in fake.received, "the body line \".\" went dot-stuffed")


def events_during(output, status):
    """The progress values reported while the status was status."""
    values, inside = [], False
    for key, value in output["events"]:
        if key == "status":
            inside = value == status
        elif inside:
            values.append(value)
    return values


def fake_dialogue_lines(driver, work):
    """The commands as sent: HELO with the sender's domain and no trailing
    blank, no MAIL FROM without a sender address, HELO with this machine's
    host name when the domain is not used (never a bare HELO); progress of an 11-line body at every tenth, of a
    one-line body 0 only (each then reset to 0 when the data is taken)."""
    eleven = write(os.path.join(work, "eleven.txt"), b"".join(b"line %d\r\n" % i for i in range(11)))
    job = [("from", "me@[127.0.0.1] |Me"), ("to", TO + " |You"), ("subject", "s"), ("body", eleven)]
    output, fake = with_fake(driver, dialogue(GREETING, {}), job)
    expect_ok(output)
    check(fake.received[:3] == [b"HELO [127.0.0.1]", b"MAIL FROM:<me@[127.0.0.1]>", b"RCPT TO:<%s>" % TO.encode()],
          "HELO, MAIL, RCPT: %s" % fake.received[:3])
    # The last 0 is the reset once the server took the data.
    check(events_during(output, 6) == list(range(0, 101, 10)) + [0], "body progress: %s" % events_during(output, 6))
    one = write(os.path.join(work, "one.txt"), b"only line\r\n")
    job = [("from", "|Nobody"), ("to", TO), ("subject", "s"), ("body", one), ("helo-domain", "no")]
    output, fake = with_fake(driver, dialogue(GREETING, {}), job)
    expect_ok(output)
    check(fake.received[:2] == [b"HELO " + socket.gethostname().encode(), b"RCPT TO:<%s>" % TO.encode()],
          "HELO with the host name, no MAIL: %s" % fake.received[:2])
    check(events_during(output, 6) == [0, 0], "one-line body progress: %s" % events_during(output, 6))


TIMED_OUT = "error ETimedOutError:Operation timed out"
CLOSED = "error EMailError:Connection closed by the server"
# Sends that fail: the greeting and replies of the fake server, the job's
# time-out, the error the send ends with and the time it may take (ms).
# Refusals raise the error with their text; a reply that never ends is
# refused once it passes 64 KiB instead of filling memory or waiting; a
# silent server times out, and a close without a reply ends the send at
# once, never a hang.
FAILED_SENDS = [
    (GREETING, {b"RCPT": [b"550 No such user\r\n"]}, 30, "error EMailError: No such user", (0, 30000)),
    (GREETING, {b"MAIL": [b"451 Try again later\r\n"]}, 30, "error EMailError: Try again later", (0, 30000)),
    (GREETING, {b"DATA": [b"554 No valid recipients\r\n"]}, 30, "error EMailError: No valid recipients", (0, 30000)),
    (GREETING, {b"HELO": [b"250-" + b"x" * 1000 + b"\r\n"] * 80}, 30, "error EMailError:Reply is too long",
     (0, 30000)),
    ("silent", {}, 2, TIMED_OUT, (1000, 5000)),
    (GREETING, {b"DATA": "silent"}, 2, TIMED_OUT, (0, 5000)),
    ("close", {}, 30, CLOSED, (0, 3000)),
    (GREETING, {b"RCPT": "close"}, 30, CLOSED, (0, 3000)),
    (GREETING, {b".": "close"}, 30, CLOSED, (0, 3000)),
]


def fake_failures(driver, work):
    for greeting, replies, timeout, error, (shortest, longest) in FAILED_SENDS:
        output, fake = with_fake(driver, dialogue(greeting, replies), simple_job(work, timeout))
        expect_error(output, error)
        check(shortest <= output["elapsed"] < longest, "%s after %d ms" % (error, output["elapsed"]))
        if b"RCPT" in replies and replies[b"RCPT"] != "close":
            check(not any(line.startswith(b"DATA") for line in fake.received), "no DATA after the refusal")
            check(fake.received[-1] == b"QUIT", "QUIT after the refusal: %s" % fake.received[-2:])


def fake_failed_quit(driver, work):
    """A QUIT that fails after the server took the message is no failed send."""
    output, fake = with_fake(driver, dialogue(GREETING, {b"QUIT": "close"}), simple_job(work))
    expect_ok(output)
    check(b"QUIT" in fake.received, "QUIT was sent")


def long_lines(driver, store, port, work, sink=None):
    """Body lines of 998, 999, 1000, 1001 and 5000 characters arrive with
    the original text: the body goes quoted-printable once a line passes
    the limit, and no line on the wire does. Through Postfix the message is
    relayed to the sink, so a line Postfix had to break would show."""
    lengths = [998, 999, 1000, 1001, 5000]
    rng = random.Random(998)
    lines = [b"short line"]
    for n in lengths:
        words = b" ".join(b"w%d" % rng.randrange(1000) for _ in range(n))
        lines.append(words[:n - 1] + b"!")
    body = write(os.path.join(work, "long.txt"), b"\r\n".join(lines) + b"\r\n")
    to = "sink@relay.test" if sink else TO
    server = [("server", "localhost")]
    output = driver.send(port, [("from", SENDER), ("to", to), ("subject", "long lines"), ("body", body)] + server)
    expect_ok(output)
    if sink:
        store.messages  # Postfix has relayed what it took
    _, rcpts, raw = (sink or store).messages[-1]
    check(rcpts == [to], "delivered to %s: %s" % (to, rcpts))
    check(max(len(line) for line in raw.split(b"\r\n")) <= 998, "no line over 998 characters on the wire")
    message = parse(raw)
    check(message["Content-Transfer-Encoding"] == "quoted-printable", "long lines go quoted-printable")
    check(message.get_content_charset() == "us-ascii", "with the declared charset")
    check(message.get_content().splitlines() == [line.decode() for line in lines],
          "every line arrives with the original text")
    # A body within the limits still goes as it is.
    plain = write(os.path.join(work, "plain.txt"), b"\r\n".join(lines[:2]) + b"\r\n")
    output = driver.send(port, [("from", SENDER), ("to", to), ("subject", "998"), ("body", plain)] + server)
    expect_ok(output)
    if sink:
        store.messages
    _, _, raw = (sink or store).messages[-1]
    message = parse(raw)
    check(message["Content-Transfer-Encoding"] == "7bit", "a plain body stays 7bit")
    check(raw.split(b"\r\n\r\n", 1)[1].endswith(b"\r\n".join(lines[:2]) + b"\r\n"), "byte for byte")


def text_attachments(driver, store, port, work):
    """An LF-only and a CR LF text attachment, a lone CR, no final line end
    and 70 "e acute" decode to their exact bytes; encoded lines keep to 76."""
    texts = {
        "lf.htm": b"<html>\n<p>one</p>\n<p>two</p>\n<p>three</p>\n",
        "crlf.htm": b"<html>\r\n<p>one</p>\r\n<p>two</p>\r\n<p>three</p>\r\n",
        "mixed.htm": b"<p>a</p>\r<p>b</p>\n\n<p>trailing blank </p> ",
        "accents.htm": b"\xe9" * 70 + b"\r\n" + b"= " * 50 + b"\n",
    }
    paths = [write(os.path.join(work, name), data) for name, data in texts.items()]
    body = write(os.path.join(work, "short.txt"), b"Text files attached.\r\n")
    _, _, _, message = sent(driver, store, port, [("from", SENDER), ("to", TO), ("subject", "text files"),
                                                  ("body", body)] + [("attach", path) for path in paths])
    parts = message.get_payload()
    check(len(parts) == 1 + len(texts), "a part per file")
    for part, (name, data) in zip(parts[1:], texts.items()):
        check(part["Content-Transfer-Encoding"] == "quoted-printable", "%s as quoted-printable" % name)
        check(part.get_payload(decode=True) == data, "%s decodes to its exact bytes: %r" %
              (name, part.get_payload(decode=True)))
        encoded = part.get_payload(decode=False)
        longest = max(len(line) for line in encoded.split("\r\n"))
        check(longest <= 76, "%s: encoded lines keep to 76 characters (%d)" % (name, longest))


def sender_without_domain(driver, store, port, work):
    """A sender without a domain is delivered: HELO carries this machine's
    host name; also with the domain address off."""
    body = write(os.path.join(work, "short.txt"), b"Hello\r\n")
    for extra in ([], [("helo-domain", "no")]):
        output, rcpts, _, message = sent(driver, store, port, [("from", "billing |Billing Office"), ("to", TO),
                                                               ("subject", "no domain"), ("body", body)] + extra)
        helo = [line for line in output["transcript"] if line.startswith("HELO")]
        check(helo == ["HELO " + socket.gethostname()], "HELO with the host name: %s" % helo)
        check(rcpts == [TO], "delivered to %s" % rcpts)
        check(message["From"].addresses[0].display_name == "Billing Office", "the sender's name")
        check(message.get_content().splitlines() == ["Hello"], "body")


def latin1_names(driver, store, port, work):
    """Latin-1 display names and subject go as encoded words: delivered,
    no defect, and decoded to the original text."""
    body = write(os.path.join(work, "latin1.txt"), b"Gr\xfc\xdfe\r\n")
    sender_name, to_name, cc_name = "Ren\xe9e M\xfcller", "J\xf6rg \xc5str\xf6m, Gesch\xe4ftsf\xfchrer", "Fran\xe7oise"
    subject = "Rechnung f\xfcr Juli \xb7 " + "\xe9" * 40
    job = [("from", SENDER + " |" + sender_name), ("to", TO + " |" + to_name), ("cc", CCS[0] + " |" + cc_name),
           ("subject", subject), ("charset", "iso-8859-1"), ("body", body)]
    _, rcpts, raw, message = sent(driver, store, port, job)
    check(rcpts == [TO, CCS[0]], "delivered to %s" % rcpts)
    check(max(header_block(raw)) < 128, "the header is 7-bit")
    check(message["From"].addresses[0].display_name == sender_name, "sender name: %r" % str(message["From"]))
    check(message["To"].addresses[0].display_name == to_name, "recipient name: %r" % str(message["To"]))
    check(message["CC"].addresses[0].display_name == cc_name, "copy name: %r" % str(message["CC"]))
    check(str(message["Subject"]) == subject, "subject: %r" % str(message["Subject"]))
    check(message.get_content().splitlines() == ["Gr\xfc\xdfe"], "body")


def refused_recipient(driver, store, port, work):
    """Postfix refuses an unknown recipient: the error is the server's text,
    nothing is delivered, and the client says QUIT before it closes."""
    body = write(os.path.join(work, "short.txt"), b"Hello\r\n")
    count = len(store.messages)
    output = driver.send(port, [("from", SENDER), ("to", "nobody@" + DOMAIN), ("subject", "refused"),
                                ("body", body)])
    check(output["result"].startswith("error EMailError: 5.1.1 <nobody@localhost>: Recipient address rejected"),
          "the server's refusal: %s" % output["result"])
    check(output["dialog"] == [], "no \"All Done.\"")
    check(output["transcript"][-2:][0] == "QUIT", "QUIT after the refusal: %s" % output["transcript"][-3:])
    check(len(store.messages) == count, "nothing delivered")
    store.expected_log.append(r"NOQUEUE: reject: RCPT from localhost\[127\.0\.0\.1\]: 550 5\.1\.1 <nobody@localhost>")


SCENARIOS_REAL = [full_message, uuencode_layout, body_lines, header_values, missing_attachment, long_lines,
                  text_attachments, sender_without_domain, latin1_names, latin1_invoice]
SCENARIOS_POSTFIX = SCENARIOS_REAL + [refused_recipient]
SCENARIOS_FAKE = [fake_split_replies, fake_dialogue_lines, fake_failures, fake_failed_quit]


def register_htm(driver):
    """Gives ".htm" the content type Windows registers for it when the
    prefix has none (a fresh Wine prefix has no such key). Answers whether
    it was added."""
    query = driver.wine("reg", "query", "HKCR\\.htm", "/v", "Content Type")
    if query.returncode == 0 and b"text/html" in query.stdout:
        return False
    print("note: the prefix has no content type for .htm; registering text/html as Windows does")
    driver.wine("reg", "add", "HKCR\\.htm", "/v", "Content Type", "/d", "text/html", "/f")
    return True


def run_round(driver, number):
    failures = 0
    with tempfile.TemporaryDirectory(prefix="smtp-e2e-") as work:
        store = Store()
        port = free_port()
        controller = Controller(store, hostname="127.0.0.1", port=port)
        controller.start()
        try:
            for scenario in SCENARIOS_REAL:
                failures += run_scenario(number, scenario, driver, store, port, work)
        finally:
            controller.stop()
        for scenario in SCENARIOS_FAKE:
            failures += run_scenario(number, scenario, driver, work)
        with socket.socket() as probe:
            check(probe.connect_ex(("127.0.0.1", port)) != 0, "the SMTP server is gone after the round")
    return failures


def run_postfix(driver, args):
    """One round against Postfix in the chosen setting, then the log check."""
    fixture = postfix_fixture()
    failures = 0
    # The log check must see what it is there to see.
    samples = ["x/smtpd[1]: disconnect from localhost[127.0.0.1] helo=1 mail=1 rcpt=0/1 commands=2/3",
               "x/smtpd[1]: lost connection after RCPT from localhost[127.0.0.1]",
               "x/smtpd[1]: warning: Illegal address syntax from localhost[127.0.0.1] in MAIL command",
               "x/smtpd[1]: NOQUEUE: reject: RCPT from localhost[127.0.0.1]: 501 5.5.2 Syntax: HELO hostname",
               "x/cleanup[1]: 1A: reject: header From: improper use of 8-bit data in message header"]
    ok = "x/smtpd[1]: disconnect from localhost[127.0.0.1] helo=1 mail=1 rcpt=1 data=1 quit=1 commands=5"
    check(fixture.unexpected_log_lines(samples + [ok], []) == samples, "the log check finds the faults")
    sink = Store()
    sink_port = free_port()
    controller = Controller(sink, hostname="127.0.0.1", port=sink_port)
    controller.start()
    postfix = fixture.Postfix(args.postfix_dir, free_port(), args.setting, MAILBOXES, sink_port)
    store = PostfixStore(postfix, ORDER)
    try:
        postfix.start()
        with tempfile.TemporaryDirectory(prefix="smtp-e2e-") as work:
            for scenario in SCENARIOS_POSTFIX:
                arguments = (driver, store, postfix.port, work)
                if scenario is long_lines:
                    # Relayed to the sink as well as delivered here.
                    failures += run_scenario(1, scenario, *arguments)
                    failures += run_scenario(1, scenario, *(arguments + (sink,)))
                else:
                    failures += run_scenario(1, scenario, *arguments)
    except fixture.PostfixError as error:
        print("postfix: %s" % error)
        failures += 1
    finally:
        if not postfix.stop():
            print("Postfix is still running")
            failures += 1
        controller.stop()
    unexpected = fixture.unexpected_log_lines(postfix.log_lines(), store.expected_log)
    for line in unexpected:
        print("unexpected in the Postfix log: %s" % line)
    print("Postfix log (%s setting): %d lines, %d unexpected; kept at %s" %
          (args.setting, len(postfix.log_lines()), len(unexpected), postfix.log))
    return failures + len(unexpected)


def run_scenario(number, scenario, *arguments):
    start = time.time()
    try:
        scenario(*arguments)
    except (Failure, subprocess.TimeoutExpired) as error:
        print("round %d %-22s FAIL  %s" % (number, scenario.__name__, error))
        return 1
    print("round %d %-22s ok    %.1f s" % (number, scenario.__name__, time.time() - start))
    return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--driver", required=True)
    parser.add_argument("--wine-exec", required=True)
    parser.add_argument("--bits", type=int, required=True)
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--rounds", type=int, default=1)
    parser.add_argument("--peer", choices=["aiosmtpd", "postfix"], default="aiosmtpd")
    parser.add_argument("--setting", choices=["default", "strict"], default="default")
    parser.add_argument("--postfix-dir")
    args = parser.parse_args()
    if args.peer == "postfix":
        if os.geteuid() != 0:
            print("skipped: Postfix runs as root with its own configuration; this is not root")
            return 77
        if not os.path.exists("/usr/sbin/postfix"):
            print("skipped: Postfix is not installed (scripts/setup.sh installs it)")
            return 77
        use_domain("localhost")
    sys.stdout.reconfigure(line_buffering=True)
    with tempfile.TemporaryDirectory(prefix="smtp-e2e-") as work:
        driver = Driver(args, work)
        added = register_htm(driver)
        failures = 0
        try:
            if args.peer == "postfix":
                failures += run_postfix(driver, args)
            else:
                for number in range(1, args.rounds + 1):
                    failures += run_round(driver, number)
        finally:
            driver.restore_services()
            if added:
                driver.wine("reg", "delete", "HKCR\\.htm", "/f")
    left = [t.name for t in threading.enumerate() if t is not threading.main_thread()]
    if left:
        print("threads left running: %s" % left)
        failures += 1
    # A driver started by a job has its job file after the program's name;
    # the drivers of other build trees (another run on this machine) are
    # not this run's.
    driver_left = subprocess.run(["pgrep", "-f", re.escape(os.path.abspath(args.driver)) + " Z:"],
                                 stdout=subprocess.DEVNULL).returncode == 0
    if driver_left:
        print("a driver process is still running")
        failures += 1
    print("%d failure(s)" % failures)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
