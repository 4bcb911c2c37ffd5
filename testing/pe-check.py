#!/usr/bin/python3
"""Checks the shipped Windows binaries of a build tree by reading their PE
headers directly: machine and kind, imports, exports and the resources whose
values the binaries promise to their hosts and callers; and that they carry
no debug information, which lies beside each in <binary>.debug, named by its
debug link, from which addr2line resolves an address of our code.

  pe-check.py TREE [--bits 32|64]   check the binaries of one build tree
  pe-check.py --self-test TREE      show that damaged copies are caught

TREE/pe-deliverables.txt (written by CMake) names the deliverables that the
tree is configured to build, one "name<TAB>path" a line. A deliverable that
is configured but missing fails; one that is not configured is reported as
not built yet. Exit codes: 0 all good, 1 a check failed, 77 no such tree.
"""
import contextlib
import io
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

# DLLs that every supported Windows provides. Anything else (the MinGW
# runtime, libstdc++, libgcc, winpthread, a DLL of our own) would have to be
# shipped beside the binary, and none is.
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "comctl32.dll",
    "comdlg32.dll", "ole32.dll", "oleaut32.dll", "shell32.dll", "shlwapi.dll",
    "ws2_32.dll", "wsock32.dll", "winmm.dll", "version.dll", "setupapi.dll",
    "cfgmgr32.dll", "msvcrt.dll", "rpcrt4.dll", "imm32.dll", "msimg32.dll",
    "riched20.dll", "riched32.dll", "winspool.drv", "urlmon.dll", "wininet.dll",
    "mpr.dll", "netapi32.dll", "secur32.dll", "crypt32.dll", "olepro32.dll",
}

COM_SERVER_EXPORTS = ["DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                      "DllUnregisterServer"]

RT_BITMAP, RT_DIALOG, RT_STRING, RT_RCDATA, RT_VERSION = 2, 5, 6, 10, 16


def component_module(name, description, resources):
    """A device library's COM server: its exports, type library and more
    resources, its name in string 100 and its version block."""
    return {
        "file": name + ".dll", "kind": "dll",
        "exports": dict(zip(COM_SERVER_EXPORTS, [1, 2, 3, 4])),
        "strings": {100: name.upper()},
        "resources": [("TYPELIB", 1)] + resources,
        "version": {
            "strings": {"FileVersion": "1.00.419", "ProductVersion": "1.00.419",
                        "FileDescription": description,
                        "InternalName": name, "OriginalFilename": name + ".DLL",
                        "ProductName": name + " Module"},
            "fixed": (1, 0, 419, 0), "translation": (0x0409, 0x04B0)},
    }


# What each deliverable must be. exports: name -> fixed ordinal (None where
# only the name is fixed); the set is exact. strings: string-table id -> text.
# resources: (type, name) that must be present. str0: RCDATA tables in the
# "STR0" layout -> {id: text}. version: the version block's texts, its fixed
# file version and its first translation. Entries under "pending" belong to
# features that are not built yet: they are reported, not failed, until they
# hold (and then the report says to move them up).
DELIVERABLES = {
    "Lexitray": {
        "file": "Lexitray.exe", "kind": "exe", "exports": {},
        "str0": {
            "SRMGR_STRINGS": {1: "String not found: %d", 2: "Cannot lock resource",
                              3: "String resource not found: %s",
                              4: "Unable to open string resource: %s"},
            "BASEKIT_STRINGS_ENGLISH": {
                73: "Error opening file", 100: "File does not contain version info",
                119: "Error adding tray icon", 121: "Tray icon error", 127: "&Close",
                128: "&Restore", 133: "Cannot have more than one BkTrayIcon per application",
                134: "The specified key cannnot be found in version info",
                135: "ImageList is not assigned"},
        },
        "pending": {"resources": [(RT_RCDATA, "PLAINKIT_STRINGS_ENGLISH")]},
    },
    "QorSim": {
        "file": "QorSim.dll", "kind": "dll",
        "exports": dict(zip(COM_SERVER_EXPORTS, [1, 2, 3, 4])),
        "strings": {100: "QorSim"},
        "resources": [("TYPELIB", 1)],
    },
    # QorLib01 registers from its own tables, not from registry-script
    # resources: the keys it writes are what counts, and the regsvr32 test
    # checks them. QorLib02 also holds the model libraries (diode, NPN, PNP).
    "QorLib01": component_module("QorLib01", "Netweave Component Module", []),
    "QorLib02": component_module("QorLib02", "Netweave Semiconductor Module",
                                 [("XML", 201), ("XML", 202), ("XML", 203)]),
    "Pixtune": {
        "file": "Pixtune.dll", "kind": "dll",
        "exports": {"EXPORT": None, "ABOUT": None},
        "resources": [(RT_DIALOG, 110), (RT_DIALOG, 125), (RT_DIALOG, 115), (RT_DIALOG, 126),
                      (RT_DIALOG, 117), (RT_DIALOG, 113), (RT_DIALOG, 122)],
        "strings": {
            16102: "33600", 16103: "28800", 16104: "14400", 16105: "9600", 16106: "2400",
            16107: "Image options", 16108: "Thumbnail options",
            16115: "You haven't choosen thumbnail generation option.\n"
                   "Do you want to choose it now?",
            16116: "Confirm", 16117: "Original/compressed image size",
            16118: "Compression ratio", 16119: "Download time @ modem speed",
            16121: "Show source image", 16122: "Lock chrominance && luminance sliders",
            16132: "You have choosen thumbnail only generation option.\n"
                   "Do you want to create main image?",
            17002: "Pixtune.hlp", 17003: "Fullscreen preview",
            17004: "Minimize/restore window"},
    },
    "Pixtunef": {
        "file": "Pixtunef.8bf", "kind": "dll", "exports": {"ENTRYPOINT": None},
        "resources": [("PIPL", 16000), ("AETE", 16000)],
    },
    "Pixtunee": {
        "file": "Pixtunee.8be", "kind": "dll", "exports": {"ENTRYPOINT": None},
        "resources": [("PIPL", 16000), ("AETE", 16000)],
    },
    "Pixsetup": {
        "file": "Pixsetup.exe", "kind": "exe", "exports": {},
        "strings": {
            1: "Pixtunee.8be", 3: "Pixtunef.8bf", 4: "Pixtune.dll", 6: "Pixuns.exe",
            7: "Pixtune.hlp", 8: "Pixtune.inf", 9: "pabout.hlp", 11: "setupapi.dll",
            12: "cfgmgr32.dll",
            12000: "C:\\Program Files\\Tarvos Technologies\\Pixtune plug-in",
            12001: "Attention! See your product documentation about installing "
                   "third-party plug-ins.",
            12002: "Not all of the setup components were found.",
            12003: "Pixtune plug-in files were removed from this system.",
            12004: "There were errors during setup process. Ignore them?",
            12005: "Folder does not exist. Create new?",
            12008: "Attention! It is recommended to store plug-in files into Photoshop "
                   "plug-ins folder, otherwise they may be invisible for Adobe Photoshop.",
            12009: "Cannot copy dll`s into SYSTEM folder.",
            16117: "Pixtune plug-in, Version 3.0\nSETUP",
            16119: "Cannot create folder:\n",
            16122: "Setup has found the old version of Pixtune plug-in installed.\n"
                   "You need to uninstall it before setup continues.\nDo you wish to do it now?"},
        "resources": [(RT_DIALOG, 10001), (RT_DIALOG, 10002), (RT_BITMAP, 110)],
    },
    "Pixuns": {"file": "Pixuns.exe", "kind": "exe", "exports": {}},
    "Billpost": {"file": "Billpost.exe", "kind": "exe", "exports": {}},
}


class PeError(Exception):
    pass


class PeImage:
    """The parts of a PE file that the checks read."""

    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise PeError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise PeError("no PE signature")
        (self.machine, sections, _, symbols, symbol_count, opt_size,
         self.characteristics) = struct.unpack_from("<HHIIIHH", data, pe + 4)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", data, opt)[0]
        self.image_base = (struct.unpack_from("<I", data, opt + 28)[0] if self.magic == 0x10B
                           else struct.unpack_from("<Q", data, opt + 24)[0])
        self.subsystem = struct.unpack_from("<H", data, opt + 68)[0]
        dirs = opt + (96 if self.magic == 0x10B else 112)
        count = struct.unpack_from("<I", data, dirs - 4)[0]
        self.dirs = [struct.unpack_from("<II", data, dirs + 8 * i) for i in range(min(count, 16))]
        self.sections = []
        self.section_names = []
        strings = symbols + 18 * symbol_count  # long section names: "/<offset>"
        for i in range(sections):
            name, vsize, va, rsize, raw = struct.unpack_from("<8sIIII", data, opt + opt_size + 40 * i)
            name = name.rstrip(b"\0").decode("latin-1")
            if name.startswith("/") and name[1:].isdigit() and symbols:
                start = strings + int(name[1:])
                name = data[start:data.index(b"\0", start)].decode("latin-1")
            self.section_names.append(name)
            self.sections.append((va, max(vsize, rsize), raw, rsize))

    def section(self, name):
        """The raw contents of the named section, or None."""
        for (_, _, raw, rsize), own in zip(self.sections, self.section_names):
            if own == name:
                return self.data[raw:raw + rsize]
        return None

    def debug_sections(self):
        return [n for n in self.section_names if n.startswith((".debug", ".zdebug"))]

    def offset(self, rva):
        for va, size, raw, rsize in self.sections:
            if va <= rva < va + size and rva - va < rsize:
                return raw + rva - va
        raise PeError("address 0x%x lies in no section" % rva)

    def cstring(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("latin-1")

    def directory(self, index):
        return self.dirs[index] if index < len(self.dirs) else (0, 0)

    def import_names(self):
        """(name, file offset of the name) of every imported DLL."""
        names = []
        rva, _ = self.directory(1)
        while rva:
            desc = struct.unpack_from("<IIIII", self.data, self.offset(rva))
            if not any(desc):
                break
            names.append((self.cstring(desc[3]), self.offset(desc[3])))
            rva += 20
        rva, _ = self.directory(13)  # delay-load imports
        while rva:
            desc = struct.unpack_from("<8I", self.data, self.offset(rva))
            if not any(desc):
                break
            names.append((self.cstring(desc[1]), self.offset(desc[1])))
            rva += 32
        return names

    def imports(self):
        return [name for name, _ in self.import_names()]

    def exports(self):
        """{name: ordinal}, and the count of exports without a name."""
        self.export_rvas = {}
        rva, _ = self.directory(0)
        if not rva:
            return {}, 0
        (_, _, _, _, _, base, functions, count, funcs, names,
         ordinals) = struct.unpack_from("<IIHHIIIIIII", self.data, self.offset(rva))
        result = {}
        named = set()
        self.export_name_offsets = {}
        for i in range(count):
            name_rva = struct.unpack_from("<I", self.data, self.offset(names + 4 * i))[0]
            name = self.cstring(name_rva)
            self.export_name_offsets[name] = self.offset(name_rva)
            index = struct.unpack_from("<H", self.data, self.offset(ordinals + 2 * i))[0]
            result[name] = base + index
            self.export_rvas[name] = struct.unpack_from("<I", self.data, self.offset(funcs + 4 * index))[0]
            named.add(index)
        unnamed = sum(1 for i in range(functions) if i not in named and
                      struct.unpack_from("<I", self.data, self.offset(funcs + 4 * i))[0])
        return result, unnamed

    def resources(self):
        """{(type, name): data} of the first language of each resource;
        string names are upper-case, as Windows looks them up."""
        rva, _ = self.directory(2)
        found = {}
        if not rva:
            return found
        root = self.offset(rva)

        def entries(at):
            named, ids = struct.unpack_from("<HH", self.data, at + 12)
            for i in range(named + ids):
                key, target = struct.unpack_from("<II", self.data, at + 16 + 8 * i)
                if key & 0x80000000:
                    pos = root + (key & 0x7FFFFFFF)
                    length = struct.unpack_from("<H", self.data, pos)[0]
                    key = self.data[pos + 2:pos + 2 + 2 * length].decode("utf-16-le").upper()
                yield key, target

        for rtype, tdir in entries(root):
            for name, ndir in entries(root + (tdir & 0x7FFFFFFF)):
                for _, leaf in entries(root + (ndir & 0x7FFFFFFF)):
                    if leaf & 0x80000000:
                        continue
                    data_rva, size = struct.unpack_from("<II", self.data, root + leaf)
                    start = self.offset(data_rva)
                    found.setdefault((rtype, name), self.data[start:start + size])
        return found


def string_table(resources):
    strings = {}
    for (rtype, block), data in resources.items():
        if rtype != RT_STRING or not isinstance(block, int):
            continue
        pos = 0
        for i in range(16):
            length = struct.unpack_from("<H", data, pos)[0]
            if length:
                strings[(block - 1) * 16 + i] = data[pos + 2:pos + 2 + 2 * length].decode("utf-16-le")
            pos += 2 + 2 * length
    return strings


def str0_table(data):
    if data[:4] != b"STR0":
        raise PeError("does not begin with STR0")
    count = struct.unpack_from("<I", data, 4)[0]
    table = {}
    for i in range(count):
        ident, offset, length = struct.unpack_from("<III", data, 8 + 12 * i)
        table[ident] = data[offset:offset + 2 * length].decode("utf-16-le")
    return table


def version_info(data):
    """The texts of the first string block, the fixed file version and the
    first translation of a VS_VERSIONINFO resource."""
    def node(pos):
        length, value_length, kind = struct.unpack_from("<HHH", data, pos)
        end_key = pos + 6
        while data[end_key:end_key + 2] != b"\0\0":
            end_key += 2
        key = data[pos + 6:end_key].decode("utf-16-le")
        value = (end_key + 2 + 3) & ~3
        size = value_length * (2 if kind == 1 else 1)
        children = []
        child = (value + size + 3) & ~3
        while child < pos + length:
            children.append(node(child))
            child = (child + struct.unpack_from("<H", data, child)[0] + 3) & ~3
        return key, data[value:value + size], kind, children

    key, fixed, _, children = node(0)
    if key != "VS_VERSION_INFO":
        raise PeError("version resource without VS_VERSION_INFO")
    info = {"strings": {}, "fixed": None, "translation": None}
    if len(fixed) >= 16 and struct.unpack_from("<I", fixed)[0] == 0xFEEF04BD:
        ms, ls = struct.unpack_from("<II", fixed, 8)
        info["fixed"] = (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    for ckey, _, _, blocks in children:
        if ckey == "StringFileInfo" and blocks and not info["strings"]:
            for skey, value, _, _ in blocks[0][3]:
                info["strings"][skey] = value.decode("utf-16-le").rstrip("\0")
        elif ckey == "VarFileInfo":
            for vkey, value, _, _ in blocks:
                if vkey == "Translation" and len(value) >= 4:
                    info["translation"] = struct.unpack_from("<HH", value)
    return info


def type_text(rtype):
    names = {RT_BITMAP: "BITMAP", RT_DIALOG: "DIALOG", RT_STRING: "STRING", RT_RCDATA: "RCDATA"}
    return names.get(rtype, str(rtype))


def check_resources(image, expect, problems):
    resources = image.resources()
    strings = string_table(resources)
    for ident, text in expect.get("strings", {}).items():
        if strings.get(ident) != text:
            problems.append("string %d is %r, not %r" % (ident, strings.get(ident), text))
    for rtype, name in expect.get("resources", []):
        if (rtype, name) not in resources:
            problems.append("no %s resource %s" % (type_text(rtype), name))
    for name, texts in expect.get("str0", {}).items():
        data = resources.get((RT_RCDATA, name))
        if data is None:
            problems.append("no RCDATA string table %s" % name)
            continue
        try:
            table = str0_table(data)
        except PeError as error:
            problems.append("string table %s %s" % (name, error))
            continue
        for ident, text in texts.items():
            if table.get(ident) != text:
                problems.append("%s %d is %r, not %r" % (name, ident, table.get(ident), text))
    want = expect.get("version")
    if want:
        data = resources.get((RT_VERSION, 1))
        if data is None:
            problems.append("no version resource 1")
            return
        info = version_info(data)
        for key, text in want["strings"].items():
            if info["strings"].get(key) != text:
                problems.append("version %s is %r, not %r" % (key, info["strings"].get(key), text))
        for key in ("fixed", "translation"):
            if info[key] != want[key]:
                problems.append("version %s is %s, not %s" % (key, info[key], want[key]))


def symbol_rva(image, names):
    """The address (relative to the image) of the first of the named symbols
    in the COFF symbol table, or None."""
    pe = struct.unpack_from("<I", image.data, 0x3C)[0]
    table, count = struct.unpack_from("<II", image.data, pe + 12)
    strings = table + 18 * count
    i = 0
    while table and i < count:
        raw, value, section, _, _, aux = struct.unpack_from("<8sIhHBB", image.data, table + 18 * i)
        if raw[:4] == b"\0\0\0\0":
            start = strings + struct.unpack_from("<I", raw, 4)[0]
            name = image.data[start:image.data.index(b"\0", start)]
        else:
            name = raw.rstrip(b"\0")
        if name.decode("latin-1") in names and 0 < section <= len(image.sections):
            return image.sections[section - 1][0] + value
        i += 1 + aux
    return None


def check_debug_split(path, image, bits, problems):
    """No debug sections; a debug link to <binary>.debug beside it, of this
    very build; and an address of our code resolved through it to a source
    line, as for a crash report. Returns what the address resolved to."""
    carried = image.debug_sections()
    if carried:
        problems.append("carries debug information: %s" % ", ".join(sorted(carried)))
        return None
    link = image.section(".gnu_debuglink")
    if link is None:
        problems.append("no debug link to its debug information")
        return None
    name = link[:link.index(b"\0")].decode("latin-1")
    crc = struct.unpack_from("<I", link, (len(name) + 4) & ~3)[0]
    debug_file = os.path.join(os.path.dirname(path), name)
    if name != os.path.basename(path) + ".debug" or not os.path.isfile(debug_file):
        problems.append("its debug link names %s, which is not beside it" % name)
        return None
    with open(debug_file, "rb") as f:
        debug = f.read()
    if zlib.crc32(debug) != crc:
        problems.append("%s beside it is not the debug information of this build" % name)
        return None
    image.exports()
    what, rva = "WinMain", symbol_rva(PeImage(debug), {"_WinMain@16", "WinMain"})
    if image.export_rvas:
        what = min(image.export_rvas)
        rva = image.export_rvas[what]
    if rva is None:
        problems.append("no WinMain or export whose address to resolve")
        return None
    address = "0x%x" % (image.image_base + rva)
    tool = ("i686" if bits == 32 else "x86_64") + "-w64-mingw32-addr2line"
    try:
        where = subprocess.run([tool, "-e", path, address], capture_output=True, text=True,
                               timeout=120).stdout.strip()
    except OSError as error:
        where = str(error)
    if not re.search(r"\.(cpp|c|h):[1-9]\d*", where):
        problems.append("addr2line does not resolve %s (%s) to a source line: %s" % (address, what, where))
        return None
    return "%s at %s is %s" % (what, address, os.path.basename(where.split(" ")[0]))


def check_binary(path, expect, bits):
    """The problems of one binary against its expectations (an empty list
    when it is sound), and the notes on its pending expectations."""
    problems, notes = [], []
    with open(path, "rb") as f:
        image = PeImage(f.read())
    machine, magic = (0x14C, 0x10B) if bits == 32 else (0x8664, 0x20B)
    if image.machine != machine or image.magic != magic:
        problems.append("machine 0x%x, optional header 0x%x: not %s" % (
            image.machine, image.magic, "PE32 for i386" if bits == 32 else "PE32+ for x86-64"))
    is_dll = bool(image.characteristics & 0x2000)
    if is_dll != (expect["kind"] == "dll"):
        problems.append("DLL flag %s on a %s" % ("set" if is_dll else "missing", expect["kind"]))
    if image.subsystem != 2:
        problems.append("subsystem %d, not the Windows GUI (2)" % image.subsystem)
    for dll in image.imports():
        if dll.lower() not in SYSTEM_DLLS:
            problems.append("imports from %s, which Windows does not provide" % dll)
    exports, unnamed = image.exports()
    if unnamed:
        problems.append("%d exports without a name" % unnamed)
    for name in sorted(set(exports) - set(expect["exports"])):
        problems.append("exports %s, which it must not" % name)
    for name, ordinal in expect["exports"].items():
        if name not in exports:
            problems.append("does not export %s" % name)
        elif ordinal is not None and exports[name] != ordinal:
            problems.append("exports %s at ordinal %d, not %d" % (name, exports[name], ordinal))
    check_resources(image, expect, problems)
    resolved = check_debug_split(path, image, bits, problems)
    if resolved:
        notes.append("stripped; " + resolved)
    pending = expect.get("pending")
    if pending:
        later = []
        check_resources(image, pending, later)
        notes.append("pending features: %d expectations do not hold yet" % len(later) if later else
                     "pending expectations all hold now: make them required")
    return problems, notes


def configured(tree):
    listing = os.path.join(tree, "pe-deliverables.txt")
    targets = {}
    with open(listing) as f:
        for line in f:
            if line.strip():
                name, path = line.rstrip("\n").split("\t", 1)
                targets[name] = path
    return targets


def check_tree(tree, bits):
    if not os.path.isfile(os.path.join(tree, "pe-deliverables.txt")):
        print("pe-check: %s is not a configured Windows build tree: skipped" % tree)
        return 77
    targets = configured(tree)
    failed = False
    for name, expect in DELIVERABLES.items():
        path = targets.get(name)
        if path is None:
            print("%-12s not built yet (not configured in this tree): skipped" % expect["file"])
            continue
        if not os.path.isfile(path):
            print("%-12s FAIL: configured but missing: %s" % (expect["file"], path))
            failed = True
            continue
        try:
            problems, notes = check_binary(path, expect, bits)
        except (PeError, struct.error, ValueError) as error:
            problems, notes = ["unreadable: %s" % error], []
        for note in notes:
            print("%-12s note: %s" % (expect["file"], note))
        if problems:
            failed = True
            for problem in problems:
                print("%-12s FAIL: %s" % (expect["file"], problem))
        else:
            print("%-12s ok (%s)" % (expect["file"], path))
    # What the installer ships: copies of the deliverables, without their
    # debug files.
    package = os.path.join(tree, "installer", "package")
    for name in sorted(os.listdir(package)) if os.path.isdir(package) else []:
        if os.path.splitext(name)[1].lower() not in (".dll", ".exe", ".8bf", ".8be"):
            continue
        try:
            carried = PeImage(open(os.path.join(package, name), "rb").read()).debug_sections()
        except (PeError, struct.error, ValueError) as error:
            carried = ["unreadable: %s" % error]
        if carried:
            failed = True
            print("%-12s FAIL: the package's copy carries debug information: %s" % (name, ", ".join(carried)))
    return 1 if failed else 0


def self_test(tree):
    """Damaged copies of a real binary fail, each for its own reason."""
    targets = configured(tree)
    source = targets.get("Pixtune")
    if not source or not os.path.isfile(source):
        print("pe-check self-test: Pixtune.dll is not built in %s" % tree)
        return 1
    bits = 32 if PeImage(open(source, "rb").read()).magic == 0x10B else 64
    expect = DELIVERABLES["Pixtune"]
    failures = 0
    work = tempfile.mkdtemp()
    try:
        sound, _ = check_binary(source, expect, bits)
        if sound:
            print("FAIL: the sound binary fails: %s" % sound)
            failures += 1
        # The longest imported name makes room for a build-tree DLL's name.
        image = PeImage(open(source, "rb").read())
        name, at = max(image.import_names(), key=lambda entry: len(entry[0]))
        ours = b"QorSim.dll"
        assert len(name) >= len(ours), name
        image.exports()
        about = image.export_name_offsets["ABOUT"]
        cases = [
            ("a renamed export", about, b"ABOUX",
             ["exports ABOUX, which it must not", "does not export ABOUT"]),
            ("an import from a DLL of the build tree", at, ours.ljust(len(name), b"\0"),
             ["imports from QorSim.dll, which Windows does not provide"]),
            ("a program's header on a DLL", None, None, ["DLL flag missing on a dll"]),
        ]
        def caught(why, broken, expected):
            problems, _ = check_binary(broken, expect, bits)
            missing = [p for p in expected if p not in problems]
            if missing:
                print("FAIL: %s is not caught as %s (found: %s)" % (why, missing, problems))
            else:
                print("caught %s: %s" % (why, "; ".join(problems)))
            return 1 if missing else 0

        broken = os.path.join(work, "Pixtune.dll")
        shutil.copy(source + ".debug", broken + ".debug")
        for why, offset, patch, expected in cases:
            data = bytearray(open(source, "rb").read())
            if offset is None:  # clear IMAGE_FILE_DLL in the file header
                flags = struct.unpack_from("<I", data, 0x3C)[0] + 22
                struct.pack_into("<H", data, flags, struct.unpack_from("<H", data, flags)[0] & ~0x2000)
            else:  # overwrite in place, so that every address stays valid
                data[offset:offset + len(patch)] = patch
            with open(broken, "wb") as f:
                f.write(bytes(data))
            failures += caught(why, broken, expected)
        # An unstripped copy: the binary with the real debug sections of its
        # debug file put back.
        objcopy = ("i686" if bits == 32 else "x86_64") + "-w64-mingw32-objcopy"
        put_back = []
        for section in (".debug_info", ".debug_line"):
            dumped = os.path.join(work, section)
            # objcopy writes a copy even when it only dumps: never over the input
            subprocess.run([objcopy, "--dump-section", "%s=%s" % (section, dumped), source + ".debug",
                            os.path.join(work, "scrap")], check=True, capture_output=True)
            put_back += ["--add-section", "%s=%s" % (section, dumped),
                         "--set-section-flags", section + "=readonly,debug"]
        subprocess.run([objcopy] + put_back + [source, broken], check=True, capture_output=True)
        failures += caught("an unstripped copy", broken,
                           ["carries debug information: .debug_info, .debug_line"])
        shutil.copy(source, broken)
        with open(broken + ".debug", "r+b") as f:  # another build's: one byte differs
            f.seek(-1, os.SEEK_END)
            last = f.read(1)
            f.seek(-1, os.SEEK_END)
            f.write(bytes([last[0] ^ 1]))
        failures += caught("the debug file of another build", broken,
                           ["Pixtune.dll.debug beside it is not the debug information of this build"])
        os.remove(broken + ".debug")
        failures += caught("a copy without its debug file", broken,
                           ["its debug link names Pixtune.dll.debug, which is not beside it"])
        wrong_kind = dict(expect, kind="exe")
        if "DLL flag set on a exe" not in check_binary(source, wrong_kind, bits)[0]:
            print("FAIL: a DLL where a program is due is not caught")
            failures += 1
        # A configured deliverable that was not built fails the tree check.
        tree_copy = os.path.join(work, "tree")
        os.mkdir(tree_copy)
        with open(os.path.join(tree_copy, "pe-deliverables.txt"), "w") as f:
            f.write("Pixtune\t%s\n" % os.path.join(tree_copy, "Pixtune.dll"))
        with contextlib.redirect_stdout(io.StringIO()) as report:
            result = check_tree(tree_copy, bits)
        if result != 1 or "configured but missing" not in report.getvalue():
            print("FAIL: a configured but missing binary passes")
            failures += 1
        else:
            print("caught a configured deliverable that was not built")
        # A package whose copy of a deliverable is the unstripped one.
        os.makedirs(os.path.join(tree_copy, "installer", "package"))
        subprocess.run([objcopy] + put_back + [source, os.path.join(tree_copy, "installer", "package",
                                                                    "Pixtune.dll")],
                       check=True, capture_output=True)
        with contextlib.redirect_stdout(io.StringIO()) as report:
            check_tree(tree_copy, bits)
        if "the package's copy carries debug information" not in report.getvalue():
            print("FAIL: an unstripped binary in the package passes")
            failures += 1
        else:
            print("caught an unstripped binary in the package")
    finally:
        shutil.rmtree(work)
    print("pe-check self-test: %s" % ("FAILED" if failures else "every damaged copy is caught"))
    return 1 if failures else 0


def main(argv):
    if len(argv) >= 3 and argv[1] == "--self-test":
        tree = argv[2]
        if not os.path.isfile(os.path.join(tree, "pe-deliverables.txt")):
            print("pe-check: %s is not a configured Windows build tree: skipped" % tree)
            return 77
        return self_test(tree)
    if len(argv) not in (2, 4) or (len(argv) == 4 and argv[2] != "--bits"):
        print(__doc__)
        return 2
    return check_tree(argv[1], int(argv[3]) if len(argv) == 4 else 32)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
