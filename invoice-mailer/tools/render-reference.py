#!/usr/bin/python3
"""Renders every invoice of a log pair as plain text, written independently
of Billpost's own code, so that its invoice text (native and under Wine) can
be compared with this one over many generated invoices.

Usage: render-reference.py LOG.ldl OUTPUT.txt

Labels are the defaults (no INI file). Amounts are computed with the same
IEEE double operations in the same order, then rounded to cents half away
from zero from their exact binary value with the decimal module. Each
invoice's lines end with CR LF; invoices follow one another in header order.
"""
import struct
import sys
from decimal import Decimal, ROUND_HALF_UP

HEADER_SIZE, ITEM_SIZE = 720, 172


def text(record, offset, maximum):
    length = record[offset]
    if length > maximum:
        raise SystemExit("overlong text at %d" % offset)
    return record[offset + 1:offset + 1 + length].decode("latin-1")


def address(record, offset):
    return [text(record, offset, 30)] + [text(record, offset + 31 + 41 * i, 40) for i in range(6)]


def cents(value):
    text = format(Decimal(value).quantize(Decimal("0.01"), rounding=ROUND_HALF_UP), "f")
    return "0.00" if text == "-0.00" else text


def columns(fields):
    # Columns 0, 10, 25, 40 and 60: a line shorter than the column is
    # filled with blanks to one past it; one blank always precedes a field.
    line = ""
    for column, field in zip((0, 10, 25, 40, 60), fields):
        if len(line) < column:
            line = line.ljust(column + 1)
        line += " " + field
    return line


def labelled(label, value):
    return (label.ljust(26) if len(label) < 25 else label) + " " + value


def amount(stored):
    return float(stored) if stored.strip() else 0.0


def render(header, items):
    number = text(header, 0, 25)
    ship_to, bill_to = address(header, 26), address(header, 303)
    credited, ship_via = text(header, 580, 10), text(header, 591, 15)
    terms, shipping = text(header, 607, 20), text(header, 628, 10)
    notes = text(header, 639, 80)
    lines = ["My Company Name", "123 Street Name", "Suite 10", "City State  ZipCode",
             "", "_" * 50, "", "Invoice Number: " + number, "",
             "Ship Via: " + ship_via, "Invoice Terms: " + terms, ""]
    if notes:
        lines += ["Notes: " + notes, ""]
    lines += ["_" * 30, "Bill To:", ""]
    lines += [l for i, l in enumerate(bill_to) if i < 3 or l]
    lines += ["_" * 30, "", "Ship To:", ""]
    lines += [l for i, l in enumerate(ship_to) if i < 3 or l]
    lines += ["_" * 30, "", ""]
    lines.append(columns(["Qty", "Unit Cost", "Extended", "Product", "Description"]))
    lines.append("_" * 95)
    subtotal = tax1 = tax2 = 0.0
    for code, product, description, quantity, rate1, rate2, price in items:
        lines.append(columns([str(quantity), cents(price), cents(quantity * price), product,
                              description]))
    for code, product, description, quantity, rate1, rate2, price in items:
        subtotal += quantity * price * (rate1 * 0.01 + 1 + rate2 * 0.01)
        tax1 += quantity * rate1 * price * 0.01
        tax2 += quantity * rate2 * price * 0.01
    lines += ["", "", "_" * 35, "", ""]
    lines.append(labelled("SubTotal:", cents(subtotal)))
    lines.append(labelled("Shipping Cost:", shipping))
    if tax1 > 0:
        lines.append(labelled("Tax1", cents(tax1)))
    if tax2 > 0:
        lines.append(labelled("Tax2", cents(tax2)))
    lines += ["", labelled("[Credited]:", credited), ""]
    lines.append(labelled("Total Due:", cents(subtotal + amount(shipping) - amount(credited))))
    lines += ["", "_" * 35]
    return lines


def read_items(log):
    """The kept items of each invoice of the log, by the number's field
    bytes."""
    items_file = open(log[:-4] + ".ldi", "rb").read()
    items = {}
    for at in range(0, len(items_file), ITEM_SIZE):
        record = items_file[at:at + ITEM_SIZE]
        item = record[28:]
        quantity = struct.unpack_from("<H", item, 118)[0]
        if quantity == 0:
            continue
        rate1, rate2, price = struct.unpack_from("<ddd", item, 120)
        slots = items.setdefault(record[0:1 + record[0]], [])
        if len(slots) < 20:
            slots.append((text(item, 0, 15), text(item, 16, 50), text(item, 67, 50), quantity,
                          rate1, rate2, price))
    return items


def main(log, output):
    headers = open(log, "rb").read()
    items = read_items(log)
    out = []
    for at in range(0, len(headers), HEADER_SIZE):
        header = headers[at:at + HEADER_SIZE]
        out += render(header, items.get(header[0:1 + header[0]], []))
    with open(output, "wb") as f:
        f.write("".join(line + "\r\n" for line in out).encode("latin-1"))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    main(sys.argv[1], sys.argv[2])
