#!/usr/bin/env python3
"""Keeps what can be read of a package index that a mirror in mid-sync served
short or damaged.

Usage: partial-index.py <Packages.xz|.gz|.bz2|Packages> <output>

Decompresses as far as the data goes, keeps only whole stanzas (a stanza cut
off at the end is dropped) and writes them, uncompressed, to <output>. Prints
how many stanzas were kept; fails when none was. apt checks every package it
downloads against the SHA256 of its stanza, so a stanza kept here can only
ever bring the exact file it names.
"""
import bz2
import lzma
import sys
import zlib

CHUNK = 1 << 16


def decompressor(path):
    if path.endswith(".xz"):
        return lzma.LZMADecompressor()
    if path.endswith(".gz"):
        return zlib.decompressobj(16 + zlib.MAX_WBITS)
    if path.endswith(".bz2"):
        return bz2.BZ2Decompressor()
    return None


def readable_text(path):
    """The bytes that decompress before the first error or the data's end."""
    unpack = decompressor(path)
    out = bytearray()
    with open(path, "rb") as f:
        while chunk := f.read(CHUNK):
            if unpack is None:
                out += chunk
                continue
            try:
                out += unpack.decompress(chunk)
            except (lzma.LZMAError, zlib.error, OSError, EOFError):
                break
    return bytes(out)


def whole_stanzas(text):
    """Stanzas that end with their blank line, each with its package fields."""
    kept = []
    for stanza in text.split(b"\n\n")[:-1]:
        fields = {line.split(b":", 1)[0] for line in stanza.split(b"\n") if b":" in line}
        if {b"Package", b"Version", b"Architecture", b"Filename", b"SHA256"} <= fields:
            kept.append(stanza.strip(b"\n"))
    return kept


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip().split("\n\n")[1], file=sys.stderr)
        return 2
    stanzas = whole_stanzas(readable_text(sys.argv[1]))
    if not stanzas:
        print("no whole stanza could be read", file=sys.stderr)
        return 1
    with open(sys.argv[2], "wb") as f:
        f.write(b"\n\n".join(stanzas) + b"\n\n")
    print(len(stanzas))
    return 0


if __name__ == "__main__":
    sys.exit(main())
