#!/usr/bin/python3
"""Writes invoice logs (".ldl" header records and ".ldi" line-item records)
and "ledgerly.INI" files from a readable description, for Billpost's tests
and benchmarks. It is an independent writer of the record layouts, so the
readers are checked against it rather than against themselves.

Usage: make-invoice-logs.py DESCRIPTION OUTPUT_FOLDER

A description is a text file of blocks, each opened by a line that starts
with "@"; "#" starts a comment line outside @ini blocks.

  @log 03-1998            starts a log pair: OUTPUT/03-1998.ldl and .ldi
  @invoice A-1001         appends a header record with this number; then
    ship-to: name | line | line ...   (up to 7 lines, "|" between them)
    bill-to: ...
    credited: 0.00          ship-via: UPS     terms: Net 30
    shipping: 12.50         notes: any text
    item: code | product | description | quantity | tax1 | tax2 | price
          appends an item record carrying this invoice's number
    item-for NUMBER: ...    appends an item record carrying NUMBER instead
  @random count=N seed=S  appends N generated invoices with 1 to 4 items
  @damage                 changes the bytes of the current pair once written:
    truncate ldl|ldi BYTES       cuts that many bytes off the end
    set ldl|ldi OFFSET VALUE     sets one byte
    double ldi OFFSET VALUE      writes a little-endian double (nan, inf too)
    remove ldl|ldi               leaves that file out
  @ini NAME               the following lines, up to the next "@" line, are
                          written verbatim (CR LF endings) to OUTPUT/NAME

Texts are 8-bit: the description is read as Latin-1 and "\\xNN" writes the
byte NN. A text longer than its field is refused, so overlong length bytes
only come from @damage.
"""
import random
import re
import struct
import sys

HEADER_SIZE = 720
ITEM_SIZE = 172


class DescriptionError(Exception):
    pass


def unescape(text):
    return re.sub(r"\\x([0-9A-Fa-f]{2})", lambda m: chr(int(m.group(1), 16)), text)


def field(text, width, name):
    """A length-prefixed text in a field of width bytes (length + room)."""
    data = unescape(text).encode("latin-1")
    if len(data) > width - 1:
        raise DescriptionError("%s: %r is longer than %d characters" % (name, text, width - 1))
    # Filler past the length is deliberately not zero: readers must not
    # look beyond the length byte.
    return bytes([len(data)]) + data + b"\xAA" * (width - 1 - len(data))


def address(lines, name):
    lines = list(lines) + [""] * (7 - len(lines))
    if len(lines) > 7:
        raise DescriptionError("%s: more than 7 lines" % name)
    out = field(lines[0], 31, name)
    for line in lines[1:]:
        out += field(line, 41, name)
    assert len(out) == 277
    return out


def header_record(h):
    out = field(h["number"], 26, "invoice number")
    out += address(h["ship-to"], "ship-to")
    out += address(h["bill-to"], "bill-to")
    out += field(h["credited"], 11, "credited")
    out += field(h["ship-via"], 16, "ship via")
    out += field(h["terms"], 21, "terms")
    out += field(h["shipping"], 11, "shipping")
    out += field(h["notes"], 81, "notes")
    assert len(out) == HEADER_SIZE
    return out


def item_record(number, spec):
    parts = [p.strip() for p in spec.split("|")]
    if len(parts) != 7:
        raise DescriptionError("item needs 7 fields: %r" % spec)
    code, product, description, quantity, tax1, tax2, price = parts
    out = field(number, 26, "item invoice number") + b"\x55\x55"
    out += field(code, 16, "item code")
    out += field(product, 51, "product")
    out += field(description, 51, "description")
    out += struct.pack("<H", int(quantity))
    out += struct.pack("<ddd", float(tax1), float(tax2), float(price))
    assert len(out) == ITEM_SIZE
    return out


def new_header(number):
    return {"number": number, "ship-to": [""], "bill-to": [""], "credited": "",
            "ship-via": "", "terms": "", "shipping": "", "notes": ""}


class LogPair:
    def __init__(self, name):
        self.name = name
        self.headers = bytearray()
        self.items = bytearray()
        self.damage = []

    def add_invoice(self, header, items):
        self.headers += header_record(header)
        for number, spec in items:
            self.items += item_record(number, spec)

    def add_random(self, count, seed):
        rng = random.Random(seed)
        names = ["Smith", "Jones", "Brown", "Taylor", "Wilson", "Evans", "Walker", "Wright"]
        products = ["Widget", "Gadget", "Sprocket", "Flange", "Gear", "Bolt", "Washer"]
        for n in range(count):
            number = "INV-%07d" % n
            h = new_header(number)
            person = "%s %s" % (rng.choice("ABCDEFGH"), rng.choice(names))
            h["ship-to"] = [person, "%d Main Street" % rng.randint(1, 999), "Springfield"]
            h["bill-to"] = [person, "PO Box %d" % rng.randint(1, 9999), "Shelbyville"]
            h["credited"] = "%d.%02d" % (rng.randint(0, 20), rng.randint(0, 99))
            h["ship-via"] = rng.choice(["UPS", "FedEx", "Mail", "Courier"])
            h["terms"] = rng.choice(["Net 30", "Net 60", "COD"])
            h["shipping"] = "%d.%02d" % (rng.randint(0, 40), rng.randint(0, 99))
            items = []
            for _ in range(rng.randint(1, 4)):
                p = rng.choice(products)
                # Mostly shop prices; now and then a large one with a
                # fraction of a cent, to exercise rounding and wide amounts.
                if rng.random() < 0.9:
                    price = "%d.%02d" % (rng.randint(0, 500), rng.randint(0, 99))
                else:
                    price = "%d.%03d" % (rng.randint(0, 99999999), rng.randint(0, 999))
                items.append((number, "%s-%d | %s | %s size %d | %d | %s | %s | %s" % (
                    p[:3].upper(), rng.randint(1, 99), p, p, rng.randint(1, 9),
                    rng.randint(0, 20), rng.choice(["0", "5", "7.5", "8.25", "6.875"]),
                    rng.choice(["0", "1", "2.5", "0.15"]), price)))
            self.add_invoice(h, items)

    def write(self, folder):
        files = {"ldl": bytearray(self.headers), "ldi": bytearray(self.items)}
        removed = set()
        for op in self.damage:
            kind, which = op[0], op[1]
            if which not in files:
                raise DescriptionError("damage names ldl or ldi, not %r" % which)
            data = files[which]
            if kind == "truncate":
                del data[max(0, len(data) - int(op[2])):]
            elif kind == "set":
                data[int(op[2], 0)] = int(op[3], 0)
            elif kind == "double":
                at = int(op[2], 0)
                data[at:at + 8] = struct.pack("<d", float(op[3]))
            elif kind == "remove":
                removed.add(which)
            else:
                raise DescriptionError("unknown damage %r" % kind)
        for which, data in files.items():
            if which not in removed:
                with open("%s/%s.%s" % (folder, self.name, which), "wb") as f:
                    f.write(data)


def parse(path, folder):
    with open(path, encoding="latin-1") as f:
        lines = f.read().splitlines()
    log = None
    header = None
    items = []
    block = None
    ini = None

    def finish_invoice():
        nonlocal header, items
        if header is not None:
            log.add_invoice(header, items)
        header, items = None, []

    def finish_ini():
        nonlocal ini
        if ini is not None:
            name, body = ini
            with open("%s/%s" % (folder, name), "wb") as f:
                f.write("".join(line + "\r\n" for line in body).encode("latin-1"))
        ini = None

    pairs = []
    for number, raw in enumerate(lines, 1):
        try:
            if raw.startswith("@"):
                finish_ini()
                if log is not None:
                    finish_invoice()
                word, _, rest = raw[1:].partition(" ")
                rest = rest.strip()
                block = word
                if word == "log":
                    log = LogPair(rest)
                    pairs.append(log)
                elif word == "invoice":
                    header = new_header(rest)
                elif word == "random":
                    options = dict(o.split("=") for o in rest.split())
                    log.add_random(int(options["count"]), int(options.get("seed", "1")))
                elif word == "ini":
                    ini = (rest, [])
                elif word != "damage":
                    raise DescriptionError("unknown block @%s" % word)
                continue
            if ini is not None:
                ini[1].append(raw)
                continue
            line = raw.strip()
            if not line or line.startswith("#"):
                continue
            if block == "damage":
                log.damage.append(line.split())
                continue
            if block != "invoice":
                raise DescriptionError("a line outside any block")
            key, _, value = line.partition(":")
            key, value = key.strip(), value.strip()
            if key in ("ship-to", "bill-to"):
                header[key] = [p.strip() for p in value.split("|")]
            elif key == "item":
                items.append((header["number"], value))
            elif key.startswith("item-for "):
                items.append((key[len("item-for "):].strip(), value))
            elif key in header:
                header[key] = value
            else:
                raise DescriptionError("unknown field %r" % key)
        except (DescriptionError, ValueError, KeyError, AttributeError, TypeError) as e:
            raise SystemExit("%s:%d: %s" % (path, number, e))
    if log is not None:
        finish_invoice()
    finish_ini()
    for pair in pairs:
        pair.write(folder)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    parse(sys.argv[1], sys.argv[2])
