#!/usr/bin/python3
"""End-to-end runs of Pixsetup.exe and Pixuns.exe under Wine.

Every case copies a template prefix (made once by the "template" case),
runs there with its own wineserver, driven by the window robot through
the programs' windows and controls, and deletes the copy afterwards; the
build tree's shared prefix is never touched. Files are checked on the
prefix's drive, registry keys with "wine reg query", the installed
plug-in by the plug-in test host and jpeginfo.

  template        make the template prefix when it is missing
  discard-template  delete the template prefix once every case has run
  install         folder with blanks, registry, inf folder, the installed
                  filter run in the test host, screenshot of dialog 10002
                  and its lists of hosts
  plugin-kinds    both boxes unchecked re-checks export; filter only
  reinstall       16122, the old uninstaller with " safe", waited for
                  before anything is copied
  reinstall-wait-cpu  (a benchmark, scripts/bench-installer-wait.sh) the
                  reinstall, printing the setup's processor time while
                  the old uninstaller runs; fails above 200 ms
  uninstall       Pixuns: No keeps, SAFE asks nothing, Yes removes all
  uninstall-read-only  a read-only plug-in: the message names it, the
                  uninstall key, "AppPath" and the INF stay; once the file
                  is writable a second run removes everything
  uninstall-leaves-nothing  the default folder: no empty folder or key of
                  the maker stays, one holding something else does
  reinstall-settings  the settings the plug-in saved survive a reinstall
  missing-section Pixsetup with each section of the INF missing in turn:
                  12004, exit code 1; Pixuns without its section: an
                  error, nothing removed
  no-apppath      without "AppPath" nothing runs; decoys survive
  missing-source  a missing source file ends in 12004, exit code 1
  welcome-uninstall  "&Uninstall" of the welcome dialog runs the installed
                  uninstaller and ends the setup with 12003
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "testing"))
from wine_checks import check, finish, jpeginfo_ok, reg_listing, windows_path, write_image  # noqa: E402

PRODUCT_KEY = r"HKLM\Software\Tarvos Technologies\Pixtune plug-in\3.0"
UNINSTALL_KEY = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Pixtune plug-in"
MAKER_KEY = r"HKLM\Software\Tarvos Technologies"
MAKER_FOLDER = "Program Files\\Tarvos Technologies"
WELCOME = "Pixtune plug-in Setup"
OPTIONS = "Pixtune plug-in Setup Options"
YES, NO, OK = "6", "7", "1"
PLUGINS = ["Pixtunee.8be", "Pixtunef.8bf"]
QUESTION = "Are you sure you want to remove Pixtune plug-in?"
TEXTS = {
    12002: "Not all of the setup components were found.",
    12004: "There were errors during setup process. Ignore them?",
    12005: "Folder does not exist. Create new?",
    12000: "C:\\Program Files\\Tarvos Technologies\\Pixtune plug-in",
    12001: "Attention! See your product documentation about installing third-party plug-ins.",
    12008: "Attention! It is recommended to store plug-in files into Photoshop plug-ins folder, "
           "otherwise they may be invisible for Adobe Photoshop.",
    16122: "Setup has found the old version of Pixtune plug-in installed.|You need to uninstall it "
           "before setup continues.|Do you wish to do it now?",
}


class Prefix:
    """A throwaway copy of the template prefix with its own wineserver."""

    def __init__(self, args, name):
        self.args = args
        self.root = os.path.join(args.scratch, name)
        self.path = os.path.join(self.root, "prefix")
        self.drive = os.path.join(self.path, "drive_c")
        self.exec = os.path.join(args.source, "scripts", "wine-exec.sh")
        self.env = dict(os.environ, WINEPREFIX=self.path, WINEDEBUG="-all")

    def __enter__(self):
        shutil.rmtree(self.root, ignore_errors=True)
        os.makedirs(self.root)
        # Hard links keep the copy cheap: Wine replaces the registry files
        # rather than writing into them, and the tests only add and delete
        # files; the registry files are copied all the same.
        subprocess.run(["cp", "-al", self.args.template, self.path], check=True)
        for name in ("system.reg", "user.reg", "userdef.reg"):
            os.remove(os.path.join(self.path, name))
            shutil.copy(os.path.join(self.args.template, name), os.path.join(self.path, name))
        # A virtual desktop of the screen's size: without a window manager
        # Wine cannot maximise a window on the X display itself.
        with open(os.path.join(self.path, "user.reg"), "a") as f:
            f.write('\n[Software\\\\Wine\\\\Explorer] 1700000000\n"Desktop"="Default"\n'
                    '\n[Software\\\\Wine\\\\Explorer\\\\Desktops] 1700000000\n"Default"="1024x768"\n')
        subprocess.run(["wineserver", "-p"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
        # The prefix's services start now, their output going nowhere: started
        # by a test step instead, they would hold its output open.
        subprocess.run([self.exec, self.args.bits, self.path, "wineboot"], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL,
                       timeout=120)
        shutil.copytree(os.path.join(self.args.tree, "installer", "package"), self.file("setup"))
        shutil.copy(os.path.join(self.args.tree, "testing", "window-robot.exe"), self.drive)
        return self

    def __exit__(self, *exc):
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, stderr=subprocess.DEVNULL)
        shutil.rmtree(self.root, ignore_errors=True)

    def file(self, windows_path):
        """The Unix path of a path on drive C (given without "C:\\")."""
        return os.path.join(self.drive, *windows_path.split("\\"))

    def wine(self, *command, timeout=120):
        # Output through files: a pipe would stay open as long as any Wine
        # process that inherited it.
        out_path, err_path = os.path.join(self.root, "out.txt"), os.path.join(self.root, "err.txt")
        with open(out_path, "wb") as out, open(err_path, "wb") as err:
            try:
                code = subprocess.run([self.exec, self.args.bits, self.path] + list(command), cwd=self.root,
                                      env=self.env, stdout=out, stderr=err, stdin=subprocess.DEVNULL,
                                      timeout=timeout).returncode
            except subprocess.TimeoutExpired:
                code = None
        with open(out_path, "rb") as out, open(err_path, "rb") as err:
            return code, out.read().decode("latin-1"), err.read().decode("latin-1")

    def robot(self, *steps, timeout=90):
        """Runs the robot's steps; the report as (dictionary, list of lines)."""
        code, out, err = self.wine(r"C:\window-robot.exe", "--timeout", "30000", *steps, timeout=timeout)
        if code is None:
            check(False, "robot exceeded %d s: %s" % (timeout, steps))
        lines = [line.rstrip("\r") for line in out.splitlines()]
        if code != 0:
            check(False, "robot ended with %d: %s %s" % (code, "\n".join(lines[-12:]), err[-300:]))
        report = {}
        for line in lines:
            name, _, value = line.partition("=")
            report.setdefault(name, []).append(value)
        return report, lines

    def reg_query(self, key):
        code, out, _ = self.wine("reg", "query", key)
        return code, {name: value for name, (_, value) in reg_listing(out).items()}

    def has_key(self, key):
        return self.reg_query(key)[0] == 0

    def reg_add(self, key, name, value):
        code, _, err = self.wine("reg", "add", key, "/v", name, "/d", value, "/f")
        check(code == 0, "reg add %s %s: %s" % (key, name, err))

    def installed_files(self):
        names = {"dll": r"windows\system32\Pixtune.dll", "uninstaller": r"windows\Pixuns.exe",
                 "inf": r"windows\inf\Pixtune.inf"}
        return {k: os.path.exists(self.file(v)) for k, v in names.items()}

    def folder_files(self, folder):
        path = self.file(folder)
        return sorted(os.listdir(path)) if os.path.isdir(path) else None

    def check_folder(self, folder, expected, what):
        check(self.folder_files(folder) == expected, "%s: %s holds %s" % (what, folder, self.folder_files(folder)))


def first(report, name):
    return report.get(name, [None])[0]


def check_exit(report, code, what):
    check(first(report, "exit") == code, "%s exit %s" % (what, first(report, "exit")))


def setup(folder=None, *after, kinds=(), options=(), welcome=()):
    """Pixsetup from the package: Install on the welcome dialog; in the
    options dialog the folder typed (unless None), the kinds' boxes
    clicked, OK; then the steps after, each answer given as it comes."""
    steps = ["start:C:\\setup\\Pixsetup.exe", *welcome, "window:" + WELCOME, "enabled:1001", "click:1",
             "window:" + OPTIONS, "text:1004", "text:1006"]
    steps += ["settext:1004:" + folder] if folder is not None else []
    steps += ["toggle:%s" % box for box in kinds]
    return steps + ["checked:1001", "checked:1003", *options, "click:1", *after, "exit"]


def pixuns(*steps, arguments=""):
    return ["start:C:\\windows\\Pixuns.exe" + arguments, *steps, "exit"]


def install(prefix, folder, expected=PLUGINS):
    """Installs both plug-ins into a folder (the default one for None),
    which the setup creates when it is missing; the folder then holds the
    expected files."""
    relative = folder.split("\\", 1)[1] if folder else MAKER_FOLDER + "\\Pixtune plug-in"
    existed = os.path.isdir(prefix.file(relative))
    report, _ = prefix.robot(*setup(folder, *([] if existed else ["answer:Setup:" + YES])))
    prefix.check_folder(relative, sorted(expected), "installation: %s" % report.get("message"))


def uninstall_confirmed(prefix, what="uninstaller"):
    report, _ = prefix.robot(*pixuns("answer:Uninstall:" + YES))
    check_exit(report, "0", what)
    return report


def artefact(args, bmp, name):
    """Keeps a screenshot (taken by the robot as BMP) in the test artefacts
    as PNG; its path, or None when ImageMagick cannot read it."""
    artefacts = os.path.join(args.tree, "installer", "tests", "artefacts")
    os.makedirs(artefacts, exist_ok=True)
    png = os.path.join(artefacts, name)
    done = subprocess.run(["convert", bmp, png], stderr=subprocess.PIPE)
    check(done.returncode == 0, "ImageMagick cannot read %s: %s" % (bmp, done.stderr[-200:]))
    print("screenshot kept: " + png)
    return None if done.returncode else png


# ---------------------------------------------------------------- cases

def case_template(args):
    if os.path.exists(os.path.join(args.template, "system.reg")):
        return
    tmp = args.template + ".new"
    shutil.rmtree(tmp, ignore_errors=True)
    subprocess.run([os.path.join(args.source, "scripts", "wine-new-prefix.sh"), args.bits, tmp], timeout=600)
    check(os.path.exists(os.path.join(tmp, "system.reg")), "template prefix not made")
    shutil.rmtree(args.template, ignore_errors=True)
    os.rename(tmp, args.template)


def check_screenshot(args, bmp):
    png = artefact(args, bmp, "setup-options.png")
    if not png:
        return

    def pixel(x, y):
        out = subprocess.run(["convert", png, "-format", "%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]",
                              "-crop", "1x1+%d+%d" % (x, y), "info:"], stdout=subprocess.PIPE).stdout
        return tuple(int(v) for v in out.decode().split(","))

    size = subprocess.run(["identify", "-format", "%w %h", png], stdout=subprocess.PIPE).stdout.split()
    width, height = int(size[0]), int(size[1])
    top, bottom = pixel(2, 40), pixel(2, height - 3)  # below the caption
    # The gradient: dark blue at the top, light grey-blue at the bottom.
    check(top[0] < 30 and top[1] < 30 and 100 <= top[2] <= 130, "top of the gradient %s" % (top,))
    check(bottom[0] > 180 and bottom[1] > 180 and bottom[2] > 200, "bottom of the gradient %s" % (bottom,))
    centre = pixel(width // 2, height // 2)
    check(max(centre) - min(centre) < 16 and centre[0] > 150, "no grey dialog in the centre: %s" % (centre,))


def case_install(args):
    with Prefix(args, "install") as prefix:
        shot = os.path.join(prefix.root, "shot.bmp")
        # The screenshot and the lists of hosts while dialog 10002 shows,
        # before OK.
        report, _ = prefix.robot(*setup("  C:\\Target Folder \t", "answer:Setup:" + YES,
                                        options=("shot:" + windows_path(shot), "text:1007", "text:1008")))
        check(first(report, "enabled.1001") == "0", "Uninstall enabled without an uninstall key")
        check(first(report, "text.1004") == TEXTS[12000], "default folder %s" % first(report, "text.1004"))
        check(first(report, "text.1006") == TEXTS[12001], "note without an editor %s" % first(report, "text.1006"))
        # The hosts that take each kind of plug-in, one a line.
        export_hosts = (first(report, "text.1007") or "").split("|")
        filter_hosts = (first(report, "text.1008") or "").split("|")
        check("Adobe Photoshop" in export_hosts, "export hosts %s" % export_hosts)
        check(set(export_hosts) <= set(filter_hosts) and "Adobe Illustrator" in filter_hosts,
              "filter hosts %s" % filter_hosts)
        check(first(report, "message") == TEXTS[12005], "creation question %s" % first(report, "message"))
        check("Attention" not in report.get("seen", []), "asked about an old version that is not there")
        check_exit(report, "0", "setup")
        prefix.check_folder("Target Folder", PLUGINS, "trimmed folder")
        blank_named = [n for n in os.listdir(prefix.drive) if n.startswith(" ") or n.endswith((" ", "\t"))]
        check(blank_named == [], "folders with blanks: %s" % blank_named)
        check(prefix.installed_files() == {"dll": True, "uninstaller": True, "inf": True},
              "installed %s" % prefix.installed_files())
        code, values = prefix.reg_query(PRODUCT_KEY)
        check(code == 0 and values.get("AppPath") == "C:\\Target Folder\\", "AppPath %s" % values)
        code, values = prefix.reg_query(UNINSTALL_KEY)
        check(code == 0 and values.get("UninstallString") == '"C:\\windows\\Pixuns.exe"',
              "UninstallString %s" % values)
        if first(report, "shot") == "ok":
            check_screenshot(args, shot)
        else:
            check(False, "no screenshot")
        export_with_filter(args, prefix, "C:\\Target Folder")


def export_with_filter(args, prefix, folder):
    """The test host loads the installed filter from its folder (the filter
    finds the installed Pixtune.dll by its plain name) and exports into
    C:\\out without a dialog, saving the compressor's settings; jpeginfo
    judges the file."""
    host = prefix.file("host")
    os.makedirs(host)
    os.makedirs(prefix.file("out"))
    shutil.copy(os.path.join(args.tree, "platform", "plugin-host", "plugin-test-host.exe"), host)
    write_image(os.path.join(host, "image.pnm"), 48, 32)
    code, out, err = prefix.wine("C:\\host\\plugin-test-host.exe", folder + "\\Pixtunef.8bf",
                                 "--image", "C:\\host\\image.pnm", "--script", "fPin=TEXT:C:\\out\\",
                                 "--script", "tMbl=long:1")
    lines = dict(line.rstrip("\r").partition("=")[::2] for line in out.splitlines())
    check(lines.get("load") == "ok" and lines.get("result") == "0",
          "installed filter: load %s result %s" % (lines.get("load"), lines.get("result")))
    prefix.check_folder("out", ["photo.jpg"], "filter")
    check(jpeginfo_ok(prefix.file("out\\photo.jpg")), "jpeginfo on the filter's file")


def case_plugin_kinds(args):
    with Prefix(args, "plugin-kinds") as prefix:
        # An image editor of our own making: its App Paths key and a
        # preferences file whose plug-in folder lacks the closing backslash.
        os.makedirs(prefix.file("Editor\\Prefs"))
        with open(prefix.file("Editor\\Prefs\\Photoshop.ini"), "w") as f:
            f.write("[Photoshop]\r\nPlugInDirectory=C:\\Editor\\Plug-ins\r\n")
        prefix.reg_add(r"HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\photoshp.exe", "Path",
                       "C:\\Editor")
        # Filter off, then export off: export comes back on.
        report, _ = prefix.robot("start:C:\\setup\\Pixsetup.exe", "window:" + WELCOME, "click:1",
                                 "window:" + OPTIONS, "toggle:1003", "checked:1003", "toggle:1001",
                                 "checked:1001", "click:2", "exit")
        check(report.get("checked.1003") == ["0"], "filter box after its click %s" % report.get("checked.1003"))
        check(report.get("checked.1001") == ["1"], "export box not re-checked: %s" % report.get("checked.1001"))
        check_exit(report, "1", "a cancelled setup")
        # Filter only.
        report, _ = prefix.robot(*setup("C:\\Filters", "answer:Setup:" + YES, kinds=("1001",)))
        check(first(report, "text.1004") == "C:\\Editor\\Plug-ins\\", "editor's folder %s" %
              first(report, "text.1004"))
        check(first(report, "text.1006") == TEXTS[12008], "note with an editor %s" % first(report, "text.1006"))
        check(report.get("checked.1001") == ["0"] and report.get("checked.1003") == ["1"],
              "boxes before OK %s %s" % (report.get("checked.1001"), report.get("checked.1003")))
        prefix.check_folder("Filters", ["Pixtunef.8bf"], "filter only")


def case_reinstall(args, measure=False):
    with Prefix(args, "reinstall") as prefix:
        os.makedirs(prefix.file("old"))
        shutil.copy(os.path.join(args.tree, "installer", "tests", "fake-uninstaller.exe"), prefix.file("old"))
        prefix.reg_add(UNINSTALL_KEY, "UninstallString",
                       "C:\\old\\fake-uninstaller.exe C:\\old\\log.txt C:\\New")
        cpu = ["cpu"] if measure else []
        report, _ = prefix.robot(*setup("C:\\New", "answer:Attention:" + YES, *cpu, "file:C:\\old\\log.txt", *cpu,
                                        "answer:Setup:" + YES), timeout=120)
        check(first(report, "enabled.1001") == "1", "Uninstall disabled with an old version")
        check(first(report, "message") == TEXTS[16122], "old version question %s" % first(report, "message"))
        check(report.get("message", [None, None])[1] == TEXTS[12005], "no creation question after the removal")
        log = {}
        if os.path.exists(prefix.file("old\\log.txt")):
            with open(prefix.file("old\\log.txt")) as f:
                log = dict(line.rstrip("\r\n").partition("=")[::2] for line in f)
        check(log.get("arguments") == "safe", "old uninstaller's arguments %s" % log)
        check(log.get("files.start") == "0" and log.get("files.end") == "0",
              "files copied while the old uninstaller ran: %s" % log)
        if measure:
            cpu = report.get("cpu.ms", [])
            check(len(cpu) == 2 and all(c.isdigit() for c in cpu), "cpu readings %s" % cpu)
            if len(cpu) == 2 and all(c.isdigit() for c in cpu):
                used = int(cpu[1]) - int(cpu[0])
                print("setup's processor time while the 3-second uninstaller ran: %d ms "
                      "(a sleeping wait: under 200 ms)" % used)
                check(used < 200, "setup used %d ms of CPU while waiting" % used)
        check_exit(report, "0", "setup")
        prefix.check_folder("New", PLUGINS, "installed after the removal")


def case_uninstall(args):
    with Prefix(args, "uninstall") as prefix:
        install(prefix, "C:\\Plug")
        # No: everything stays.
        report, _ = prefix.robot(*pixuns("answer:Uninstall:" + NO))
        check(first(report, "message") == QUESTION, "question %s" % first(report, "message"))
        prefix.check_folder("Plug", PLUGINS, "No")
        check(prefix.installed_files() == {"dll": True, "uninstaller": True, "inf": True}, "No removed files")
        check(prefix.has_key(PRODUCT_KEY), "No removed the product key")

        # SAFE: no question; plug-ins, library, "AppPath" and the uninstall key
        # go, Pixuns, the INF and the settings key stay.
        report, _ = prefix.robot(*pixuns(arguments=" SAFE"))
        check(report.get("seen", []) == [], "SAFE showed windows: %s" % report.get("seen"))
        prefix.check_folder("Plug", None, "SAFE")
        check(prefix.installed_files() == {"dll": False, "uninstaller": True, "inf": True},
              "SAFE left %s" % prefix.installed_files())
        check("AppPath" not in prefix.reg_query(PRODUCT_KEY)[1], "SAFE left AppPath")
        check(not prefix.has_key(UNINSTALL_KEY), "SAFE left the uninstall key")

        # Yes: everything goes.
        install(prefix, "C:\\Plug")
        uninstall_confirmed(prefix)
        prefix.check_folder("Plug", None, "Yes")
        # The running uninstaller cannot delete itself: it goes when the
        # system starts again.
        check(prefix.installed_files()["dll"] is False and prefix.installed_files()["inf"] is False,
              "Yes left %s" % prefix.installed_files())
        check_all_gone(prefix, "Yes")


def check_all_gone(prefix, what):
    """After a restart of the system no file or key of the installation is left."""
    prefix.wine("wineboot", "-r")
    check(prefix.installed_files() == {"dll": False, "uninstaller": False, "inf": False},
          "after a restart %s left %s" % (what, prefix.installed_files()))
    check(not prefix.has_key(PRODUCT_KEY), what + " left the product key")
    check(not prefix.has_key(UNINSTALL_KEY), what + " left the uninstall key")


def case_welcome_uninstall(args):
    with Prefix(args, "welcome-uninstall") as prefix:
        install(prefix, "C:\\Plug")
        # "&Uninstall" runs the installed uninstaller through the quoted
        # "UninstallString" the INF wrote, without " safe": it asks first.
        report, _ = prefix.robot("start:C:\\setup\\Pixsetup.exe", "window:" + WELCOME, "enabled:1001",
                                 "click:1001", "answer:Uninstall:" + YES, "answer:Setup:" + OK, "exit")
        check(first(report, "enabled.1001") == "1", "Uninstall disabled with an installation")
        check(report.get("message", []) == [QUESTION, "Pixtune plug-in files were removed from this system."],
              "messages %s" % report.get("message"))
        check(OPTIONS not in report.get("seen", []), "the setup went on after the removal")
        check_exit(report, "0", "setup after the removal")
        prefix.check_folder("Plug", None, "the removal")
        check(not prefix.has_key(UNINSTALL_KEY), "the uninstall key stayed")


def case_uninstall_read_only(args):
    with Prefix(args, "uninstall-read-only") as prefix:
        install(prefix, "C:\\Plug")
        prefix.wine("attrib", "+r", "C:\\Plug\\Pixtunef.8bf")
        shot = os.path.join(prefix.root, "remain.bmp")
        report, _ = prefix.robot(*pixuns("answer:Uninstall:" + YES, "window:Uninstall error",
                                         "shot:" + windows_path(shot), "answer:Uninstall error:" + OK))
        messages = report.get("message", [])
        check(len(messages) == 2 and "|C:\\Plug\\Pixtunef.8bf" in messages[-1],
              "message does not name the file: %s" % messages)
        check_exit(report, "1", "uninstaller")
        if first(report, "shot") == "ok":
            artefact(args, shot, "uninstall-files-remain.png")
        # Enough stays for a second run: the uninstall key, "AppPath", the
        # uninstaller and the INF.
        prefix.check_folder("Plug", ["Pixtunef.8bf"], "the first run")
        check(prefix.installed_files()["uninstaller"] and prefix.installed_files()["inf"],
              "the first run left %s" % prefix.installed_files())
        check(prefix.reg_query(UNINSTALL_KEY)[1].get("UninstallString") == '"C:\\windows\\Pixuns.exe"',
              "the uninstall key went")
        check(prefix.reg_query(PRODUCT_KEY)[1].get("AppPath") == "C:\\Plug\\", "AppPath went")

        prefix.wine("attrib", "-r", "C:\\Plug\\Pixtunef.8bf")
        report = uninstall_confirmed(prefix, "second run's")
        check("Uninstall error" not in report.get("seen", []), "the second run failed: %s" % report.get("message"))
        check_all_gone(prefix, "the second run")
        prefix.check_folder("Plug", None, "the second run")


def case_uninstall_leaves_nothing(args):
    with Prefix(args, "uninstall-leaves-nothing") as prefix:
        install(prefix, None)
        uninstall_confirmed(prefix)
        check(not os.path.exists(prefix.file(MAKER_FOLDER)), "the maker's folder stayed: %s" %
              prefix.folder_files(MAKER_FOLDER))
        check(not prefix.has_key(MAKER_KEY), "the maker's key stayed")

        # The maker's folder and key with something else in them stay.
        os.makedirs(prefix.file(MAKER_FOLDER + "\\Other"))
        prefix.reg_add(MAKER_KEY + r"\Other", "Path", "C:\\Other")
        install(prefix, None)
        uninstall_confirmed(prefix)
        prefix.check_folder(MAKER_FOLDER, ["Other"], "maker's folder")
        check(prefix.reg_query(MAKER_KEY + r"\Other")[1].get("Path") == "C:\\Other", "the other product's key went")
        check(not prefix.has_key(MAKER_KEY + r"\Pixtune plug-in"), "the product's empty key stayed")

        # A plug-in folder that holds other plug-ins stays; the keys go all
        # the same.
        prefix.wine("reg", "delete", MAKER_KEY, "/f")
        os.makedirs(prefix.file("Editor\\Plug-ins"))
        open(prefix.file("Editor\\Plug-ins\\other.8bf"), "w").close()
        install(prefix, "C:\\Editor\\Plug-ins", expected=PLUGINS + ["other.8bf"])
        uninstall_confirmed(prefix)
        prefix.check_folder("Editor\\Plug-ins", ["other.8bf"], "the editor's folder")
        check(not prefix.has_key(MAKER_KEY), "the maker's key stayed beside a shared plug-in folder")


# The values the compressor keeps in the product key.
SETTINGS = ("Plugin options", "Window position", "Image parameters", "Thumbnail parameters",
            "Thumbnail name expansion", "Last path")


def case_reinstall_settings(args):
    with Prefix(args, "reinstall-settings") as prefix:
        install(prefix, "C:\\Old")
        export_with_filter(args, prefix, "C:\\Old")
        # A user's own choice beside what the export saved.
        prefix.reg_add(PRODUCT_KEY, "Thumbnail name expansion", "_small")
        saved = prefix.reg_query(PRODUCT_KEY)[1]
        check(all(name in saved for name in SETTINGS), "the export saved %s" % sorted(saved))
        # The reinstall runs the installed uninstaller with " safe".
        report, _ = prefix.robot(*setup("C:\\New", "answer:Attention:" + YES, "answer:Setup:" + YES))
        check_exit(report, "0", "setup")
        prefix.check_folder("Old", None, "the reinstall")
        prefix.check_folder("New", PLUGINS, "the reinstall")
        kept = prefix.reg_query(PRODUCT_KEY)[1]
        check(kept.get("AppPath") == "C:\\New\\", "AppPath %s" % kept.get("AppPath"))
        for name in SETTINGS:
            check(kept.get(name) == saved.get(name), "%s: %s before, %s after" % (name, saved.get(name), kept.get(name)))


def inf_without(text, section):
    """The INF text with one section, its header and lines, left out."""
    out, skipping = [], False
    for line in text.splitlines(True):
        header = re.match(r"\[([^\]]+)\]", line)
        if header:
            skipping = header.group(1) == section
        if not skipping:
            out.append(line)
    return "".join(out)


def case_missing_section(args):
    with open(os.path.join(args.source, "installer", "Pixtune.inf")) as f:
        text = f.read()
    sections = re.findall(r"^\[([^\]]+)\]", text, re.M)
    check(len(sections) >= 10, "sections %s" % sections)
    for section in sections:
        print("without [%s]" % section)
        with Prefix(args, "missing-section") as prefix:
            with open(prefix.file("setup\\Pixtune.inf"), "w", newline="\r\n") as f:
                f.write(inf_without(text, section))
            # Without [Version] the file cannot be opened: that says so first.
            opened = [] if section != "Version" else ["answer:Setup error:" + OK]
            report, _ = prefix.robot(*setup("C:\\Plug", "answer:Setup:" + YES, *opened, "answer:Setup:" + YES))
            messages = report.get("message", [])
            check(messages[:1] == [TEXTS[12005]] and messages[-1:] == [TEXTS[12004]],
                  "without [%s]: messages %s" % (section, messages))
            check_exit(report, "1", "without [%s]: setup" % section)
    # The uninstaller checks its section as well: nothing goes, and it says so.
    with Prefix(args, "missing-section") as prefix:
        install(prefix, "C:\\Plug")
        with open(prefix.file("windows\\inf\\Pixtune.inf"), "w", newline="\r\n") as f:
            f.write(inf_without(text, "Uninstall"))
        report, _ = prefix.robot(*pixuns("answer:Uninstall:" + YES, "answer:Uninstall error:" + OK))
        check_exit(report, "1", "uninstaller without [Uninstall]")
        prefix.check_folder("Plug", PLUGINS, "uninstaller without [Uninstall]")
        check(prefix.has_key(UNINSTALL_KEY), "uninstaller without [Uninstall] removed the key")


def case_no_apppath(args):
    with Prefix(args, "no-apppath") as prefix:
        # An installation whose "AppPath" is gone, and files named like the
        # plug-ins at the root of the drive.
        shutil.copy(prefix.file("setup\\Pixuns.exe"), prefix.file("windows"))
        shutil.copy(prefix.file("setup\\Pixtune.inf"), prefix.file("windows\\inf"))
        prefix.reg_add(UNINSTALL_KEY, "UninstallString", '"C:\\windows\\Pixuns.exe"')
        decoys = ["Pixtunef.8bf", "Pixtunee.8be", "Pixtune.dll"]
        for name in decoys:
            with open(prefix.file(name), "w") as f:
                f.write("decoy")
        report, _ = prefix.robot(*pixuns("answer:Uninstall:" + OK))
        check("not installed" in (first(report, "message") or ""), "message %s" % first(report, "message"))
        report, _ = prefix.robot(*pixuns(arguments=" safe"))
        check(report.get("seen", []) == [], "safe without AppPath showed %s" % report.get("seen"))
        for name in decoys:
            check(os.path.exists(prefix.file(name)), "decoy %s removed" % name)
        check(os.path.exists(prefix.file("windows\\Pixuns.exe")), "Pixuns removed without AppPath")


def case_missing_source(args):
    with Prefix(args, "missing-source") as prefix:
        os.remove(prefix.file("setup\\Pixtunee.8be"))
        started = time.time()
        report, _ = prefix.robot(*setup("C:\\Broken", "answer:Setup:" + YES, "answer:Setup:" + NO,
                                        "window:" + OPTIONS, "click:2", welcome=("answer:Warning!:" + OK,)),
                                 timeout=90)
        messages = report.get("message", [])
        check(messages == [TEXTS[12002], TEXTS[12005], TEXTS[12004]], "messages %s" % messages)
        check_exit(report, "1", "setup")
        print("missing source: %.1f s" % (time.time() - started))
        prefix.check_folder("Broken", ["Pixtunef.8bf"], "copied")


def case_discard_template(args):
    shutil.rmtree(args.template, ignore_errors=True)
    check(not os.path.exists(args.template), "template prefix still there")


CASES = {"template": case_template, "discard-template": case_discard_template, "install": case_install, "plugin-kinds": case_plugin_kinds,
         "reinstall": case_reinstall, "uninstall": case_uninstall, "no-apppath": case_no_apppath,
         "missing-source": case_missing_source, "welcome-uninstall": case_welcome_uninstall,
         "uninstall-read-only": case_uninstall_read_only,
         "uninstall-leaves-nothing": case_uninstall_leaves_nothing,
         "reinstall-settings": case_reinstall_settings, "missing-section": case_missing_section,
         "reinstall-wait-cpu": lambda args: case_reinstall(args, measure=True)}


def own_display():
    """Starts an X server for this case alone and points DISPLAY at it; the
    server, or None when it cannot start. The case's virtual desktop is as
    large as the screen: on the display the other tests share it would
    cover their windows while they take screenshots."""
    if not shutil.which("Xvfb"):
        return None
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                               "-nolisten", "tcp"], pass_fds=(write,), stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read, 16)  # the server writes its number once it listens
        if not chunk:
            break
        number += chunk
    os.close(read)
    if not number.strip().isdigit():
        server.kill()
        server.wait()
        return None
    os.environ["DISPLAY"] = ":" + number.decode().strip()
    return server


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=sorted(CASES))
    parser.add_argument("--tree", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--bits", default="64")
    parser.add_argument("--template", required=True)
    parser.add_argument("--scratch", required=True)
    args = parser.parse_args()
    display = None
    if args.case not in ("template", "discard-template"):
        if not shutil.which("jpeginfo") or not shutil.which("convert"):
            print("jpeginfo or ImageMagick is missing")
            return 1
        display = own_display()
        if display is None:
            print("no X server of the case's own could be started (Xvfb)")
            return 1
    try:
        os.makedirs(args.scratch, exist_ok=True)
        CASES[args.case](args)
    finally:
        if display is not None:
            display.terminate()
            display.wait()
    return finish()


if __name__ == "__main__":
    sys.exit(main())
