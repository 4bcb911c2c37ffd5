#!/usr/bin/env python3
"""Checks that every Windows function with an A and a W form is called by
its suffixed name (CreateWindowExA, never CreateWindowEx): the text of the
system is 8-bit ANSI, and an unsuffixed name would follow whatever UNICODE
happens to say. The names come from the Windows headers themselves, where
each such function's unsuffixed name is a macro choosing the A or the W form.

A call is the name followed by "(", unqualified or global ("::LoadCursor(").
Members of our own classes that share such a name (TCanvas::TextOut) are
reached through ".", "->" or their class, and their declarations follow a
type, so neither counts; comments, strings and preprocessor lines are left
out. Prints each call as file:line: name, and fails when there is one.
  check-ansi-calls.py [tree]   (default: this checkout)
"""
import os
import re
import subprocess
import sys

HEADER_DIRS = ["/usr/share/mingw-w64/include"]
COMPILERS = ["i686-w64-mingw32-gcc", "x86_64-w64-mingw32-gcc"]
# Keywords that may stand before a call; any other word there makes a
# declaration ("int MessageBox(", "STDMETHODCALLTYPE ResetDC(").
CALL_KEYWORDS = {"return", "throw", "else", "do", "case", "co_return", "co_await"}


def windows_header_dir():
    """The folder of the Windows headers: asked of a mingw-w64 compiler,
    else the usual Debian place; None when neither has them."""
    for compiler in COMPILERS:
        try:
            deps = subprocess.run([compiler, "-xc", "-M", "-"], input="#include <winuser.h>\n",
                                  capture_output=True, text=True, check=True).stdout
        except (OSError, subprocess.CalledProcessError):
            continue
        match = re.search(r"(\S*)/winuser\.h", deps)
        if match:
            return match.group(1)
    for folder in HEADER_DIRS:
        if os.path.isfile(os.path.join(folder, "winuser.h")):
            return folder
    return None


def aw_names(folder):
    """Every unsuffixed name the headers map onto an A or a W form."""
    chooser = re.compile(r"^\s*#\s*define\s+(\w+)\s+(?:__MINGW_NAME_U?AW\(\s*(\w+)\s*\)|(\w+)A)\s*$")
    names = set()
    for name in os.listdir(folder):
        if not name.endswith(".h"):
            continue
        with open(os.path.join(folder, name), encoding="latin-1") as header:
            for line in header:
                match = chooser.match(line)
                if match and match.group(1) in (match.group(2), match.group(3)):
                    names.add(match.group(1))
    return names


def code_lines(text):
    """The lines of a C++ file with comments, strings and characters blanked,
    numbered from 1; preprocessor lines come out empty."""
    text = re.sub(r'//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'',
                  lambda m: "\n" * m.group(0).count("\n") + ("0" if m.group(0)[0] in "\"'" else " "),
                  text, flags=re.S)
    for number, line in enumerate(text.split("\n"), 1):
        yield number, "" if line.lstrip().startswith("#") else line


def is_call(before):
    """Whether a name preceded by <before> on its line is called there, not
    declared or reached as a member."""
    before = before.rstrip()
    if before.endswith((".", "->")) or re.search(r"\w::$", before):
        return False
    if re.search(r"(\w|>)$", before) or re.search(r"\w\s*[*&]+$", before):
        word = re.search(r"(\w+)$", before)
        return bool(word) and word.group(1) in CALL_KEYWORDS
    return True


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    folder = windows_header_dir()
    if not folder:
        print("ansi-calls: no Windows headers (mingw-w64) to read the A/W names from")
        return 1
    names = aw_names(folder)
    call = re.compile(r"\b(\w+)\s*\(")
    found = 0
    for top, dirs, files in os.walk(root):
        dirs[:] = sorted(d for d in dirs if d not in ("build", ".git"))
        for file in sorted(files):
            if not file.endswith((".cpp", ".h", ".c")):
                continue
            path = os.path.join(top, file)
            with open(path, encoding="latin-1") as source:
                lines = code_lines(source.read())
            for number, line in lines:
                for match in call.finditer(line):
                    if match.group(1) in names and is_call(line[:match.start()]):
                        print(f"{os.path.relpath(path, root)}:{number}: {match.group(1)} "
                              f"(an A/W function called by its unsuffixed name)")
                        found += 1
    if found:
        print(f"ansi-calls: {found} unsuffixed call(s) of an A/W function")
        return 1
    print("ansi-calls: every A/W function is called by its suffixed name")
    return 0


if __name__ == "__main__":
    sys.exit(main())
