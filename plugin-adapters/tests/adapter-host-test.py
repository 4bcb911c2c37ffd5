#!/usr/bin/python3
"""End-to-end checks of Pixtune.dll and its two plug-ins.

The plug-ins run inside the plug-in test host under Wine, as an image
editor would run them; jpeginfo judges the JPEG files, and the compressor
core's own output for the same parameters (pixtune-reference) must match
them byte for byte. One case per invocation:

  scripted  both plug-ins over grey and colour images with scripted
            parameters
  settings  a fresh prefix's default settings; stored values out of range
            corrected by one export; interactive OK and Cancel
  edges     selector and mode edge cases, failures as host codes, a
            missing Pixtune.dll
  export-interrupted  an export over an existing file killed at random
            points and run into a full disk (a small tmpfs; root): the old
            file or the whole new one, never a part, nothing else left
  window-export     the export window driven by the host's UI script:
            levels typed, linked and unlinked, options, OK; the files equal
            a scripted export of the recorded settings; readouts
  window-thumbnail  the tab questions, thumbnail sizes corrected, the
            image-to-thumbnail lock one way only
  window-grey       a grey image disables the chrominance controls
  window-cancel     Cancel writes nothing and still saves the settings
  window-known-host  under a host Pixtune knows: the preview drawn through
            the host's displayPixels equals djpeg -nosmooth of the written
            file, and the host's bitmap is put back (the file equals the
            scripted export of the same settings)
  window-full-screen  full screen re-creates the window without
            compressing again, keeps the working settings, collapses and
            restores; the saved window position is kept inside the screen
  window-crop       the crop view driven by pointer drags at the points
            where it draws the crop and by arrow keys (Shift moves the right
            edge, a push past the bottom shifts back, the 16-pixel minimum);
            the saved crop and the thumbnail it gives
  window-source-view  press and hold on the image page's picture shows the
            host's own pixels; the release brings the preview back
  window-alloc-failure  each of Pixtune's allocations of a clean
            interactive run (or a spread of them) made to fail in turn, under
            a known host: an error for the host, no file from the window, no
            block left, the host's bitmap as it was handed over
  window-drag       full screen: the window dragged by the tab strip away
            from the tabs, its position saved; not in the normal window
  window-labels     every label and one-line edit of the window, its pages
            and the options dialog, at their widest values, shows its whole
            text
  window-real-input one export typed and clicked through the X server
            (xdotool): the thumbnail size by its spin arrows and Up/Down keys,
            with a screenshot of the screen
"""
import argparse
import os
import re
import shutil
import struct
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "testing"))
from wine_checks import (check, failures, finish, jpeginfo_ok, parse_report, reg_listing,  # noqa: E402
                         screen_picture, wait_redrawn, wait_until, windows_path, write_image)

SETTINGS_KEY = r"HKLM\software\Tarvos Technologies\Pixtune plug-in\3.0"
RECORDED_KEYS = ("Lmnc,cHrm,pRgr,sHrp,tLum,tChr,tPrg,tShr,tMbl,tMbw,tMbh,tFit,tCut,"
                 "tCvL,tCvR,tCvT,tCvB,mCra,pRex,tExp,fPin").split(",")


class Wine:
    def __init__(self, args, prefix):
        self.exec = os.path.join(args.source, "scripts", "wine-exec.sh")
        self.fixture = os.path.join(args.source, "scripts", "wine-fixture.sh")
        self.bits = args.bits
        self.prefix = prefix

    def run(self, program, *arguments, cwd=None):
        result = subprocess.run([self.exec, self.bits, self.prefix, program] + list(arguments), cwd=cwd,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=120)
        return result.returncode, result.stdout.decode("latin-1"), result.stderr.decode("latin-1")

    def host(self, stage, *arguments, program="plugin-test-host.exe"):
        # Every run reads and writes Pixtune's freed heap blocks at its peril:
        # a touch ends it (exit code 4) and names the instruction.
        code, out, err = self.run(program, *(list(arguments) + ["--guard-freed"]), cwd=stage)
        report = parse_report(out)
        if "alloc.freed.touched" in report:
            check(False, "Pixtune touched a freed block at offset %s" % report["alloc.freed.touched"])
        if code != 0:
            failures.append("test host exited with %d: %s" % (code, err.strip()[-500:]))
        return report

    def settings(self):
        """The values under the settings key, and the query's exit code."""
        code, out, _ = self.run("reg", "query", SETTINGS_KEY)
        return code, reg_listing(out)

    def set_value(self, name, kind, value):
        self.run("reg", "add", SETTINGS_KEY, "/v", name, "/t", kind, "/d", value, "/f")


def fresh_dir(path):
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path


def stage_binaries(args, stage, with_pixtune=True):
    tree = args.tree
    files = [os.path.join(tree, "plugin-adapters", "Pixtunef.8bf"),
             os.path.join(tree, "plugin-adapters", "Pixtunee.8be"),
             os.path.join(tree, "platform", "plugin-host", "plugin-test-host.exe"),
             os.path.join(tree, "platform", "plugin-host", "plugin-test-host-known.exe"),
             os.path.join(tree, "plugin-adapters", "tests", "pixtune-reference.exe")]
    if with_pixtune:
        files.append(os.path.join(tree, "jpeg", "win32", "Pixtune.dll"))
    for f in files:
        shutil.copy(f, stage)


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def same_bytes(a, b):
    return read_bytes(a) == read_bytes(b)


def check_result(report, what, result="0"):
    check(report.get("result") == result, what + " result %s" % report.get("result"))


def check_report(report, expected, what):
    for key, value in expected.items():
        check(report.get(key) == value, "%s %s is %s, expected %s" % (what, key, report.get(key), value))


def check_written(folder, names, what):
    check(sorted(os.listdir(folder)) == sorted(names), what + " wrote %s" % os.listdir(folder))


def check_jpegs(paths, what):
    for path in paths:
        if os.path.exists(path):
            check(jpeginfo_ok(path), what + " jpeginfo on " + os.path.basename(path))


def check_host_clean(report, what):
    """The host saw no handle leaked and no misuse of its callbacks."""
    check(report.get("handles.leaked") == "0", what + " handles leaked " + report.get("handles.leaked", "?"))
    check(report.get("problems") == "0", what + " host saw misuse: " +
          "; ".join(v for k, v in report.items() if k.startswith("problem.")))


# ---------------------------------------------------------------- scripted

SCENARIOS = {
    # grey: smart cut on a saved crop, prefix form, progressive image
    "grey": dict(size=(61, 47), thumb_name="small_photo.jpg", values=dict(
        Lmnc=20, cHrm=40, pRgr=True, sHrp=30, tLum=12, tChr=24, tPrg=False, tShr=0, tMbl=3, tMbw=40, tMbh=30,
        tFit=True, tCut=True, tCvL=10.0, tCvR=70.0, tCvT=5.0, tCvB=95.0, mCra=False, pRex=True, tExp="small_")),
    # colour: the whole image (crop not kept), suffix form, progressive thumbnail
    "colour": dict(size=(83, 59), thumb_name="photo_t.jpg", values=dict(
        Lmnc=35, cHrm=70, pRgr=False, sHrp=0, tLum=50, tChr=50, tPrg=True, tShr=20, tMbl=3, tMbw=64, tMbh=64,
        tFit=False, tCut=True, tCvL=20.0, tCvR=30.0, tCvT=20.0, tCvB=30.0, mCra=True, pRex=False, tExp="_t")),
}


def script_items(values):
    kinds = {bool: "bool:%d", int: "long:%d", float: "doub:%g", str: "TEXT:%s"}
    return ["%s=%s" % (key, kinds[type(value)] % value) for key, value in values.items()]


def reference_arguments(v):
    """pixtune-reference's parameters of the image and of the thumbnail
    (made from the whole image when the crop is not kept)."""
    crop = (0, 0, 100, 100) if v["mCra"] else (v["tCvL"], v["tCvT"], v["tCvR"], v["tCvB"])
    image = (v["Lmnc"], v["cHrm"], v["pRgr"], v["sHrp"])
    thumb = (v["tLum"], v["tChr"], v["tPrg"], v["tShr"], v["tMbw"], v["tMbh"], v["tFit"], v["tCut"]) + crop
    return ["%g" % x for x in image], ["%g" % x for x in thumb]


# Values the export flow itself may rewrite (the crop of a smart cut).
REWRITTEN = {"tCvL", "tCvR", "tCvT", "tCvB"}


def check_resources(report, plugin):
    what = "%s:" % plugin
    filter_plugin = plugin.endswith(".8bf")
    check_report(report, {
        "pipl": "ok", "pipl.kind": "8BFM" if filter_plugin else "8BEM", "pipl.name": "Pixtune...",
        "pipl.category": "Pixtune" if filter_plugin else "", "pipl.version": "4.0", "pipl.modes.grey": "1",
        "pipl.modes.rgb": "1", "pipl.enable": "in (PSHOP_ImageMode, GrayScaleMode, RGBMode) && "
        "( PSHOP_ImageWidth >= 8 && PSHOP_ImageHeight >= 8 )", "pipl.event": "qzWb/null",
        "pipl.dictionary": "16000", "aete": "ok"}, what)
    check("ENTRYPOINT" in (report.get("pipl.entry.x86"), report.get("pipl.entry.x64")), what + " entry")
    check(bool(report.get("pipl.scope")) == filter_plugin, what + " scope " + report.get("pipl.scope", ""))
    keys = [p.split(":")[0] for p in report.get("aete.parameters", "").split(",")]
    check(keys == RECORDED_KEYS, what + " dictionary keys " + ",".join(keys))


def case_scripted(args):
    wine = Wine(args, args.prefix)
    for plugin in ("Pixtunef.8bf", "Pixtunee.8be"):
        for name, scenario in SCENARIOS.items():
            what = "%s %s:" % (plugin, name)
            stage = fresh_dir(os.path.join(args.scratch, "scripted-%s-%s" % (plugin, name)))
            out = fresh_dir(os.path.join(stage, "out"))
            ref = fresh_dir(os.path.join(stage, "ref"))
            stage_binaries(args, stage)
            write_image(os.path.join(stage, "image.pnm"), *scenario["size"], grey=name == "grey", seed=len(name))
            script = script_items(scenario["values"]) + ["fPin=TEXT:" + windows_path(out, folder=True)]
            image_arguments, thumb_arguments = reference_arguments(scenario["values"])
            arguments = [plugin, "--image", "image.pnm", "--title", "photo.tif"]
            for item in script:
                arguments += ["--script", item]
            report = wine.host(stage, *arguments)
            check_resources(report, plugin)
            check_result(report, what)
            files = [os.path.join(out, "photo.jpg"), os.path.join(out, scenario["thumb_name"])]
            check_written(out, [os.path.basename(f) for f in files], what)
            if not all(os.path.exists(f) for f in files):
                continue
            check_jpegs(files, what)
            references = [os.path.join(ref, "image.jpg"), os.path.join(ref, "thumb.jpg")]
            code, _, err = wine.run("pixtune-reference.exe", "image.pnm",
                                    "--image", windows_path(references[0]), *image_arguments,
                                    "--thumbnail", windows_path(references[1]), *thumb_arguments, cwd=stage)
            check(code == 0, what + " reference failed " + err)
            for written, reference in zip(files, references) if code == 0 else ():
                check(same_bytes(written, reference), what + " %s differs from the core's" % os.path.basename(written))
            check(report.get("recorded.keys", "").split(",") == RECORDED_KEYS,
                  what + " recorded keys " + report.get("recorded.keys", ""))
            recorded = {item.split("=")[0]: item for item in recorded_items(report)}
            for item in script:
                key = item.split("=")[0]
                if key not in REWRITTEN:
                    check(recorded.get(key) == item, what + " recorded %s, played %s" % (recorded.get(key), item))
            check_host_clean(report, what)
            check(int(report.get("count.disposeHandle", "0")) >= int(report.get("count.newHandle", "0")),
                  what + " disposed fewer handles than created")
            check(int(report.get("count.progress", "0")) > 0, what + " no progress reported")
            # The host's record as the export must leave it.
            check_report(report, dict({"recorded.recordInfo": "0"}, **(
                {"record.filename_intact": "1", "record.theRect": "0,0,0,0"} if plugin.endswith(".8be") else
                {"count.getProperty": "1", "record.inRect": "0,0,0,0", "record.outRect": "0,0,0,0",
                 "record.maskRect": "0,0,0,0"})), what)


# ---------------------------------------------------------------- settings

def case_settings(args):
    prefix = os.path.join(args.scratch, "fresh-prefix")
    shutil.rmtree(prefix, ignore_errors=True)
    wine = Wine(args, prefix)
    subprocess.run([wine.fixture, "start", args.bits, prefix], check=True)
    try:
        stage = fresh_dir(os.path.join(args.scratch, "settings"))
        stage_binaries(args, stage)
        write_image(os.path.join(stage, "image.pnm"), 40, 30, seed=3)
        out = fresh_dir(os.path.join(stage, "out"))
        fpin = ["--script", "fPin=TEXT:" + windows_path(out, folder=True)]

        # A fresh prefix has no settings until the first export, which
        # stores the defaults even when the user cancels.
        code, _ = wine.settings()
        check(code != 0, "settings key exists before the first export")
        report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", "--answer", "cancel")
        check_result(report, "cancelled main window:", "-128")
        check(report.get("dialog.0") == "Pixtune", "main window caption %s" % report.get("dialog.0"))
        code, values = wine.settings()
        check(code == 0, "settings key missing after the first export")
        # The documented defaults: delay 1500, modem 33600, crop 0 0 100
        # 100, fit 0, smart cut 1, automatic preview 1, linked chrominance
        # 0, locked sliders 1, prefix form 1, save crop 0, mode 1, 100 x 100.
        defaults = {"Plugin options": ("REG_BINARY", options_block(delay=1500, save_crop=0).hex().upper()),
                    "Image parameters": ("REG_BINARY", "101000000000"),
                    "Thumbnail parameters": ("REG_BINARY", "101000000000"),
                    "Window position": ("REG_BINARY", "0000000000000000"),
                    "Thumbnail name expansion": ("REG_SZ", "th_"), "Last path": ("REG_SZ", "")}
        for name, value in defaults.items():
            check(values.get(name) == value, "default %s %s" % (name, values.get(name)))
        check(report.get("recorded.keys", "").split(",") == RECORDED_KEYS, "a cancel still records the keys")

        # Out-of-range values: delay 20000, modem 2000, top 100 and bottom
        # 150 (clamped first, so no empty crop), save crop on, mode 4,
        # width 5; the export corrects them and stores the corrected ones.
        wine.set_value("Plugin options", "REG_BINARY",
                       options_block(delay=20000, modem=2000, crop=(0, 100, 100, 150), mode=4, width=5).hex())
        report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", *fpin)
        check_result(report, "export over bad settings:")
        check_written(out, ["photo.jpg"], "mode 4 corrected to image only:")
        _, values = wine.settings()
        check(values.get("Plugin options") == ("REG_BINARY", options_block(delay=1500).hex().upper()),
              "corrected Plugin options %s" % (values.get("Plugin options"),))
        check(values.get("Last path", ("", ""))[1] == windows_path(out, folder=True), "scripted Last path")

        # A value that cannot be read leaves the texts at their defaults
        # (the stored expansion is not used), and the export stores every
        # value again.
        wine.set_value("Thumbnail name expansion", "REG_SZ", "zz_")
        wine.run("reg", "delete", SETTINGS_KEY, "/v", "Window position", "/f")
        fresh_dir(out)
        wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", "--script", "tMbl=long:3", *fpin)
        check_written(out, ["photo.jpg", "th_photo.jpg"], "after a failed read the thumbnail:")
        _, values = wine.settings()
        for name in ("Window position", "Thumbnail name expansion"):
            check(values.get(name) == defaults[name], "%s stored again as %s" % (name, values.get(name)))

        # Interactive: OK in the main window, then a file name in the save
        # dialog; "Last path" becomes the chosen folder.
        chosen = fresh_dir(os.path.join(stage, "chosen"))
        report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", "--answer", "ok",
                           "--answer", "file=" + windows_path(os.path.join(chosen, "picked.jpg")))
        check_result(report, "interactive export:")
        # The thumbnail mode stored by the export before applies here too.
        check_written(chosen, ["picked.jpg", "th_picked.jpg"], "interactive export:")
        check_jpegs([os.path.join(chosen, name) for name in os.listdir(chosen)], "interactive export:")
        _, values = wine.settings()
        check(values.get("Last path", ("", ""))[1] == windows_path(chosen, folder=True),
              "Last path after the save dialog %s" % (values.get("Last path"),))

        # Cancelling the save dialog cancels the export.
        report = wine.host(stage, "Pixtunef.8bf", "--image", "image.pnm", "--answer", "ok", "--answer", "cancel")
        check_result(report, "cancelled save dialog:", "-128")
        check(len(report.get("dialog.1", "")) > 0, "no save dialog seen")
    finally:
        subprocess.run([wine.fixture, "stop", args.bits, prefix])


# ---------------------------------------------------------------- edges

def case_edges(args):
    wine = Wine(args, args.prefix)
    stage = fresh_dir(os.path.join(args.scratch, "edges"))
    stage_binaries(args, stage)
    write_image(os.path.join(stage, "image.pnm"), 24, 16, seed=5)
    out = fresh_dir(os.path.join(stage, "out"))
    fpin = ["--script", "fPin=TEXT:" + windows_path(out, folder=True), "--script", "tMbl=long:1"]

    for plugin, selectors, calls in (("Pixtunef.8bf", "6", ["6:-30100"]), ("Pixtunee.8be", "6,-1", ["6:0", "-1:0"]),
                                     ("Pixtunef.8bf", "1,2,5", ["1:0", "2:0", "5:0"])):
        report = wine.host(stage, plugin, "--selectors", selectors, *fpin)
        given = [report.get("call.%d" % i) for i in range(len(calls))]
        check(given == calls, "%s selectors %s give %s" % (plugin, selectors, given))

    for plugin, code in (("Pixtunef.8bf", "-30101"), ("Pixtunee.8be", "-30201")):
        report = wine.host(stage, plugin, "--image", "image.pnm", "--mode", "4", *fpin)
        check_result(report, "%s CMYK:" % plugin, code)
        check("count.openReadDescriptor" not in report and "count.progress" not in report,
              "%s called Pixtune for a CMYK image" % plugin)
        check_written(out, [], "%s for a CMYK image:" % plugin)

    for given, halved in (("1001", "500"), ("-7", "-3")):
        report = wine.host(stage, "Pixtunee.8be", "--selectors", "4", "--max-data", given)
        check(report.get("record.maxData") == halved, "prepare halves %s to %s" % (given, report.get("record.maxData")))

    # Without the property suite the filter passes no name: "Untitled".
    report = wine.host(stage, "Pixtunef.8bf", "--image", "image.pnm", "--no-properties", *fpin)
    check_result(report, "filter without properties:")
    check_written(out, ["Untitled.jpg"], "filter without properties:")
    check("count.getProperty" not in report, "filter asked for a property it was not offered")

    # A handle suite without lock calls: texts are locked as global memory.
    fresh_dir(out)
    report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", "--handle-procs", "4",
                       "--script", "tExp=TEXT:x", *fpin)
    check_result(report, "four-call handle suite:")
    check_written(out, ["photo.jpg"], "four-call handle suite:")
    check(report.get("handles.leaked") == "0" and "count.lockHandle" not in report, "four-call handle suite locks")

    # A 255-character file name fills the host's field without a terminator;
    # its last characters are the document's name, so any byte read past
    # the field would show in the output's name.
    fresh_dir(out)
    long_name = "d\\" * 123 + "photo.tif"
    assert len(long_name) == 255
    report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", "--title", long_name, *fpin)
    check(report.get("record.filename_intact") == "1", "255-character name changed the host's field")
    check_result(report, "255-character name:")
    check_written(out, ["photo.jpg"], "255-character name:")

    # Failures reach the host as errors: a folder that does not exist.
    missing = windows_path(os.path.join(stage, "no", "such"), folder=True)
    report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", "--script", "fPin=TEXT:" + missing)
    check_result(report, "file that cannot be created:", "-36")

    # Without Pixtune.dll the plug-ins cannot load.
    bare = fresh_dir(os.path.join(args.scratch, "edges-bare"))
    stage_binaries(args, bare, with_pixtune=False)
    for plugin in ("Pixtunef.8bf", "Pixtunee.8be"):
        report = wine.host(bare, plugin)
        check(report.get("load") == "failed", "%s loaded without Pixtune.dll" % plugin)


# ---------------------------------------------------------------- interrupted

def case_export_interrupted(args):
    import random
    import signal
    import time
    wine = Wine(args, args.prefix)
    stage = fresh_dir(os.path.join(args.scratch, "export-interrupted"))
    stage_binaries(args, stage)
    write_image(os.path.join(stage, "image.pnm"), 960, 720, seed=21)
    write_image(os.path.join(stage, "small.pnm"), 48, 32, seed=22)
    set_settings(wine, options_block(mode=1))
    out, ref = fresh_dir(os.path.join(stage, "out")), fresh_dir(os.path.join(stage, "ref"))
    what = "export-interrupted:"
    target = os.path.join(out, "photo.jpg")
    staged = target + ".pixtune-new"

    def arguments(plugin, folder, image="image.pnm", level=20):
        return [plugin, "--image", image, "--script", "Lmnc=long:%d" % level, "--script", "tMbl=long:1",
                "--script", "fPin=TEXT:" + windows_path(folder, folder=True)]

    # The old file and the whole new one, each from an export run to its end.
    report = wine.host(stage, *arguments("Pixtunee.8be", out, level=90))
    started = time.time()
    report_new = wine.host(stage, *arguments("Pixtunee.8be", ref))
    duration = time.time() - started
    check_result(report, what + " old export")
    check_result(report_new, what + " new export")
    old, new = read_bytes(target), read_bytes(os.path.join(ref, "photo.jpg"))
    check(old != new and jpeginfo_ok(target), what + " no old file to replace")

    # Killed: half of the runs at a random time of a whole run, half at a
    # random moment once writing has begun (a new file beside the old one,
    # or the old one touched).
    outcomes = {"old": 0, "new": 0, "staged left": 0}
    rng = random.Random(45)
    for run in range(16):
        with open(target, "wb") as f:
            f.write(old)
        plugin = ("Pixtunef.8bf", "Pixtunee.8be")[run % 2]
        host = subprocess.Popen([wine.exec, wine.bits, wine.prefix, "plugin-test-host.exe"] + arguments(plugin, out),
                                cwd=stage, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                start_new_session=True)
        if run % 2:
            before = os.stat(target)

            def writing():
                now = os.stat(target)
                return os.path.exists(staged) or (now.st_size, now.st_mtime_ns) != (before.st_size, before.st_mtime_ns)
            wait_until(lambda: writing() or host.poll() is not None, every=0.002)
            time.sleep(rng.uniform(0, 0.15))
        else:
            time.sleep(rng.uniform(0.2, 1.0) * duration)
        try:
            os.killpg(host.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        host.wait()
        now = read_bytes(target)
        check(now in (old, new), what + " run %d left a file of %d bytes, neither old nor new" % (run, len(now)))
        outcomes["old" if now == old else "new"] += 1
        outcomes["staged left"] += os.path.exists(staged)
        check(set(os.listdir(out)) <= {"photo.jpg", "photo.jpg.pixtune-new"}, what + " left %s" % os.listdir(out))
    print("killed exports: %s" % outcomes)
    # An export run to its end takes the place of what a killed one left.
    report = wine.host(stage, *arguments("Pixtunee.8be", out))
    check_result(report, what + " after the kills")
    check_written(out, ["photo.jpg"], what + " after the kills")

    # A full disk: a small file system with the old file on it.
    disk = os.path.join(stage, "disk")
    os.makedirs(disk)
    mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", disk],
                             stderr=subprocess.PIPE).returncode == 0
    check(mounted, what + " a small tmpfs could not be mounted (root is needed)")
    if not mounted:
        return
    try:
        small = fresh_dir(os.path.join(stage, "small"))
        wine.host(stage, *arguments("Pixtunee.8be", small, image="small.pnm"))
        shutil.copy(os.path.join(small, "photo.jpg"), disk)
        kept = read_bytes(os.path.join(disk, "photo.jpg"))
        for plugin in ("Pixtunef.8bf", "Pixtunee.8be"):
            report = wine.host(stage, *arguments(plugin, disk))
            check_result(report, what + " %s on a full disk" % plugin, "-36")
            check(read_bytes(os.path.join(disk, "photo.jpg")) == kept,
                  what + " %s on a full disk changed the old file" % plugin)
            check_written(disk, ["photo.jpg"], what + " %s on a full disk" % plugin)
    finally:
        subprocess.run(["umount", disk])


# ---------------------------------------------------------------- window

def options_block(delay=50, mode=1, independent=0, lock=1, fit=0, cut=1, width=100, height=100,
                  crop=(0, 0, 100, 100), modem=33600, save_crop=1):
    # delay, modem, crop left top right bottom, fit, smart cut, automatic
    # preview, independent chrominance, locked sliders, prefix form, save
    # crop, reserved, mode, thumbnail width and height
    return struct.pack("<ii4d8BiHH", delay, modem, *crop, fit, cut, 1, independent, lock, 1, save_crop, 0, mode,
                       width, height)


def stored_options(wine):
    """The stored "Plugin options" as options_block's fields, or None."""
    stored = wine.settings()[1].get("Plugin options", ("", ""))[1]
    return struct.unpack("<ii4d8BiHH", bytes.fromhex(stored)) if len(stored) == 112 else None


def stored_position(wine):
    position = wine.settings()[1].get("Window position", ("", ""))[1]
    return struct.unpack("<ii", bytes.fromhex(position)) if len(position) == 16 else (None, None)


def set_settings(wine, options, image=(35, 35, 0, 0), thumb=(50, 50, 0, 0)):
    def params(p):
        return struct.pack("<BBBBh", p[0], p[1], 0, p[2], p[3]).hex()
    for name, kind, value in (("Plugin options", "REG_BINARY", options.hex()),
                              ("Image parameters", "REG_BINARY", params(image)),
                              ("Thumbnail parameters", "REG_BINARY", params(thumb)),
                              ("Thumbnail name expansion", "REG_SZ", "th_")):
        wine.set_value(name, kind, value)


def ui(*steps):
    arguments = []
    for step in steps:
        arguments += ["--ui", step]
    return arguments


def ui_ok(report, what):
    check("ui.failed" not in report, "%s: UI step failed: %s (visible: %s)" %
          (what, report.get("ui.failed"), report.get("ui.visible")))


def recorded_items(report):
    return [report["recorded.%d" % i] for i in range(len(RECORDED_KEYS)) if "recorded.%d" % i in report]


def recorded_value(report, key):
    for item in recorded_items(report):
        if item.startswith(key + "="):
            return item.split(":", 1)[1]
    return None


def check_recorded(report, expected, what):
    for key, value in expected:
        check(recorded_value(report, key) == value,
              what + " %s recorded %s, expected %s" % (key, recorded_value(report, key), value))


def replay_matches(wine, stage, report, plugin, files, what):
    """The same settings played as a script (no dialog) must write the same bytes."""
    replay = fresh_dir(os.path.join(stage, "replay"))
    arguments = [plugin, "--image", "image.pnm"]
    for item in recorded_items(report):
        if not item.startswith("fPin="):
            arguments += ["--script", item]
    arguments += ["--script", "fPin=TEXT:" + windows_path(replay, folder=True)]
    again = wine.host(stage, *arguments)
    check_result(again, what + " scripted replay")
    check(sorted(os.listdir(replay)) == sorted(os.path.basename(f) for f in files),
          what + " replay wrote %s" % os.listdir(replay))
    for f in files:
        other = os.path.join(replay, os.path.basename(f))
        if os.path.exists(f) and os.path.exists(other):
            check(same_bytes(f, other), what + " %s differs from the scripted export" % os.path.basename(f))


def format_size(a):
    # Whole units and hundredths of the next unit, each cut, not rounded.
    if a >= 1048576:
        return "%d.%02d Mb" % (a // 1048576, (a // 1024) % 1024 * 100 // 1024)
    if (a // 1024) % 1024:
        return "%d.%02d Kb" % ((a // 1024) % 1024, a % 1024 * 100 // 1024)
    return "%d bytes" % (a % 1024)


def format_duration(t):
    hours, minutes, seconds, f = t // 216000, t % 216000 // 3600, t % 3600 // 60, t % 60
    if hours:
        return "%d h %d min" % (hours, minutes)
    if minutes:
        return "%d min %d sec" % (minutes, seconds)
    if seconds:
        return "%d.%02d sec" % (seconds, f * 100 // 60)
    return "%d ms" % (t * 1000 // 60) if t else "<1 ms"


def expected_readouts(width, height, bits, compressed, modem):
    s = width * height * bits // 8
    ratio = "%d.%02d" % (s // compressed, s * 100 // compressed % 100)
    return "%s / %s|%s|%s @ %dbps" % (format_size(s), format_size(compressed), ratio,
                                     format_duration(compressed * 480 // modem), modem)


def pnm_fields(data):
    fields = data.split(maxsplit=4)
    return fields[0], int(fields[1]), int(fields[2]), fields[4]


def read_pnm(path):
    return pnm_fields(read_bytes(path))


def djpeg(path):
    """The file as djpeg -nosmooth decodes it: magic, width, height, pixels."""
    return pnm_fields(subprocess.run(["djpeg", "-nosmooth", "-pnm", path], stdout=subprocess.PIPE, check=True).stdout)


def check_near_peer(shown, peer, what):
    """Pixels within the compressor core's own tolerance against djpeg -nosmooth."""
    if len(shown) == len(peer):
        differences = [abs(a - b) for a, b in zip(shown, peer)]
        check(max(differences) <= 4 and sum(differences) / len(differences) < 1,
              what + " differs from djpeg: max %d, mean %.3f" %
              (max(differences), sum(differences) / len(differences)))


class Window:
    """One case of the export window: a stage with the binaries and a
    photo-like image, the folder the export writes to, and the settings
    the window starts from."""

    def __init__(self, args, name, width, height, options, grey=False, image=(35, 35, 0, 0), thumb=(50, 50, 0, 0)):
        self.what = name + ":"
        self.wine = Wine(args, args.prefix)
        self.stage = fresh_dir(os.path.join(args.scratch, name))
        stage_binaries(args, self.stage)
        write_image(os.path.join(self.stage, "image.pnm"), width, height, grey, seed=11)
        self.artefacts = os.path.join(args.tree, "plugin-adapters", "tests", "artefacts")
        os.makedirs(self.artefacts, exist_ok=True)
        self.out = fresh_dir(os.path.join(self.stage, "out"))
        self.files = [os.path.join(self.out, "photo.jpg"), os.path.join(self.out, "th_photo.jpg")]
        set_settings(self.wine, options, image, thumb)

    def shot(self, name):
        return "shot:" + windows_path(os.path.join(self.artefacts, name))

    def save(self, name="photo.jpg"):
        """OK, then the file's name in the save dialog."""
        return ["click:1", "file:" + windows_path(os.path.join(self.out, name))]

    def played(self):
        """The export folder as a script the window shows with: no save dialog."""
        return ["--script", "fPin=TEXT:" + windows_path(self.out, folder=True), "--play", "display"]

    def run(self, *steps, plugin="Pixtunee.8be", extra=(), known=False, result="0"):
        report = self.wine.host(self.stage, plugin, "--image", "image.pnm", *extra, *ui(*steps),
                                program="plugin-test-host-known.exe" if known else "plugin-test-host.exe")
        ui_ok(report, self.what)
        if result is not None:
            check_result(report, self.what, result)
        return report

    def replay(self, report, files, plugin="Pixtunee.8be"):
        replay_matches(self.wine, self.stage, report, plugin, files, self.what)

    def check_screenshots(self, *names):
        """Screenshots kept as artefacts: 24-bit BMPs showing the pane's grey
        background and the picture's colours."""
        for name in names:
            path = os.path.join(self.artefacts, name)
            if not os.path.exists(path):
                check(False, self.what + " no screenshot " + name)
                continue
            data = read_bytes(path)
            pixels = data[struct.unpack("<I", data[10:14])[0]:]
            triples = {pixels[i:i + 3] for i in range(0, len(pixels) - 2, 3)}
            check(data[:2] == b"BM" and b"\x80\x80\x80" in triples and len(triples) > 50,
                  self.what + " screenshot %s shows %d colours" % (name, len(triples)))


def case_window_export(args):
    w = Window(args, "window-export", 160, 120,
               options_block(mode=3, fit=1, cut=1, width=64, height=48, crop=(10, 10, 90, 90)))
    report = w.run(
        "window:Pixtune", "above:1003", "tab:1", "tabis:1", "above:1003", "tab:0", "tabis:0",
        # Linked: 300 is beyond the slider's end, 255; the chrominance follows.
        "type:1010=300", "expect:1010=255", "expect:1011=255", "press:1008", "settle:", "report:122",
        # Unlinked: the luminance slider moves alone.
        "notify:1047", "slide:1003=60", "expect:1010=60", "expect:1011=255",
        "click:1030", "type:1079=250", "expect:1079=100", "press:1008", "settle:", "report:122",
        "tab:1", "tabis:1", "settle:", "report:122", "tab:0", "tabis:0",
        # A slower modem from the options dialog reaches the readouts of
        # both pages as the dialog closes.
        "click:1061", "window:Options", "pick:1059=14400", "press:1", "window:Pixtune", "report:122",
        "tab:1", "tabis:1", "report:122", w.shot("pixtune-main-window-thumbnail.bmp"), "tab:0", "tabis:0",
        w.shot("pixtune-main-window.bmp"), *w.save())
    what = w.what
    check_written(w.out, ["photo.jpg", "th_photo.jpg"], what)
    check_jpegs(w.files, what)
    for f in w.files:
        if os.path.exists(f):
            decoded = subprocess.run(["djpeg", "-nosmooth", "-pnm", f], stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE)
            check(decoded.returncode == 0 and decoded.stdout.startswith(b"P6\n") and not decoded.stderr,
                  what + " djpeg on %s: %s" % (os.path.basename(f), decoded.stderr.decode()[:200]))
    check_recorded(report, (("Lmnc", "60"), ("cHrm", "255"), ("pRgr", "1"), ("sHrp", "100")), what)
    options = stored_options(w.wine)
    check(options is not None and options[1] == 14400, what + " modem speed stored %s" % (options and options[1]))
    # The labels over the sliders name the file sizes from the slider's left
    # end (level 0) to its right (255), where the file is smallest (below).
    above = [v for k, v in sorted(((int(k.split(".")[1]), v) for k, v in report.items()
                                   if re.match(r"ui\.\d+\.above\.1003$", k)))]
    check(above == ["File size:|large|medium|small", "File size:|large|small"],
          what + " labels over the luminance slider %s" % above)
    # In step order: image at level 255, image at 60, thumbnail, then after
    # the options image and thumbnail again.
    readouts = [v for k, v in sorted(((int(k.split(".")[1]), v) for k, v in report.items()
                                      if re.match(r"ui\.\d+\.122$", k)))]
    check(len(readouts) == 5, what + " readouts reported %d times" % len(readouts))
    if len(readouts) == 5 and os.path.exists(w.files[0]):
        coarse, image, thumb, image_after, thumb_after = readouts
        # The slider's right end is the coarsest level: the smallest file.
        def compressed(readout):
            number, unit = readout.split("|")[0].split(" / ")[1].split()
            return float(number) * {"bytes": 1, "Kb": 1024, "Mb": 1048576}[unit]
        check(compressed(coarse) < compressed(image),
              what + " level 255 gives %s, level 60 %s" % (coarse.split("|")[0], image.split("|")[0]))
        size = os.path.getsize(w.files[0])
        check(image == expected_readouts(160, 120, 24, size, 33600), what + " readouts before the options %s" % image)
        check(image_after == expected_readouts(160, 120, 24, size, 14400),
              what + " readouts after the options %s" % image_after)
        check(thumb.endswith("@ 33600bps") and thumb_after.split("|")[:2] == thumb.split("|")[:2] and
              thumb_after.endswith("@ 14400bps"), what + " thumbnail readouts %s, then %s" % (thumb, thumb_after))
    w.replay(report, w.files)
    w.check_screenshots("pixtune-main-window.bmp", "pixtune-main-window-thumbnail.bmp")


def case_window_thumbnail(args):
    w = Window(args, "window-thumbnail", 160, 120,
               options_block(mode=1, lock=1, fit=1, cut=1, width=64, height=48, crop=(10, 10, 90, 90)))
    report = w.run(
        # No thumbnail is made: leaving the image page asks; No stays.
        "window:Pixtune", "tab:1", "window:Confirm", "saytext:haven't choosen thumbnail", "press:7",
        "window:Pixtune", "tabis:0", "settle:", "tabis:0",
        "tab:1", "window:Confirm", "press:6", "window:Pixtune", "tabis:1",
        # The thumbnail follows the image's levels, never the other way.
        "tab:0", "tabis:0", "checked:1017=1", "slide:1003=80", "expect:1010=80",
        "tab:1", "tabis:1", "expect:1010=80", "type:1010=90", "expect:1010=90",
        "tab:0", "tabis:0", "expect:1010=80", "tab:1", "tabis:1",
        "press:1008", "settle:", w.shot("pixtune-thumbnail-page.bmp"),
        # Sizes: 5 stays in the edit but 10 is stored; 999 becomes the height.
        "type:1028=5", "expect:1028=5", "type:1029=999", "expect:1029=120",
        # Thumbnail only: leaving asks for the main image; Yes makes both.
        "click:1053", "checked:1053=1", "tab:0", "window:Confirm", "saytext:thumbnail only", "press:6",
        "window:Pixtune", "tabis:0", "checked:1017=1", *w.save(), plugin="Pixtunef.8bf")
    check_recorded(report, (("tMbl", "3"), ("Lmnc", "80"), ("tLum", "90"), ("tMbw", "10"), ("tMbh", "120")), w.what)
    check_written(w.out, ["photo.jpg", "th_photo.jpg"], w.what)
    check_jpegs(w.files, w.what)
    w.replay(report, w.files, plugin="Pixtunef.8bf")
    w.check_screenshots("pixtune-thumbnail-page.bmp")


def case_window_grey(args):
    w = Window(args, "window-grey", 61, 47, options_block(mode=3), grey=True)
    chrominance_off = ["enabled:1002=0", "enabled:1011=0", "enabled:1037=0", "enabled:1003=1", "enabled:1010=1"]
    w.run("window:Pixtune", "tabis:0", *chrominance_off, "tab:1", "tabis:1", *chrominance_off, "press:2",
          extra=w.played(), result="-128")
    check_written(w.out, [], w.what + " cancel")


def case_window_cancel(args):
    # A delay out of range, which the export corrects: it is stored
    # corrected even though the user cancels.
    w = Window(args, "window-cancel", 40, 30, options_block(delay=20000, mode=3))
    report = w.run("window:Pixtune", "type:1010=70", "expect:1010=70", "click:2", extra=w.played(), result="-128")
    what = w.what
    check_written(w.out, [], what + " cancel")
    check(report.get("recorded.keys", "").split(",") == RECORDED_KEYS, what + " a cancel still records the keys")
    check_recorded(report, (("Lmnc", "35"),), what + " cancelled:")
    _, values = w.wine.settings()
    check(values.get("Image parameters") == ("REG_BINARY", "232300000000"),
          what + " Image parameters after a cancel %s" % (values.get("Image parameters"),))
    options = stored_options(w.wine)
    check(options is not None and options[0] == 1500, what + " settings not saved after a cancel: %s" %
          (options and options[0]))


def case_window_known_host(args):
    w = Window(args, "window-known-host", 160, 120, options_block(mode=1))
    dump = os.path.join(w.stage, "displayed.pnm")
    report = w.run("window:Pixtune", "type:1010=40", "expect:1011=40", "press:1008", "settle:", "settle:", *w.save(),
                   extra=("--display-dump", windows_path(dump)), known=True)
    what = w.what
    check(int(report.get("count.displayPixels.whole", "0")) > 0, what + " the preview was not drawn by the host")
    check_host_clean(report, what)
    photo = w.files[0]
    if not (os.path.exists(photo) and os.path.exists(dump)):
        check(False, what + " no file or no drawn preview")
        return
    check_jpegs([photo], what)
    peer = djpeg(photo)[3]
    _, width, height, shown = read_pnm(dump)
    check((width, height) == (160, 120) and len(shown) == len(peer), what + " drawn picture %dx%d" % (width, height))
    check_near_peer(shown, peer, what + " drawn preview")
    # The host's bitmap was turned back: the file is the scripted export's.
    w.replay(report, [photo])


def case_window_full_screen(args):
    w = Window(args, "window-full-screen", 160, 120, options_block(mode=1))
    # A saved position far right of the screen is brought back inside it.
    w.wine.set_value("Window position", "REG_BINARY", struct.pack("<ii", 5000, -40).hex())
    report = w.run(
        # The first window compresses both pages (its bar ends at 100).
        "window:Pixtune", "progress:1044=100", "shown:1050=0", "type:1010=50", "expect:1010=50",
        # The full-screen window is new, its bars never moved: no compression,
        # and the working settings live on.
        "click:1049", "window:Pixtune", "shown:1050=1", "progress:1044=0", "expect:1010=50",
        "settle:", w.shot("pixtune-full-screen.bmp"),
        # Collapsed: only the restore button; other commands are ignored.
        "click:1050", "shown:1074=0", "shown:1=0", "shown:1050=1", "press:1", "settle:",
        "window:Pixtune", w.shot("pixtune-collapsed.bmp"),
        "click:1050", "shown:1074=1", "shown:1=1",
        # Back to the normal window, then OK.
        "click:1049", "window:Pixtune", "shown:1050=0", "expect:1010=50", *w.save())
    what = w.what
    check_written(w.out, ["photo.jpg"], what)
    check_jpegs(w.files, what)
    check_recorded(report, (("Lmnc", "50"),), what)
    x, y = stored_position(w.wine)
    check(x is not None and 0 < x < 1024 and y == 0, what + " window position stored %s, %s" % (x, y))
    w.check_screenshots("pixtune-full-screen.bmp", "pixtune-collapsed.bmp")


# ---------------------------------------------------------------- crop view

def fit_to_aspect(image_width, image_height, width, height):
    """The largest size of the image's proportions inside width x height, as
    the crop view scales its preview (sizes rounded from .45 up)."""
    rounded = lambda v: int(v + 0.55)
    if image_width * height < width * image_height:
        m = rounded(image_width / (image_height / height))
        if width < m:
            height = rounded(image_height / (image_width / width))
        else:
            width = m
    else:
        m = rounded(image_height / (image_width / width))
        if height < m:
            width = rounded(image_width / (image_height / height))
        else:
            height = m
    return max(width, 1), max(height, 1)


def crop_view_rect(client, image, crop):
    """The crop's rectangle in the crop view's client pixels: the preview
    fills the client area less a 2-pixel frame, centred, and the crop's
    percentages are taken of the preview's size."""
    inner_width, inner_height = client[0] - 4, client[1] - 4
    width, height = fit_to_aspect(image[0], image[1], inner_width, inner_height)
    x, y = (client[0] - width) // 2, (client[1] - height) // 2
    edge = lambda size, percent: int(size * percent * 0.01 + 0.5)
    left, top, right, bottom = crop
    return (edge(width, left) + x, edge(height, top) + y, edge(width, right) + x, edge(height, bottom) + y)


def client_size(report, name):
    value = next((v for k, v in report.items() if k.startswith("ui.") and k.endswith(".client." + name)), "")
    parts = value.split(",")
    return (int(parts[0]), int(parts[1])) if len(parts) == 2 else None


def case_window_crop(args):
    image = (160, 120)
    start = (20, 20, 60, 60)
    options = options_block(mode=3, fit=0, cut=0, width=64, height=48, crop=start)
    w = Window(args, "window-crop", *image, options)
    what = w.what
    # The crop view's size on this display, from a first look at the page.
    report = w.run("window:Pixtune", "tab:1", "tabis:1", "client:113", "press:2", extra=w.played(), result=None)
    client = client_size(report, "113")
    check(client is not None and client[0] > 20 and client[1] > 20, what + " crop view size %s" % (client,))
    if not client:
        return
    set_settings(w.wine, options)

    def centre(rect):
        return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2

    # Each step with the crop it must leave (percent of the image).
    steps, crop = [], start
    # A drag inside moves the whole crop one percent per pixel.
    x, y = centre(crop_view_rect(client, image, crop))
    steps.append("drag:113=%d,%d>%d,%d>%d,%d" % (x, y, x + 4, y + 2, x + 10, y + 5))
    crop = (30, 25, 70, 65)
    # The right edge, grabbed where the view draws it, moves alone.
    rect = crop_view_rect(client, image, crop)
    y = centre(rect)[1]
    steps.append("drag:113=%d,%d>%d,%d" % (rect[2], y, rect[2] - 15, y))
    crop = (30, 25, 55, 65)
    # Shift+Right with repeat 3 moves the right edge 3 percent; Right with
    # repeat 2 the whole crop; Down with repeat 50 pushes it past the
    # bottom, and it is shifted back whole.
    steps += ["shift:1", "key:113=39*3", "shift:0", "settle:"]
    crop = (30, 25, 58, 65)
    steps += ["key:113=39*2", "settle:"]
    crop = (32, 25, 60, 65)
    steps += ["key:113=40*50", "settle:"]
    crop = (32, 60, 60, 100)
    # The left edge dragged to 3 percent from the right (under 16 source
    # pixels) is held at 16 pixels, 10 percent.
    rect = crop_view_rect(client, image, crop)
    y = centre(rect)[1]
    steps.append("drag:113=%d,%d>%d,%d>%d,%d" % (rect[0], y, rect[0] + 12, y, rect[0] + 25, y))
    crop = (50, 60, 60, 100)
    report = w.run("window:Pixtune", "tab:1", "tabis:1", *steps, "settle:", "press:1008", "settle:",
                   w.shot("pixtune-crop-view.bmp"), *w.save())
    for key, value in zip(("tCvL", "tCvT", "tCvR", "tCvB"), crop):
        recorded = recorded_value(report, key)
        check(recorded is not None and abs(float(recorded) - value) < 1e-9,
              what + " %s recorded %s, expected %s" % (key, recorded, value))
    check_written(w.out, ["photo.jpg", "th_photo.jpg"], what)
    thumb = w.files[1]
    if os.path.exists(thumb):
        check_jpegs([thumb], what)
        # 10 x 40 percent of 160 x 120 is 16 x 48 pixels, inside 64 x 48.
        size = djpeg(thumb)[1:3]
        check(size == (16, 48), what + " thumbnail %sx%s" % size)
    w.replay(report, w.files)
    w.check_screenshots("pixtune-crop-view.bmp")


def case_window_source_view(args):
    w = Window(args, "window-source-view", 160, 120, options_block(mode=1))
    held, released = os.path.join(w.stage, "held.pnm"), os.path.join(w.stage, "released.pnm")
    w.run("window:Pixtune", "type:1010=20", "expect:1010=20", "press:1008", "settle:", "settle:",
          "dump:" + windows_path(held), "hold:1032=down", "exstyle:1032=20000", "noexstyle:1032=1",
          "settle:", "settle:", "dump:" + windows_path(released), "hold:1032=up", "exstyle:1032=1",
          "noexstyle:1032=20000", "settle:", "settle:", "dump:", *w.save(), known=True)
    what = w.what
    photo = w.files[0]
    missing = [p for p in (held, released, photo) if not os.path.exists(p)]
    if missing:
        check(False, what + " missing %s" % missing)
        return
    source = read_pnm(os.path.join(w.stage, "image.pnm"))[3]
    _, width, height, shown = read_pnm(held)
    check((width, height) == (160, 120) and shown == source, what + " held view is not the host's image")
    peer = djpeg(photo)[3]
    back = read_pnm(released)[3]
    check(back != source and len(back) == len(peer), what + " the release did not bring the preview back")
    check_near_peer(back, peer, what + " released view")


def runtime_allocation_sites(objdump, dll):
    """Return addresses (offsets from the image base, hex) of the calls by
    which the C and thread runtime linked into the DLL allocate memory for
    themselves: every allocating call outside Pixtune's own code and
    operator new."""
    base = int(re.search(r"ImageBase\s+([0-9a-fA-F]+)",
                         subprocess.run([objdump, "-p", dll], stdout=subprocess.PIPE, check=True).stdout.decode()
                         ).group(1), 16)
    listing = subprocess.run([objdump, "-d", "-C", "--no-show-raw-insn", dll], stdout=subprocess.PIPE,
                             check=True).stdout.decode(errors="replace").splitlines()
    allocating = re.compile(r"\scall\s.*<_?(__imp_)?_?(malloc|calloc|realloc|GlobalAlloc)(@\d+)?>")
    instruction = re.compile(r"^\s*([0-9a-f]+):")
    function, sites, pending = "", [], False
    for line in listing:
        header = re.match(r"^[0-9a-f]+ <(.*)>:$", line)
        if header:
            function, pending = header.group(1), False
            continue
        at = instruction.match(line)
        if not at:
            continue
        if pending:
            sites.append("%x" % (int(at.group(1), 16) - base))
            pending = False
        own = function.lstrip("_").startswith("pixtune::") or function.startswith("operator new")
        if allocating.search(line) and not own:
            pending = True
    return sites


def case_window_alloc_failure(args):
    w = Window(args, "window-alloc-failure", 96, 64, options_block(mode=3, width=40, height=30))
    steps = ui("window:Pixtune", "type:1010=40", "expect:1011=40", "press:1008", "settle:", "tab:1", "tabis:1",
               "press:1008", "settle:", *w.save())
    what = w.what

    objdump = "x86_64-w64-mingw32-objdump" if args.bits == "64" else "i686-w64-mingw32-objdump"
    runtime = runtime_allocation_sites(objdump, os.path.join(args.tree, "jpeg", "win32", "Pixtune.dll"))
    check(len(runtime) > 3, what + " runtime allocation calls found: %d" % len(runtime))

    def run(*extra):
        fresh_dir(w.out)
        extra += ("--alloc-runtime", ",".join(runtime))
        set_settings(w.wine, options_block(mode=3, width=40, height=30))
        return w.wine.host(w.stage, "Pixtunee.8be", "--image", "image.pnm", *extra, *steps,
                           program="plugin-test-host-known.exe")

    def intact(report, where):
        """No block of Pixtune's left, the host's bitmap as it was handed over."""
        check(report.get("alloc.live") == "0", where + " leaves %s blocks" % report.get("alloc.live"))
        check(report.get("bitmap.compared") == "1" and report.get("bitmap.changed") == "0",
              where + " bitmap compared %s changed %s" % (report.get("bitmap.compared"), report.get("bitmap.changed")))

    clean = run("--alloc-probe")
    ui_ok(clean, what + " clean run")
    check(clean.get("alloc.installed") == "1", what + " probe not installed")
    check_result(clean, what + " clean run")
    check_written(w.out, ["photo.jpg", "th_photo.jpg"], what + " clean run")
    intact(clean, what + " clean run")
    total = int(clean.get("alloc.calls", "0"))
    check(total > 5, what + " a clean run allocates %d times" % total)
    # Every allocation up to 16; beyond, the first three, the last and a
    # spread between them.
    chosen = list(range(1, total + 1)) if total <= 16 else sorted(
        set([1, 2, 3, total] + [1 + i * (total - 1) // 11 for i in range(12)]))
    print("clean run: %d allocations; failing %s" % (total, chosen))
    outcomes = {}
    for n in chosen:
        report = run("--fail-alloc", str(n))
        where = what + " allocation %d of %d:" % (n, total)
        result = report.get("result")
        written = sorted(os.listdir(w.out))
        if report.get("alloc.failed") != "1":
            # The preview timer may compress once less than in the clean
            # run; a run that ends before its n-th allocation must be clean.
            calls = int(report.get("alloc.calls", "0"))
            check(calls < n and result == "0" and written == ["photo.jpg", "th_photo.jpg"],
                  where + " not failed after %d allocations, result %s" % (calls, result))
            continue
        outcomes[n] = result
        # A failure while the window is open ends the export before any
        # file, as an error the host reports; once the file name is chosen
        # a failure is still an error, though a file may be on disk.
        count = len(steps) // 2
        saved = report.get("ui.done") == "%d/%d" % (count, count)
        check(result in ("-30200", "-36") and (saved or result == "-30200"), where + " host result %s" % result)
        check(saved or written == [], where + " wrote %s" % written)
        # No message box of Pixtune's own stood in the way of the script.
        check(report.get("ui.visible", "Pixtune") in ("", "Pixtune"),
              where + " a window stayed: %s" % report.get("ui.visible"))
        intact(report, where)
        check_host_clean(report, where)
    print("allocation failures: " + ", ".join("%d:%s" % item for item in sorted(outcomes.items())))
    check(list(outcomes.values()).count("-30200") > len(chosen) // 2, what + " too few failures ended the window")


# ---------------------------------------------------------------- window drag

def case_window_drag(args):
    w = Window(args, "window-drag", 160, 120, options_block(mode=1))
    w.wine.set_value("Window position", "REG_BINARY", struct.pack("<ii", 100, 50).hex())
    # Right of the last tab, in the tabs' own row.
    empty = "drag:1074=6r,6>-4r,11>-24r,26"
    w.run("window:Pixtune", empty, "settle:", "tabis:0",
          "click:1049", "window:Pixtune", "shown:1050=1", empty, "settle:", "tabis:0",
          # On a tab the press is the tab control's own: it picks the tab and
          # the window stays.
          "drag:1074=20,10>50,30", "settle:", "tabis:0", *w.save())
    x, y = stored_position(w.wine)
    check((x, y) == (130, 70), w.what + " window position stored %s, %s, expected 130, 70" % (x, y))


# ---------------------------------------------------------------- labels

def case_window_labels(args):
    # Wide values in the edits: levels 255, sharpen 100, a thumbnail the
    # size of a 1000 x 800 image.
    w = Window(args, "window-labels", 1000, 800, options_block(mode=3, width=1000, height=800),
               image=(255, 255, 0, 100), thumb=(255, 255, 0, 100))
    # Fit off: the radio buttons under it are disabled, drawn embossed.
    report = w.run("window:Pixtune", "tabis:0", "settle:", "fits:image", "tab:1", "tabis:1", "settle:",
                   "enabled:1083=0", "fits:thumbnail", w.shot("pixtune-labels-thumbnail-page.bmp"), "click:1061",
                   "window:Options", "fits:options", "press:2", "window:Pixtune", "press:2",
                   extra=w.played(), result=None)
    for name in ("image", "thumbnail", "options"):
        key = next((k for k in report if k.startswith("ui.") and k.endswith(".fits." + name)), None)
        check(key is not None, w.what + " %s not measured" % name)
        if key:
            check(report[key] == "", w.what + " %s labels cut short: %s" % (name, report[key]))


# ---------------------------------------------------------------- real input

def xdotool(*arguments):
    result = subprocess.run(["xdotool"] + list(arguments), stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    return result.returncode, result.stdout.decode().split()


def wait_for_x_window(name, seconds=60):
    """The X window Wine made for a top-level window with this title."""
    def found():
        code, windows = xdotool("search", "--onlyvisible", "--name", "^%s$" % re.escape(name))
        return windows[-1] if code == 0 and windows else None
    return wait_until(found, seconds)


def case_window_real_input(args):
    import threading
    if not shutil.which("xdotool") or not shutil.which("import"):
        check(False, "window-real-input: xdotool and ImageMagick's import are needed")
        return
    # Thumbnail only: the window opens on the thumbnail page.
    w = Window(args, "window-real-input", 160, 120, options_block(mode=2, width=150, height=14))
    wine, out, artefacts, what = w.wine, w.out, w.artefacts, w.what
    host = subprocess.Popen([wine.exec, wine.bits, wine.prefix, "plugin-test-host.exe", "Pixtunee.8be", "--image",
                             "image.pnm", "--guard-freed", *ui("window:Pixtune", "tabis:1", "settle:", "screen:1005",
                                                               "screen:1006")],
                            cwd=w.stage, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    lines = []
    reader = threading.Thread(target=lambda: lines.extend(host.stdout), daemon=True)
    reader.start()

    def spin(control):
        """The centres of the up and down arrows of a spin control, from its
        place on the screen as the host reports it."""
        def reported():
            for line in list(lines):
                name, _, value = line.decode("latin-1").strip().partition("=")
                if name.startswith("ui.") and name.endswith(".screen.%d" % control):
                    left, top, right, bottom = (int(v) for v in value.split(","))
                    x = (left + right) // 2
                    return (x, top + (bottom - top) // 4), (x, bottom - (bottom - top) // 4)
            return None
        return wait_until(reported)

    def click(point, times):
        xdotool("mousemove", "--sync", str(point[0]), str(point[1]))
        xdotool("click", "--repeat", str(times), "--delay", "120", "1")

    try:
        window = wait_for_x_window("Pixtune")
        width_spin, height_spin = spin(1005), spin(1006)
        check(window is not None and width_spin and height_spin, what + " the export window did not appear")
        if window and width_spin and height_spin:
            xdotool("windowfocus", "--sync", window)
            # Alt+L goes to the luminance edit; its text replaced by 40.
            xdotool("key", "--window", window, "--delay", "80", "alt+l", "Home", "shift+End")
            xdotool("type", "--window", window, "--delay", "80", "40")
            # Width 150: five clicks up, then Up ten times in the edit, held
            # at the image's width; height 14: one click down, then Down five
            # times, held at 10.
            click(width_spin[0], 5)
            xdotool("key", "--window", window, "--delay", "80", "alt+w", *["Up"] * 10)
            click(height_spin[1], 1)
            before = screen_picture()
            xdotool("key", "--window", window, "--delay", "80", "alt+e", *["Down"] * 5)
            # The last edit's preview, after its delay and a compression.
            check(wait_redrawn(before), what + " the screen did not settle after the keys")
            shot = os.path.join(artefacts, "pixtune-real-input.png")
            subprocess.run(["import", "-window", "root", shot], stderr=subprocess.DEVNULL)
            check(os.path.exists(shot) and os.path.getsize(shot) > 1000, what + " no screenshot")
            xdotool("key", "--window", window, "Return")
            # The save dialog has the focus in its name field.
            dialog = wait_for_x_window("Save As", 60)
            if dialog is None:
                # What the screen held instead, for whoever reads the log.
                subprocess.run(["import", "-window", "root", os.path.join(artefacts, "no-save-dialog.png")],
                               stderr=subprocess.DEVNULL)
                names = [subprocess.run(["xdotool", "getwindowname", w], stdout=subprocess.PIPE).stdout.decode().strip()
                         for w in xdotool("search", "--onlyvisible", "--name", ".")[1]]
                print("visible windows: %s" % names)
            check(dialog is not None, what + " the save dialog did not appear")
            if dialog:
                xdotool("windowfocus", "--sync", dialog)
                xdotool("type", "--window", dialog, "--delay", "30",
                        windows_path(os.path.join(out, "typed.jpg")))
                xdotool("key", "--window", dialog, "Return")
        host.wait(timeout=90)
    except subprocess.TimeoutExpired:
        host.kill()
        host.wait()
        check(False, what + " the export did not end")
    reader.join(timeout=10)
    report = parse_report(b"".join(lines).decode("latin-1"))
    check_result(report, what)
    check_written(out, ["th_typed.jpg"], what)
    thumb = os.path.join(out, "th_typed.jpg")
    if os.path.exists(thumb):
        check_jpegs([thumb], what)
        # 160 x 120 kept in proportion inside 160 x 10.
        size = djpeg(thumb)[1:3]
        check(size == (13, 10), what + " thumbnail %sx%s" % size)
    check_recorded(report, (("tLum", "40"), ("tMbw", "160"), ("tMbh", "10")), what)
    options = stored_options(wine)
    check(options is not None and options[15:17] == (160, 10), what + " thumbnail size stored %s" %
          (options and options[15:17],))


def main():
    # Each case_<name> function is the case <name>, its underscores hyphens.
    cases = {name[5:].replace("_", "-"): case for name, case in globals().items() if name.startswith("case_")}
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=sorted(cases))
    parser.add_argument("--tree", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--bits", default="64")
    parser.add_argument("--prefix")
    parser.add_argument("--scratch")
    args = parser.parse_args()
    if args.scratch:
        os.makedirs(args.scratch, exist_ok=True)
    if not shutil.which("jpeginfo"):
        print("jpeginfo is missing")
        return 1
    cases[args.case](args)
    return finish()


if __name__ == "__main__":
    sys.exit(main())
