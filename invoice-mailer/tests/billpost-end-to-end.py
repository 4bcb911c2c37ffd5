#!/usr/bin/python3
"""Billpost.exe end to end under Wine, in a prefix made fresh for the run.

A driver program (billpost-driver.exe) starts Billpost and works it by its
controls; this script generates the invoice log it opens, runs a real SMTP
server (aiosmtpd) whose port goes into the prefix's services file, takes
screenshots when the driver asks, stops and restarts the server when the
driver asks, and judges everything: the drop-down against the generator's
invoices, the shown and exported text against an independent rendering,
and every received message with Python's email package.

With --postfix-dir the server is Postfix instead (postfix-fixture.py, in
its default setting, run as root; exit 77 otherwise): the message goes
through a real mail server into its Maildir.

Usage: billpost-end-to-end.py --driver EXE --billpost EXE --wine-exec SH
       --bits 32|64 --prefix DIR --work DIR [--rounds N] [--bench]
       [--postfix-dir DIR]
"""
import argparse
import email
import email.policy
import importlib.util
import os
import shutil
import socket
import subprocess
import sys
import time

from aiosmtpd.controller import Controller

HERE = os.path.dirname(os.path.abspath(__file__))
TOOLS = os.path.join(HERE, "..", "tools")


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)
    print("ok   " + what)


class Store:
    def __init__(self):
        self.messages = []

    async def handle_DATA(self, server, session, envelope):
        self.messages.append((envelope.mail_from, list(envelope.rcpt_tos), envelope.original_content))
        return "250 Message accepted for delivery"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def reference():
    found = importlib.util.spec_from_file_location("render_reference", os.path.join(TOOLS, "render-reference.py"))
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def invoices(log):
    """Invoice numbers, header records and the reference text of each."""
    ref = reference()
    headers = open(log, "rb").read()
    items_file = open(log[:-4] + ".ldi", "rb").read()
    items = {}
    import struct
    for at in range(0, len(items_file), ref.ITEM_SIZE):
        record = items_file[at:at + ref.ITEM_SIZE]
        item = record[28:]
        quantity = struct.unpack_from("<H", item, 118)[0]
        if quantity == 0:
            continue
        rate1, rate2, price = struct.unpack_from("<ddd", item, 120)
        slots = items.setdefault(record[0:1 + record[0]], [])
        if len(slots) < 20:
            slots.append((ref.text(item, 0, 15), ref.text(item, 16, 50), ref.text(item, 67, 50), quantity,
                          rate1, rate2, price))
    result = []
    for at in range(0, len(headers), ref.HEADER_SIZE):
        header = headers[at:at + ref.HEADER_SIZE]
        lines = ref.render(header, items.get(header[0:1 + header[0]], []))
        text = "".join(line + "\r\n" for line in lines).encode("latin-1")
        result.append((ref.text(header, 0, 25), header, lines, text))
    return result


def load_postfix_fixture():
    spec = importlib.util.spec_from_file_location("postfix_fixture", os.path.join(HERE, "postfix-fixture.py"))
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


class MaildirStore:
    """The messages Postfix delivered to the Maildir of inbox@localhost, in
    the form of Store's: (envelope sender, recipients, message)."""

    def __init__(self, postfix):
        self.postfix = postfix
        self.delivered = []

    @property
    def messages(self):
        self.delivered.extend(self.postfix.new_deliveries())
        return self.delivered


class Run:
    def __init__(self, args):
        self.args = args
        self.prefix = os.path.abspath(args.prefix)
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all")
        self.port = free_port()
        self.controller = None
        self.postfix = None
        if args.postfix_dir:
            fixture = load_postfix_fixture()
            # Nothing is relayed: the relay port is one nobody listens on.
            self.postfix = fixture.Postfix(os.path.abspath(args.postfix_dir), self.port, "default", ["inbox"],
                                           free_port())
            self.store = MaildirStore(self.postfix)
        else:
            self.store = Store()

    def wine(self, *arguments, **kw):
        return [self.args.wine_exec, str(self.args.bits), self.prefix] + list(arguments)

    def make_prefix(self):
        made = subprocess.run([os.path.join(os.path.dirname(self.args.wine_exec), "wine-new-prefix.sh"),
                               str(self.args.bits), self.prefix], env=self.env, timeout=600)
        if made.returncode != 0:
            raise Failure("the Wine prefix could not be made")
        subprocess.Popen(["wineserver", "-p"], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).wait()
        services = os.path.join(self.prefix, "drive_c", "windows", "system32", "drivers", "etc", "services")
        original = open(services, "rb").read()
        lines = [line for line in original.split(b"\n") if not line.startswith(b"smtp")]
        with open(services, "wb") as f:
            f.write(b"smtp\t\t%d/tcp\t\tmail\r\n" % self.port + b"\n".join(lines))

    def start_sink(self):
        if self.postfix:
            self.postfix.start()
            return
        self.controller = Controller(self.store, hostname="127.0.0.1", port=self.port)
        self.controller.start()

    def stop_sink(self):
        if self.postfix:
            if not self.postfix.stop():
                raise Failure("Postfix does not stop")
            return
        if self.controller:
            self.controller.stop()
            self.controller = None

    def discard_prefix(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL, timeout=60)
        shutil.rmtree(self.prefix, ignore_errors=True)

    def end(self):
        self.stop_sink()
        subprocess.run(["wineserver", "-k"], env=self.env, timeout=60)
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=60)

    def leftovers(self):
        """Processes of this run still alive after its programs ended."""
        names = (os.path.basename(self.args.billpost), os.path.basename(self.args.driver))
        found = []
        for pid in os.listdir("/proc"):
            if not pid.isdigit():
                continue
            try:
                with open("/proc/%s/cmdline" % pid, "rb") as f:
                    command = f.read().replace(b"\0", b" ").decode("latin-1")
            except OSError:
                continue
            if not any(name in command for name in names) or "billpost-end-to-end.py" in command:
                continue
            # Another run (another tree, or a benchmark) has a prefix of its own.
            try:
                with open("/proc/%s/environ" % pid, "rb") as f:
                    environment = f.read().split(b"\0")
            except OSError:
                continue
            if b"WINEPREFIX=" + self.prefix.encode() in environment:
                found.append(command)
        return found

    def drive(self, mode, *arguments):
        process = subprocess.Popen(self.wine(self.args.driver, windows_path(self.args.billpost), mode, *arguments),
                                   env=self.env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL, text=True, encoding="latin-1")
        said = []
        deadline = time.time() + 600
        for line in process.stdout:
            line = line.rstrip("\r\n")
            print("     driver: " + line)
            key, _, value = line.partition(" ")
            said.append((key, value))
            if key == "ask":
                process.stdin.write(self.answer(value) + "\n")
                process.stdin.flush()
            if time.time() > deadline:
                process.kill()
                raise Failure("the driver ran too long")
        process.wait(timeout=60)
        return said

    def answer(self, request):
        word, _, rest = request.partition(" ")
        if word == "shot":
            # The driver writes the window's picture where it is told.
            shot = os.path.join(self.args.work, rest + ".bmp")
            print("     screenshot: " + shot)
            return windows_path(shot)
        if word == "stop-sink":
            self.stop_sink()
            return "ok"
        if word == "start-sink":
            self.start_sink()
            return "ok"
        if word == "messages":
            # Asked once the send has ended: everything the server accepted
            # is in the store (Postfix's store waits for its queue to empty).
            return str(len(self.store.messages))
        if word == "count":
            # The expected count, waited for. The driver asks once the
            # program has read its queue after the step (a refused send
            # has then been refused), so a count past it shows at once.
            expected = int(rest)
            deadline = time.time() + 30
            while len(self.store.messages) < expected and time.time() < deadline:
                time.sleep(0.1)
            return "ok" if len(self.store.messages) == expected else "count %d" % len(self.store.messages)
        return "?"


def values(said, key):
    return [value for k, value in said if k == key]


def one(said, key):
    found = values(said, key)
    check(len(found) == 1, "the driver said %s once (%s)" % (key, found))
    return found[0]


def make_log(work, name, count, seed):
    description = os.path.join(work, name + ".txt")
    with open(description, "w") as f:
        f.write("@log %s\n@random count=%d seed=%d\n" % (name, count, seed))
    subprocess.run([sys.executable, os.path.join(TOOLS, "make-invoice-logs.py"), description, work], check=True)
    return os.path.join(work, name + ".ldl")


def road(run, work):
    log = make_log(work, "03-1998", 40, 1998)
    expected = invoices(log)
    export = os.path.join(work, "exported.txt")
    attachment = os.path.join(work, "attachment.bin")
    with open(attachment, "wb") as f:
        f.write(bytes(range(256)) * 9 + b"\r\nend\n")
    key = "Smith"
    said = run.drive("run", windows_path(log), windows_path(export), windows_path(attachment), key)
    check(not values(said, "fail"), "the driver finished: %s" % values(said, "fail"))

    check(one(said, "caption") == "Billpost for Ledgerly 95", "caption")
    check(one(said, "outer") == "415 465", "outer size 415 x 465")
    left, top, width, height = map(int, one(said, "position").split())
    check(abs(left - (width - 415) // 2) <= 1 and abs(top - (height - 465) // 2) <= 1, "centred on the screen")
    check(one(said, "status0") == "Invoice log for March, 1998", "the typed log name announces March, 1998")
    numbers = [number for number, _, _, _ in expected]
    check(values(said, "item") == numbers, "the drop-down lists exactly the generator's %d invoices" % len(numbers))
    matching = [number for number, header, _, _ in expected if key.encode() in header]
    check(0 < len(matching) < len(numbers), "the key %s is in some invoices only" % key)
    check(values(said, "found") == matching, "the search lists the %d invoices with %s" % (len(matching), key))
    check(one(said, "after-cancel") == str(len(numbers)), "Cancel lists all again")

    chosen = one(said, "chosen")
    text = dict((number, text) for number, _, _, text in expected)[chosen]
    shown = open(export + ".view", "rb").read()
    check(shown.rstrip(b"\r\n") == text.rstrip(b"\r\n"), "View shows the reference rendering of %s" % chosen)
    check(one(said, "export-first") == "no-question", "a new export file is written without a question")
    questions = values(said, "export-question")
    check(len(questions) == 2 and all(q.startswith("Confirmation|") and "exported.txt" in q for q in questions),
          "each export over an existing file asks first")
    check(one(said, "export-after-no") == "kept", "No leaves the existing file")
    exported = open(export, "rb").read()
    check(exported == text, "Yes writes the rendering with CR LF line ends")

    check(one(said, "attachments") == "1", "the attach dialog adds one file")
    check(one(said, "empty-subject") == "Warning|Please enter an E-Mail<LF><CR>Address and Subject.",
          "an empty subject warns")
    check(one(said, "sent-after-empty-subject") == "none", "and sends nothing")
    check(one(said, "address-boxes-shown") == "1", "leaving a faulty address field for another shows one box")
    left = one(said, "address-left")
    check("a valid e-mail address." in left, "the box says the address is not valid: %s" % left)
    check(one(said, "address-second-box") == "none", "and no box from the other faulty field")
    check(one(said, "address-focus-back") == "yes", "the focus goes back to the field left")
    empty_host = one(said, "empty-host")
    check("a.b@" in empty_host, "\"a.b@\" is refused: %s" % empty_host)
    check(one(said, "sent-after-empty-host") == "none", "and nothing reaches the server")
    stopped = one(said, "sink-stopped")
    check(stopped.startswith("Billpost for Ledgerly 95|"), "a stopped server gives an error box: %s" % stopped)
    check(one(said, "second-box") == "no", "only one error box")
    check(one(said, "window-enabled") == "yes", "the window stays usable")
    check(one(said, "wait-shown") == "yes", "the progress dialog shows during the send")
    check(one(said, "all-done").endswith("All Done."), "the send ends with All Done.")
    check(one(said, "messages-after-send") == "1", "one send delivers exactly one message")
    check(one(said, "wait-gone") == "yes", "the progress dialog is gone after the send")
    check(one(said, "box-after-send") == "none", "no error after the send")
    check(one(said, "closed") == "yes", "closing during a send closes after it")
    check(one(said, "exit-code") == "0", "and the program ends cleanly")
    check(1 <= len(run.store.messages) <= 2, "Send twice and close during a send: at most one more message (%d in all)"
          % len(run.store.messages))

    mail_from, rcpt_tos, raw = run.store.messages[0]
    check(mail_from == "billing@example.com", "envelope sender")
    check(rcpt_tos == ["inbox@localhost"], "envelope recipient")
    message = email.message_from_bytes(raw, policy=email.policy.default)
    for part in message.walk():
        check(not part.defects, "no defects in %s" % part.get_content_type())
    check(message["Subject"] == "Invoice " + chosen, "subject")
    check("inbox@localhost" in message["To"] and "billing@example.com" in message["From"], "To and From")
    parts = [part for part in message.walk() if not part.is_multipart()]
    body = parts[0].get_content()
    with open(os.path.join(work, "sent.eml"), "wb") as f:
        f.write(raw)

    def trimmed(lines):
        while lines and not lines[-1]:
            lines = lines[:-1]
        return lines

    lines = trimmed(body.replace("\r\n", "\n").split("\n"))
    reference_lines = trimmed(text.decode("latin-1").split("\r\n"))
    check(lines == reference_lines, "the body is the rendered lines")
    attached = [part for part in parts[1:] if part.get_filename()]
    check(len(attached) == 1 and attached[0].get_filename() == "attachment.bin", "one attachment named attachment.bin")
    check(attached[0].get_payload(decode=True) == open(attachment, "rb").read(), "the attachment is byte-identical")


def bench(run, work):
    log = make_log(work, "04-1998", 20000, 4)
    said = run.drive("bench", windows_path(log))
    times = [float(t) for t in values(said, "dropdown-ms")]
    check(one(said, "items") == "20000", "the drop-down lists 20,000 invoices")
    print("drop-down of 20,000 invoices under Wine: %s ms (target: under 500 ms)" % ", ".join("%.0f" % t for t in times))
    check(max(times) < 500, "every opening of the drop-down, the first included, takes under half a second")


def main():
    parser = argparse.ArgumentParser()
    for name in ("--driver", "--billpost", "--wine-exec", "--prefix", "--work"):
        parser.add_argument(name, required=True)
    parser.add_argument("--bits", type=int, required=True)
    parser.add_argument("--rounds", type=int, default=1)
    parser.add_argument("--bench", action="store_true")
    parser.add_argument("--postfix-dir")
    args = parser.parse_args()
    if args.postfix_dir and os.geteuid() != 0:
        print("SKIP Postfix runs as root only")
        return 77
    os.makedirs(args.work, exist_ok=True)
    run = Run(args)
    failed = False
    try:
        run.make_prefix()
        run.start_sink()
        if args.bench:
            bench(run, args.work)
        else:
            for round_number in range(args.rounds):
                print("round %d" % (round_number + 1))
                run.store.messages.clear()
                road(run, args.work)
    except Failure as failure:
        print("FAIL " + str(failure))
        failed = True
    finally:
        run.end()
    left = run.leftovers()
    # The prefix is large and the screenshots lie outside it: it goes
    # whatever the outcome.
    run.discard_prefix()
    if failed:
        return 1
    if left:
        print("FAIL processes left behind: %s" % left)
        return 1
    print("ok   no process of the run is left")
    print("billpost end to end: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
