"""A Postfix mail server on loopback for the mail tests.

It runs as root from a configuration directory of its own (main.cf and
master.cf written here, queue, Maildirs and log beside them), listens on
127.0.0.1 at the port given, delivers the domain "localhost" to one Maildir
per recipient through the virtual delivery agent, relays the domain
"relay.test" to a sink on loopback, and sends nothing anywhere else. It is
started with "postfix -c DIR start" and stopped with "postfix -c DIR stop";
nothing of the system's own mail configuration is read or changed.

Settings: "default" is Postfix's own behaviour; "strict" adds the checks a
careful site turns on (bare newlines refused, RFC 821 envelopes, HELO
required, unlisted senders and recipients refused, 8-bit data only where
declared, pipelining only where offered).
"""

import json
import os
import pwd
import re
import shutil
import subprocess
import time

STRICT = {
    "smtpd_forbid_bare_newline": "reject",
    "strict_rfc821_envelopes": "yes",
    "smtpd_helo_required": "yes",
    "smtpd_reject_unlisted_recipient": "yes",
    "smtpd_reject_unlisted_sender": "yes",
    "strict_8bitmime": "yes",
    "smtpd_forbid_unauth_pipelining": "yes",
}

# Services of master.cf: name, type, private, unprivileged, chroot, wakeup,
# process limit, command. Nothing runs chrooted (the queue directory holds
# no copy of the system files a chroot would need).
SERVICES = [
    ("pickup", "unix", "n", "-", "n", "60", "1", "pickup"),
    ("cleanup", "unix", "n", "-", "n", "-", "0", "cleanup"),
    ("qmgr", "unix", "n", "-", "n", "300", "1", "qmgr"),
    ("rewrite", "unix", "-", "-", "n", "-", "-", "trivial-rewrite"),
    ("bounce", "unix", "-", "-", "n", "-", "0", "bounce"),
    ("defer", "unix", "-", "-", "n", "-", "0", "bounce"),
    ("trace", "unix", "-", "-", "n", "-", "0", "bounce"),
    ("verify", "unix", "-", "-", "n", "-", "1", "verify"),
    ("flush", "unix", "n", "-", "n", "1000?", "0", "flush"),
    ("proxymap", "unix", "-", "-", "n", "-", "-", "proxymap"),
    ("proxywrite", "unix", "-", "-", "n", "-", "1", "proxymap"),
    ("smtp", "unix", "-", "-", "n", "-", "-", "smtp"),
    ("relay", "unix", "-", "-", "n", "-", "-", "smtp"),
    ("showq", "unix", "n", "-", "n", "-", "-", "showq"),
    ("error", "unix", "-", "-", "n", "-", "-", "error"),
    ("retry", "unix", "-", "-", "n", "-", "-", "error"),
    ("discard", "unix", "-", "-", "n", "-", "-", "discard"),
    ("virtual", "unix", "-", "n", "n", "-", "-", "virtual"),
    ("anvil", "unix", "-", "-", "n", "-", "1", "anvil"),
    ("scache", "unix", "-", "-", "n", "-", "1", "scache"),
    ("postlog", "unix-dgram", "n", "-", "n", "-", "1", "postlogd"),
]

DOMAIN = "localhost"
RELAY_DOMAIN = "relay.test"


class PostfixError(Exception):
    pass


class Postfix:
    def __init__(self, directory, port, setting, mailboxes, relay_port):
        self.dir = os.path.abspath(directory)
        self.port = port
        self.setting = setting
        self.mailboxes = list(mailboxes)
        self.relay_port = relay_port
        # The configuration has a folder of its own: Postfix's start-up check
        # wants everything below it owned by root.
        self.conf = os.path.join(self.dir, "etc")
        self.mail = os.path.join(self.dir, "mail")
        self.log = os.path.join(self.dir, "postfix.log")
        self.seen = set()
        self.running = False

    # ------------------------------------------------------------ set-up

    def write_configuration(self):
        if os.path.exists(self.dir):
            shutil.rmtree(self.dir)
        nobody = pwd.getpwnam("nobody")
        os.makedirs(self.mail)
        os.makedirs(self.conf)
        os.makedirs(os.path.join(self.dir, "data"))
        os.makedirs(os.path.join(self.dir, "queue"))
        owner = pwd.getpwnam("postfix")
        os.chown(os.path.join(self.dir, "data"), owner.pw_uid, owner.pw_gid)
        # The virtual delivery agent writes as nobody; the folders above
        # must let it through.
        os.chown(self.mail, nobody.pw_uid, nobody.pw_gid)
        with open(os.path.join(self.conf, "mailboxes"), "w") as f:
            for box in self.mailboxes:
                f.write("%s@%s %s/\n" % (box, DOMAIN, box))
        with open(os.path.join(self.conf, "transport"), "w") as f:
            f.write("%s smtp:[127.0.0.1]:%d\n" % (RELAY_DOMAIN, self.relay_port))
        settings = {
            "compatibility_level": "3.6",
            "queue_directory": os.path.join(self.dir, "queue"),
            "data_directory": os.path.join(self.dir, "data"),
            "maillog_file": self.log,
            "maillog_file_prefixes": self.dir,
            "syslog_name": "billpost-postfix",
            "myhostname": "billpost-test.localdomain",
            "mydomain": "localdomain",
            # A sender without a domain is one of this server's users.
            "myorigin": DOMAIN,
            "mydestination": "",
            "inet_interfaces": "127.0.0.1",
            "inet_protocols": "ipv4",
            "mynetworks": "127.0.0.0/8",
            "relayhost": "",
            "relay_domains": RELAY_DOMAIN,
            "transport_maps": "texthash:" + os.path.join(self.conf, "transport"),
            # Whatever is neither delivered here nor relayed to the sink is
            # refused, never sent out.
            "default_transport": "error:outbound mail is off on this test server",
            "smtp_host_lookup": "native",
            "virtual_mailbox_domains": DOMAIN,
            "virtual_mailbox_base": self.mail,
            "virtual_mailbox_maps": "texthash:" + os.path.join(self.conf, "mailboxes"),
            "virtual_uid_maps": "static:%d" % nobody.pw_uid,
            "virtual_gid_maps": "static:%d" % nobody.pw_gid,
            "virtual_minimum_uid": "1",
            "alias_maps": "",
            "alias_database": "",
            "local_recipient_maps": "",
            "smtputf8_enable": "no",
            "biff": "no",
            "message_size_limit": "20480000",
            "smtpd_banner": "$myhostname ESMTP",
        }
        if self.setting == "strict":
            settings.update(STRICT)
        with open(os.path.join(self.conf, "main.cf"), "w") as f:
            for name, value in settings.items():
                f.write("%s = %s\n" % (name, value))
        with open(os.path.join(self.conf, "master.cf"), "w") as f:
            f.write("127.0.0.1:%d inet n - n - - smtpd\n" % self.port)
            for service in SERVICES:
                f.write(" ".join(service) + "\n")

    def postfix(self, *arguments, check=True):
        run = subprocess.run(["/usr/sbin/postfix", "-c", self.conf] + list(arguments),
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=60)
        if check and run.returncode != 0:
            raise PostfixError("postfix %s failed: %s" % (" ".join(arguments), " | ".join(self.log_lines()[-5:])))
        return run

    def start(self):
        self.write_configuration()
        self.postfix("start")
        self.running = True
        # Listening is read from the kernel's socket table: a probe
        # connection would show in the log as a lost connection.
        deadline = time.time() + 30
        while time.time() < deadline:
            if self.listening():
                return
            time.sleep(0.1)
        raise PostfixError("Postfix did not listen on port %d" % self.port)

    def listening(self):
        local = "0100007F:%04X" % self.port
        with open("/proc/net/tcp") as f:
            for line in f.readlines()[1:]:
                fields = line.split()
                if fields[1] == local and fields[3] == "0A":
                    return True
        return False

    def master_pid(self):
        try:
            with open(os.path.join(self.dir, "queue", "pid", "master.pid")) as f:
                pid = int(f.read().strip())
        except (OSError, ValueError):
            return None
        try:
            os.kill(pid, 0)
        except OSError:
            return None
        return pid

    def stop(self):
        """Stops the instance; answers whether its master process ended."""
        if not self.running:
            return True
        self.postfix("stop", check=False)
        deadline = time.time() + 30
        while self.master_pid() is not None and time.time() < deadline:
            time.sleep(0.1)
        if self.master_pid() is not None:
            self.postfix("abort", check=False)
            time.sleep(1)
        self.running = False
        return self.master_pid() is None

    # ------------------------------------------------------------ delivery

    def queue_empty(self):
        run = subprocess.run(["/usr/sbin/postqueue", "-c", self.conf, "-j"], stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, timeout=30)
        return run.returncode == 0 and not run.stdout.strip()

    def settle(self, deadline_seconds=60):
        """Waits until the queue is empty (every message delivered,
        relayed or bounced)."""
        deadline = time.time() + deadline_seconds
        while time.time() < deadline:
            if self.queue_empty():
                return
            time.sleep(0.2)
        run = subprocess.run(["/usr/sbin/postqueue", "-c", self.conf, "-j"], stdout=subprocess.PIPE, timeout=30)
        entries = [json.loads(line) for line in run.stdout.decode().splitlines() if line.strip()]
        raise PostfixError("the queue did not empty: %s" % entries)

    def new_deliveries(self):
        """The messages delivered since the last call, one per queue id:
        (envelope sender, [recipients], message as sent by the client with
        CR LF line ends). The headers Postfix adds on delivery
        (Return-Path, X-Original-To, Delivered-To, Received) are taken
        off."""
        self.settle()
        found = {}
        for box in self.mailboxes:
            new = os.path.join(self.mail, box, "new")
            if not os.path.isdir(new):
                continue
            for name in sorted(os.listdir(new)):
                path = os.path.join(new, name)
                if path in self.seen:
                    continue
                self.seen.add(path)
                with open(path, "rb") as f:
                    data = f.read()
                header = data.split(b"\n\n", 1)[0]
                queue_id = re.search(rb"by billpost-test\.localdomain \(Postfix\) with \w+ id (\w+)", header)
                sender = re.search(rb"^Return-Path: <([^>]*)>", header, re.M)
                key = queue_id.group(1) if queue_id else path.encode()
                entry = found.setdefault(key, [sender.group(1).decode() if sender else None, [], None])
                entry[1].append("%s@%s" % (box, DOMAIN))
                start = re.search(rb"^(?!Return-Path:|X-Original-To:|Delivered-To:|Received:|[ \t])", data, re.M)
                message = data[start.start():].replace(b"\n", b"\r\n") if start else b""
                if entry[2] is not None and entry[2] != message:
                    raise PostfixError("recipients of %s got different messages" % key)
                entry[2] = message
        return [tuple(entry) for entry in found.values()]

    # ------------------------------------------------------------ the log

    def log_lines(self):
        try:
            with open(self.log, "rb") as f:
                return f.read().decode("utf-8", "replace").splitlines()
        except OSError:
            return []


def unexpected_log_lines(lines, expected_patterns):
    """Warnings, rejects, lost connections and connections ended without
    QUIT of the log that no pattern of expected_patterns matches."""
    suspicious = re.compile(r"warning:|reject:|lost connection|improper|bare <LF>|fatal:|panic:|error:|"
                            r"status=(bounced|deferred)|too many errors|breaking line")
    without_quit = re.compile(r"smtpd\[\d+\]: disconnect from (?!.* quit=1 )")
    return [line for line in lines
            if (suspicious.search(line) or without_quit.search(line)) and
            not any(re.search(p, line) for p in expected_patterns)]
