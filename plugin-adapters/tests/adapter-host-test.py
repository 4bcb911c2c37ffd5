#!/usr/bin/python3
"""End-to-end checks of Pixtune.dll and its two plug-ins.

The plug-ins run inside the plug-in test host under Wine, as an image
editor would run them; jpeginfo judges the JPEG files, and the compressor
core's own output for the same parameters (pixtune-reference) must match
them byte for byte. One case per invocation:

  exports   objdump: undecorated EXPORT, ABOUT and ENTRYPOINT, and the
            plug-ins' property list and scripting dictionary resources
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

SETTINGS_KEY = r"HKLM\software\Tarvos Technologies\Pixtune plug-in\3.0"
RECORDED_KEYS = ("Lmnc,cHrm,pRgr,sHrp,tLum,tChr,tPrg,tShr,tMbl,tMbw,tMbh,tFit,tCut,"
                 "tCvL,tCvR,tCvT,tCvB,mCra,pRex,tExp,fPin").split(",")
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message)


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
        report = {}
        for line in out.splitlines():
            name, _, value = line.partition("=")
            report[name.strip()] = value.rstrip("\r")
        if "alloc.freed.touched" in report:
            check(False, "Pixtune touched a freed block at offset %s" % report["alloc.freed.touched"])
        if code != 0:
            failures.append("test host exited with %d: %s" % (code, err.strip()[-500:]))
        return report


def windows_path(path, folder=False):
    return "Z:" + path.replace("/", "\\") + ("\\" if folder else "")


def fresh_dir(path):
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path


def stage_binaries(args, stage, with_pixtune=True):
    tree = args.tree
    files = [os.path.join(tree, "plugin-adapters", "Pixtunef.8bf"),
             os.path.join(tree, "plugin-adapters", "Pixtunee.8be"),
             os.path.join(tree, "platform", "plugin-host", "plugin-test-host.exe"),
             os.path.join(tree, "plugin-adapters", "tests", "pixtune-reference.exe")]
    if with_pixtune:
        files.append(os.path.join(tree, "jpeg", "win32", "Pixtune.dll"))
    for f in files:
        shutil.copy(f, stage)


def write_image(path, width, height, grey, seed):
    """A photo-like picture: gradients, hard edges and some noise."""
    import math
    channels = 1 if grey else 3
    state = seed * 2654435761 % 2**32
    data = bytearray()
    for y in range(height):
        for x in range(width):
            for c in range(channels):
                state = (state * 1103515245 + 12345) % 2**32
                v = 128 + 70 * math.sin(x / 9.0 + c) * math.cos(y / 13.0 - c) + ((state >> 16) % 17 - 8)
                if (x // 16 + y // 12 + c) % 5 == 0:
                    v = 255 - v
                data.append(max(0, min(255, int(v))))
    with open(path, "wb") as f:
        f.write(b"P%d %d %d 255\n" % (5 if grey else 6, width, height) + bytes(data))


def jpeginfo_ok(path):
    result = subprocess.run(["jpeginfo", "-c", path], stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    return result.returncode == 0 and result.stdout.decode().rstrip().endswith("OK")


def same_bytes(a, b):
    with open(a, "rb") as fa, open(b, "rb") as fb:
        return fa.read() == fb.read()


# ---------------------------------------------------------------- exports

def exported_names(objdump, path):
    out = subprocess.run([objdump, "-p", path], stdout=subprocess.PIPE, check=True).stdout.decode()
    table = out.split("[Ordinal/Name Pointer] Table", 1)
    names = re.findall(r"^\s*\[\s*\d+\]\s+(\S+)\s*$", table[1].split("\n\n")[0], re.M) if len(table) == 2 else []
    resources = re.findall(r"Entry: name: \[[^\]]*\]: (\w+)", out)
    return names, resources


def case_exports(args):
    for tree in [args.tree] + ([args.other_tree] if args.other_tree else []):
        objdump = args.objdump if tree == args.tree else args.other_objdump
        if not os.path.isdir(tree):
            check(False, "%s: build tree missing" % tree)
            continue
        names, _ = exported_names(objdump, os.path.join(tree, "jpeg", "win32", "Pixtune.dll"))
        check(names == ["ABOUT", "EXPORT"], "%s Pixtune.dll exports %s" % (tree, names))
        for plugin in ("Pixtunef.8bf", "Pixtunee.8be"):
            names, resources = exported_names(objdump, os.path.join(tree, "plugin-adapters", plugin))
            check(names == ["ENTRYPOINT"], "%s %s exports %s" % (tree, plugin, names))
            check("PIPL" in resources and "AETE" in resources, "%s %s resources %s" % (tree, plugin, resources))


# ---------------------------------------------------------------- scripted

SCENARIOS = {
    # grey: smart cut on a saved crop, prefix form, progressive image
    "grey": dict(size=(61, 47), script=[
        "Lmnc=long:20", "cHrm=long:40", "pRgr=bool:1", "sHrp=long:30", "tLum=long:12", "tChr=long:24",
        "tPrg=bool:0", "tShr=long:0", "tMbl=long:3", "tMbw=long:40", "tMbh=long:30", "tFit=bool:1",
        "tCut=bool:1", "tCvL=doub:10", "tCvR=doub:70", "tCvT=doub:5", "tCvB=doub:95", "mCra=bool:0",
        "pRex=bool:1", "tExp=TEXT:small_"],
        image=("20", "40", "1", "30"), thumb=("12", "24", "0", "0", "40", "30", "1", "1", "10", "5", "70", "95"),
        thumb_name="small_photo.jpg"),
    # colour: the whole image (crop not kept), suffix form, progressive thumbnail
    "colour": dict(size=(83, 59), script=[
        "Lmnc=long:35", "cHrm=long:70", "pRgr=bool:0", "sHrp=long:0", "tLum=long:50", "tChr=long:50",
        "tPrg=bool:1", "tShr=long:20", "tMbl=long:3", "tMbw=long:64", "tMbh=long:64", "tFit=bool:0",
        "tCut=bool:1", "tCvL=doub:20", "tCvR=doub:30", "tCvT=doub:20", "tCvB=doub:30", "mCra=bool:1",
        "pRex=bool:0", "tExp=TEXT:_t"],
        image=("35", "70", "0", "0"), thumb=("50", "50", "1", "20", "64", "64", "0", "1", "0", "0", "100", "100"),
        thumb_name="photo_t.jpg"),
}

# Values the export flow itself may rewrite (the crop of a smart cut).
REWRITTEN = {"tCvL", "tCvR", "tCvT", "tCvB"}


def check_resources(report, plugin):
    what = "%s:" % plugin
    filter_plugin = plugin.endswith(".8bf")
    check(report.get("pipl") == "ok", what + " property list " + report.get("pipl", "?"))
    check(report.get("pipl.kind") == ("8BFM" if filter_plugin else "8BEM"), what + " kind")
    check(report.get("pipl.name") == "Pixtune...", what + " name")
    check(report.get("pipl.category") == ("Pixtune" if filter_plugin else ""), what + " category")
    check(report.get("pipl.version") == "4.0", what + " version")
    check("ENTRYPOINT" in (report.get("pipl.entry.x86"), report.get("pipl.entry.x64")), what + " entry")
    check(report.get("pipl.modes.grey") == "1" and report.get("pipl.modes.rgb") == "1", what + " modes")
    check(report.get("pipl.enable") == "in (PSHOP_ImageMode, GrayScaleMode, RGBMode) && "
          "( PSHOP_ImageWidth >= 8 && PSHOP_ImageHeight >= 8 )", what + " enable rule")
    check(report.get("pipl.event") == "qzWb/null" and report.get("pipl.dictionary") == "16000", what + " scripting")
    check(bool(report.get("pipl.scope")) == filter_plugin, what + " scope " + report.get("pipl.scope", ""))
    check(report.get("aete") == "ok", what + " dictionary " + report.get("aete", "?"))
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
            width, height = scenario["size"]
            image = os.path.join(stage, "image.pnm")
            write_image(image, width, height, name == "grey", seed=len(name))
            script = scenario["script"] + ["fPin=TEXT:" + windows_path(out, folder=True)]
            arguments = [plugin, "--image", "image.pnm", "--title", "photo.tif"]
            for item in script:
                arguments += ["--script", item]
            report = wine.host(stage, *arguments)
            check_resources(report, plugin)
            check(report.get("result") == "0", what + " result " + report.get("result", "?"))
            image_file = os.path.join(out, "photo.jpg")
            thumb_file = os.path.join(out, scenario["thumb_name"])
            check(sorted(os.listdir(out)) == sorted(["photo.jpg", scenario["thumb_name"]]),
                  what + " files %s" % os.listdir(out))
            if not (os.path.exists(image_file) and os.path.exists(thumb_file)):
                continue
            check(jpeginfo_ok(image_file), what + " jpeginfo on the image")
            check(jpeginfo_ok(thumb_file), what + " jpeginfo on the thumbnail")
            code, _, err = wine.run("pixtune-reference.exe", "image.pnm",
                                    "--image", windows_path(os.path.join(ref, "image.jpg")), *scenario["image"],
                                    "--thumbnail", windows_path(os.path.join(ref, "thumb.jpg")), *scenario["thumb"],
                                    cwd=stage)
            check(code == 0, what + " reference failed " + err)
            if code == 0:
                check(same_bytes(image_file, os.path.join(ref, "image.jpg")), what + " image differs from the core's")
                check(same_bytes(thumb_file, os.path.join(ref, "thumb.jpg")),
                      what + " thumbnail differs from the core's")
            check(report.get("recorded.keys", "").split(",") == RECORDED_KEYS,
                  what + " recorded keys " + report.get("recorded.keys", ""))
            recorded = {report[k].split("=")[0]: report[k] for k in report if re.match(r"recorded\.\d+$", k)}
            for item in script:
                key = item.split("=")[0]
                if key not in REWRITTEN:
                    check(recorded.get(key) == item, what + " recorded %s, played %s" % (recorded.get(key), item))
            check(report.get("recorded.recordInfo") == "0", what + " record information")
            check(report.get("handles.leaked") == "0", what + " handles leaked " + report.get("handles.leaked", "?"))
            check(int(report.get("count.disposeHandle", "0")) >= int(report.get("count.newHandle", "0")),
                  what + " disposed fewer handles than created")
            check(report.get("problems") == "0", what + " host saw misuse: " +
                  "; ".join(v for k, v in report.items() if k.startswith("problem.")))
            check(int(report.get("count.progress", "0")) > 0, what + " no progress reported")
            if plugin.endswith(".8be"):
                check(report.get("record.filename_intact") == "1", what + " host's file name field changed")
                check(report.get("record.theRect") == "0,0,0,0", what + " theRect " + report.get("record.theRect", ""))
            else:
                check(report.get("count.getProperty") == "1", what + " title asked %s times" %
                      report.get("count.getProperty"))
                for rect in ("inRect", "outRect", "maskRect"):
                    check(report.get("record." + rect) == "0,0,0,0", what + " " + rect)


# ---------------------------------------------------------------- settings

def default_options():
    # The documented defaults: delay 1500, modem 33600, crop 0 0 100 100,
    # fit 0, smart cut 1, automatic preview 1, linked chrominance 0, locked
    # sliders 1, prefix form 1, save crop 0, reserved 0, mode 1, 100 x 100.
    return struct.pack("<ii4d8BiHH", 1500, 33600, 0, 0, 100, 100, 0, 1, 1, 0, 1, 1, 0, 0, 1, 100, 100)


def reg_values(wine):
    code, out, _ = wine.run("reg", "query", SETTINGS_KEY)
    values = {}
    for line in out.splitlines():
        m = re.match(r"\s+(.+?)\s+(REG_\w+)\s*(.*)$", line)
        if m:
            values[m.group(1)] = (m.group(2), m.group(3).strip())
    return code, values


def case_settings(args):
    prefix = os.path.join(args.scratch, "fresh-prefix")
    shutil.rmtree(prefix, ignore_errors=True)
    wine = Wine(args, prefix)
    subprocess.run([wine.fixture, "start", args.bits, prefix], check=True)
    try:
        stage = fresh_dir(os.path.join(args.scratch, "settings"))
        stage_binaries(args, stage)
        write_image(os.path.join(stage, "image.pnm"), 40, 30, False, 3)
        out = fresh_dir(os.path.join(stage, "out"))

        # A fresh prefix has no settings until the first export, which
        # stores the defaults even when the user cancels.
        code, _ = reg_values(wine)
        check(code != 0, "settings key exists before the first export")
        report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", "--answer", "cancel")
        check(report.get("result") == "-128", "cancelled main window gives %s" % report.get("result"))
        check(report.get("dialog.0") == "Pixtune", "main window caption %s" % report.get("dialog.0"))
        code, values = reg_values(wine)
        check(code == 0, "settings key missing after the first export")
        check(values.get("Plugin options") == ("REG_BINARY", default_options().hex().upper()),
              "default Plugin options %s" % (values.get("Plugin options"),))
        check(values.get("Image parameters") == ("REG_BINARY", "101000000000"), "default Image parameters")
        check(values.get("Thumbnail parameters") == ("REG_BINARY", "101000000000"), "default Thumbnail parameters")
        check(values.get("Window position") == ("REG_BINARY", "0000000000000000"), "default Window position")
        check(values.get("Thumbnail name expansion") == ("REG_SZ", "th_"), "default expansion")
        check(values.get("Last path") == ("REG_SZ", ""), "default Last path %s" % (values.get("Last path"),))
        check(report.get("recorded.keys", "").split(",") == RECORDED_KEYS, "a cancel still records the keys")

        # Out-of-range values: delay 20000, modem 2000, top 100 and bottom
        # 150 (clamped first, so no empty crop), save crop on, mode 4,
        # width 5; the export corrects them and stores the corrected ones.
        bad = struct.pack("<ii4d8BiHH", 20000, 2000, 0, 100, 100, 150, 0, 1, 1, 0, 1, 1, 1, 0, 4, 5, 100)
        wine.run("reg", "add", SETTINGS_KEY, "/v", "Plugin options", "/t", "REG_BINARY", "/d", bad.hex(), "/f")
        report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm",
                           "--script", "fPin=TEXT:" + windows_path(out, folder=True))
        check(report.get("result") == "0", "export over bad settings gives %s" % report.get("result"))
        check(os.listdir(out) == ["photo.jpg"], "mode 4 corrected to image only: %s" % os.listdir(out))
        _, values = reg_values(wine)
        fixed = struct.pack("<ii4d8BiHH", 1500, 33600, 0, 0, 100, 100, 0, 1, 1, 0, 1, 1, 1, 0, 1, 100, 100)
        check(values.get("Plugin options") == ("REG_BINARY", fixed.hex().upper()),
              "corrected Plugin options %s" % (values.get("Plugin options"),))
        check(values.get("Last path", ("", ""))[1] == windows_path(out, folder=True), "scripted Last path")

        # A value that cannot be read leaves the texts at their defaults
        # (the stored expansion is not used), and the export stores every
        # value again.
        wine.run("reg", "add", SETTINGS_KEY, "/v", "Thumbnail name expansion", "/t", "REG_SZ", "/d", "zz_", "/f")
        wine.run("reg", "delete", SETTINGS_KEY, "/v", "Window position", "/f")
        fresh_dir(out)
        report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", "--script", "tMbl=long:3",
                           "--script", "fPin=TEXT:" + windows_path(out, folder=True))
        check(sorted(os.listdir(out)) == ["photo.jpg", "th_photo.jpg"],
              "after a failed read the thumbnail is %s" % os.listdir(out))
        _, values = reg_values(wine)
        check(values.get("Window position") == ("REG_BINARY", "0000000000000000"), "Window position stored again")
        check(values.get("Thumbnail name expansion") == ("REG_SZ", "th_"), "expansion stored as its default")

        # Interactive: OK in the main window, then a file name in the save
        # dialog; "Last path" becomes the chosen folder.
        chosen = fresh_dir(os.path.join(stage, "chosen"))
        report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", "--answer", "ok",
                           "--answer", "file=" + windows_path(os.path.join(chosen, "picked.jpg")))
        check(report.get("result") == "0", "interactive export gives %s" % report.get("result"))
        # The thumbnail mode stored by the export before applies here too.
        check(sorted(os.listdir(chosen)) == ["picked.jpg", "th_picked.jpg"],
              "interactive export wrote %s" % os.listdir(chosen))
        for name in os.listdir(chosen):
            check(jpeginfo_ok(os.path.join(chosen, name)), "jpeginfo on the interactive export's " + name)
        _, values = reg_values(wine)
        check(values.get("Last path", ("", ""))[1] == windows_path(chosen, folder=True),
              "Last path after the save dialog %s" % (values.get("Last path"),))

        # Cancelling the save dialog cancels the export.
        report = wine.host(stage, "Pixtunef.8bf", "--image", "image.pnm", "--answer", "ok", "--answer", "cancel")
        check(report.get("result") == "-128", "cancelled save dialog gives %s" % report.get("result"))
        check(len(report.get("dialog.1", "")) > 0, "no save dialog seen")
    finally:
        subprocess.run([wine.fixture, "stop", args.bits, prefix])


# ---------------------------------------------------------------- edges

def case_edges(args):
    wine = Wine(args, args.prefix)
    stage = fresh_dir(os.path.join(args.scratch, "edges"))
    stage_binaries(args, stage)
    write_image(os.path.join(stage, "image.pnm"), 24, 16, False, 5)
    out = fresh_dir(os.path.join(stage, "out"))
    fpin = ["--script", "fPin=TEXT:" + windows_path(out, folder=True), "--script", "tMbl=long:1"]

    report = wine.host(stage, "Pixtunef.8bf", "--selectors", "6", *fpin)
    check(report.get("call.0") == "6:-30100", "filter selector 6 gives %s" % report.get("call.0"))
    report = wine.host(stage, "Pixtunee.8be", "--selectors", "6,-1", *fpin)
    check(report.get("call.0") == "6:0" and report.get("call.1") == "-1:0",
          "export selectors 6 and -1 give %s %s" % (report.get("call.0"), report.get("call.1")))
    report = wine.host(stage, "Pixtunef.8bf", "--selectors", "1,2,5", *fpin)
    check([report.get("call.%d" % i) for i in range(3)] == ["1:0", "2:0", "5:0"], "filter selectors 1, 2, 5")

    for plugin, code in (("Pixtunef.8bf", "-30101"), ("Pixtunee.8be", "-30201")):
        report = wine.host(stage, plugin, "--image", "image.pnm", "--mode", "4", *fpin)
        check(report.get("result") == code, "%s CMYK gives %s" % (plugin, report.get("result")))
        check("count.openReadDescriptor" not in report and "count.progress" not in report,
              "%s called Pixtune for a CMYK image" % plugin)
        check(os.listdir(out) == [], "%s wrote %s for a CMYK image" % (plugin, os.listdir(out)))

    report = wine.host(stage, "Pixtunee.8be", "--selectors", "4", "--max-data", "1001")
    check(report.get("record.maxData") == "500", "prepare halves 1001 to %s" % report.get("record.maxData"))
    report = wine.host(stage, "Pixtunee.8be", "--selectors", "4", "--max-data", "-7")
    check(report.get("record.maxData") == "-3", "prepare halves -7 to %s" % report.get("record.maxData"))

    # Without the property suite the filter passes no name: "Untitled".
    report = wine.host(stage, "Pixtunef.8bf", "--image", "image.pnm", "--no-properties", *fpin)
    check(report.get("result") == "0" and os.listdir(out) == ["Untitled.jpg"],
          "filter without properties wrote %s" % os.listdir(out))
    check("count.getProperty" not in report, "filter asked for a property it was not offered")

    # A handle suite without lock calls: texts are locked as global memory.
    fresh_dir(out)
    report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", "--handle-procs", "4",
                       "--script", "tExp=TEXT:x", *fpin)
    check(report.get("result") == "0" and os.listdir(out) == ["photo.jpg"], "four-call handle suite")
    check(report.get("handles.leaked") == "0" and "count.lockHandle" not in report, "four-call handle suite locks")

    # A 255-character file name fills the host's field without a terminator;
    # its last characters are the document's name, so any byte read past
    # the field would show in the output's name.
    fresh_dir(out)
    long_name = "d\\" * 123 + "photo.tif"
    assert len(long_name) == 255
    report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", "--title", long_name, *fpin)
    check(report.get("record.filename_intact") == "1", "255-character name changed the host's field")
    check(report.get("result") == "0" and os.listdir(out) == ["photo.jpg"],
          "255-character name wrote %s (%s)" % (os.listdir(out), report.get("result")))

    # Failures reach the host as errors: a folder that does not exist.
    missing = windows_path(os.path.join(stage, "no", "such"), folder=True)
    report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", "--script", "fPin=TEXT:" + missing)
    check(report.get("result") == "-36", "file that cannot be created gives %s" % report.get("result"))

    # Without Pixtune.dll the plug-ins cannot load.
    bare = fresh_dir(os.path.join(args.scratch, "edges-bare"))
    stage_binaries(args, bare, with_pixtune=False)
    for plugin in ("Pixtunef.8bf", "Pixtunee.8be"):
        report = wine.host(bare, plugin)
        check(report.get("load") == "failed", "%s loaded without Pixtune.dll" % plugin)


# ---------------------------------------------------------------- interrupted

def case_export_interrupted(args):
    """An export that replaces a file, killed at random points and run into
    a full disk: the old file stays byte for byte or the new one is there
    whole, never a part of one; nothing else is left once an export has
    run to its end; a full disk is a failed write for the host (-36)."""
    import random
    import signal
    import time
    wine = Wine(args, args.prefix)
    stage = fresh_dir(os.path.join(args.scratch, "export-interrupted"))
    stage_binaries(args, stage)
    write_image(os.path.join(stage, "image.pnm"), 960, 720, False, seed=21)
    write_image(os.path.join(stage, "small.pnm"), 48, 32, False, seed=22)
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
    check(report.get("result") == "0" and report_new.get("result") == "0", what + " clean exports failed")
    with open(target, "rb") as f:
        old = f.read()
    with open(os.path.join(ref, "photo.jpg"), "rb") as f:
        new = f.read()
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
            deadline = time.time() + 60

            def writing():
                now = os.stat(target)
                return os.path.exists(staged) or (now.st_size, now.st_mtime_ns) != (before.st_size, before.st_mtime_ns)
            while not writing() and host.poll() is None and time.time() < deadline:
                time.sleep(0.002)
            time.sleep(rng.uniform(0, 0.15))
        else:
            time.sleep(rng.uniform(0.2, 1.0) * duration)
        try:
            os.killpg(host.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        host.wait()
        with open(target, "rb") as f:
            now = f.read()
        check(now in (old, new), what + " run %d left a file of %d bytes, neither old nor new" % (run, len(now)))
        outcomes["old" if now == old else "new"] += 1
        outcomes["staged left"] += os.path.exists(staged)
        check(set(os.listdir(out)) <= {"photo.jpg", "photo.jpg.pixtune-new"}, what + " left %s" % os.listdir(out))
    print("killed exports: %s" % outcomes)
    # An export run to its end takes the place of what a killed one left.
    report = wine.host(stage, *arguments("Pixtunee.8be", out))
    check(report.get("result") == "0" and os.listdir(out) == ["photo.jpg"],
          what + " after the kills an export gives %s and leaves %s" % (report.get("result"), os.listdir(out)))

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
        with open(os.path.join(disk, "photo.jpg"), "rb") as f:
            kept = f.read()
        for plugin in ("Pixtunef.8bf", "Pixtunee.8be"):
            report = wine.host(stage, *arguments(plugin, disk))
            check(report.get("result") == "-36", what + " %s on a full disk gives %s" % (plugin, report.get("result")))
            with open(os.path.join(disk, "photo.jpg"), "rb") as f:
                check(f.read() == kept, what + " %s on a full disk changed the old file" % plugin)
            check(os.listdir(disk) == ["photo.jpg"], what + " %s on a full disk left %s" % (plugin, os.listdir(disk)))
    finally:
        subprocess.run(["umount", disk])


# ---------------------------------------------------------------- window

def options_block(delay=50, mode=1, independent=0, lock=1, fit=0, cut=1, width=100, height=100,
                  crop=(0, 0, 100, 100), modem=33600):
    # delay, modem, crop left top right bottom, fit, smart cut, automatic
    # preview, independent chrominance, locked sliders, prefix form, save
    # crop, reserved, mode, thumbnail width and height
    return struct.pack("<ii4d8BiHH", delay, modem, *crop, fit, cut, 1, independent, lock, 1, 1, 0, mode,
                       width, height)


def set_settings(wine, options, image=(35, 35, 0, 0), thumb=(50, 50, 0, 0)):
    def params(p):
        return struct.pack("<BBBBh", p[0], p[1], 0, p[2], p[3]).hex()
    for name, kind, value in (("Plugin options", "REG_BINARY", options.hex()),
                              ("Image parameters", "REG_BINARY", params(image)),
                              ("Thumbnail parameters", "REG_BINARY", params(thumb)),
                              ("Thumbnail name expansion", "REG_SZ", "th_")):
        wine.run("reg", "add", SETTINGS_KEY, "/v", name, "/t", kind, "/d", value, "/f")


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


def replay_matches(wine, stage, report, plugin, files, what):
    """The same settings played as a script (no dialog) must write the same bytes."""
    replay = fresh_dir(os.path.join(stage, "replay"))
    arguments = [plugin, "--image", "image.pnm"]
    for item in recorded_items(report):
        if not item.startswith("fPin="):
            arguments += ["--script", item]
    arguments += ["--script", "fPin=TEXT:" + windows_path(replay, folder=True)]
    again = wine.host(stage, *arguments)
    check(again.get("result") == "0", what + " scripted replay gives %s" % again.get("result"))
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


def check_screenshot(path, what):
    """A screenshot kept as an artefact: a 24-bit BMP showing the pane's grey
    background and the picture's colours."""
    if not os.path.exists(path):
        check(False, what + " no screenshot " + os.path.basename(path))
        return
    with open(path, "rb") as f:
        data = f.read()
    offset = struct.unpack("<I", data[10:14])[0]
    pixels = data[offset:]
    triples = {pixels[i:i + 3] for i in range(0, len(pixels) - 2, 3)}
    check(data[:2] == b"BM" and b"\x80\x80\x80" in triples and len(triples) > 50,
          what + " screenshot %s shows %d colours" % (os.path.basename(path), len(triples)))


def window_stage(args, name, width, height, grey=False):
    stage = fresh_dir(os.path.join(args.scratch, name))
    stage_binaries(args, stage)
    write_image(os.path.join(stage, "image.pnm"), width, height, grey, seed=11)
    artefacts = os.path.join(args.tree, "plugin-adapters", "tests", "artefacts")
    os.makedirs(artefacts, exist_ok=True)
    return stage, fresh_dir(os.path.join(stage, "out")), artefacts


def case_window_export(args):
    wine = Wine(args, args.prefix)
    stage, out, artefacts = window_stage(args, "window-export", 160, 120)
    set_settings(wine, options_block(mode=3, fit=1, cut=1, width=64, height=48, crop=(10, 10, 90, 90)))
    shot = windows_path(os.path.join(artefacts, "pixtune-main-window.bmp"))
    thumb_shot = windows_path(os.path.join(artefacts, "pixtune-main-window-thumbnail.bmp"))
    report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", *ui(
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
        "tab:1", "tabis:1", "report:122", "shot:" + thumb_shot, "tab:0", "tabis:0", "shot:" + shot,
        "click:1", "file:" + windows_path(os.path.join(out, "photo.jpg"))))
    what = "window-export:"
    ui_ok(report, what)
    check(report.get("result") == "0", what + " result %s" % report.get("result"))
    files = [os.path.join(out, "photo.jpg"), os.path.join(out, "th_photo.jpg")]
    check(sorted(os.listdir(out)) == ["photo.jpg", "th_photo.jpg"], what + " wrote %s" % os.listdir(out))
    for f in files:
        if os.path.exists(f):
            check(jpeginfo_ok(f), what + " jpeginfo on " + os.path.basename(f))
            decoded = subprocess.run(["djpeg", "-nosmooth", "-pnm", f], stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE)
            check(decoded.returncode == 0 and decoded.stdout.startswith(b"P6\n") and not decoded.stderr,
                  what + " djpeg on %s: %s" % (os.path.basename(f), decoded.stderr.decode()[:200]))
    for key, value in (("Lmnc", "60"), ("cHrm", "255"), ("pRgr", "1"), ("sHrp", "100")):
        check(recorded_value(report, key) == value,
              what + " %s recorded %s, set %s" % (key, recorded_value(report, key), value))
    _, values = reg_values(wine)
    stored = values.get("Plugin options", ("", ""))[1]
    check(len(stored) == 112 and struct.unpack("<i", bytes.fromhex(stored[8:16]))[0] == 14400,
          what + " modem speed stored %s" % stored[8:16])
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
    if len(readouts) == 5 and os.path.exists(files[0]):
        coarse, image, thumb, image_after, thumb_after = readouts
        # The slider's right end is the coarsest level: the smallest file.
        def compressed(readout):
            number, unit = readout.split("|")[0].split(" / ")[1].split()
            return float(number) * {"bytes": 1, "Kb": 1024, "Mb": 1048576}[unit]
        check(compressed(coarse) < compressed(image),
              what + " level 255 gives %s, level 60 %s" % (coarse.split("|")[0], image.split("|")[0]))
        size = os.path.getsize(files[0])
        check(image == expected_readouts(160, 120, 24, size, 33600), what + " readouts before the options %s" % image)
        check(image_after == expected_readouts(160, 120, 24, size, 14400),
              what + " readouts after the options %s" % image_after)
        check(thumb.endswith("@ 33600bps") and thumb_after.split("|")[:2] == thumb.split("|")[:2] and
              thumb_after.endswith("@ 14400bps"), what + " thumbnail readouts %s, then %s" % (thumb, thumb_after))
    replay_matches(wine, stage, report, "Pixtunee.8be", files, what)
    for name in ("pixtune-main-window.bmp", "pixtune-main-window-thumbnail.bmp"):
        check_screenshot(os.path.join(artefacts, name), what)


def case_window_thumbnail(args):
    wine = Wine(args, args.prefix)
    stage, out, artefacts = window_stage(args, "window-thumbnail", 160, 120)
    set_settings(wine, options_block(mode=1, lock=1, fit=1, cut=1, width=64, height=48, crop=(10, 10, 90, 90)))
    shot = windows_path(os.path.join(artefacts, "pixtune-thumbnail-page.bmp"))
    report = wine.host(stage, "Pixtunef.8bf", "--image", "image.pnm", *ui(
        # No thumbnail is made: leaving the image page asks; No stays.
        "window:Pixtune", "tab:1", "window:Confirm", "saytext:haven't choosen thumbnail", "press:7",
        "window:Pixtune", "tabis:0", "settle:", "tabis:0",
        "tab:1", "window:Confirm", "press:6", "window:Pixtune", "tabis:1",
        # The thumbnail follows the image's levels, never the other way.
        "tab:0", "tabis:0", "checked:1017=1", "slide:1003=80", "expect:1010=80",
        "tab:1", "tabis:1", "expect:1010=80", "type:1010=90", "expect:1010=90",
        "tab:0", "tabis:0", "expect:1010=80", "tab:1", "tabis:1",
        "press:1008", "settle:", "shot:" + shot,
        # Sizes: 5 stays in the edit but 10 is stored; 999 becomes the height.
        "type:1028=5", "expect:1028=5", "type:1029=999", "expect:1029=120",
        # Thumbnail only: leaving asks for the main image; Yes makes both.
        "click:1053", "checked:1053=1", "tab:0", "window:Confirm", "saytext:thumbnail only", "press:6",
        "window:Pixtune", "tabis:0", "checked:1017=1",
        "click:1", "file:" + windows_path(os.path.join(out, "photo.jpg"))))
    what = "window-thumbnail:"
    ui_ok(report, what)
    check(report.get("result") == "0", what + " result %s" % report.get("result"))
    for key, value in (("tMbl", "3"), ("Lmnc", "80"), ("tLum", "90"), ("tMbw", "10"), ("tMbh", "120")):
        check(recorded_value(report, key) == value,
              what + " %s recorded %s, expected %s" % (key, recorded_value(report, key), value))
    files = [os.path.join(out, "photo.jpg"), os.path.join(out, "th_photo.jpg")]
    check(sorted(os.listdir(out)) == ["photo.jpg", "th_photo.jpg"], what + " wrote %s" % os.listdir(out))
    for f in files:
        if os.path.exists(f):
            check(jpeginfo_ok(f), what + " jpeginfo on " + os.path.basename(f))
    replay_matches(wine, stage, report, "Pixtunef.8bf", files, what)
    check_screenshot(os.path.join(artefacts, "pixtune-thumbnail-page.bmp"), what)


def case_window_grey(args):
    wine = Wine(args, args.prefix)
    stage, out, _ = window_stage(args, "window-grey", 61, 47, grey=True)
    set_settings(wine, options_block(mode=3))
    chrominance_off = ["enabled:1002=0", "enabled:1011=0", "enabled:1037=0", "enabled:1003=1", "enabled:1010=1"]
    report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", "--script",
                       "fPin=TEXT:" + windows_path(out, folder=True), "--play", "display", *ui(
                           "window:Pixtune", "tabis:0", *chrominance_off, "tab:1", "tabis:1", *chrominance_off,
                           "press:2"))
    what = "window-grey:"
    ui_ok(report, what)
    check(report.get("result") == "-128", what + " cancel gives %s" % report.get("result"))
    check(os.listdir(out) == [], what + " cancel wrote %s" % os.listdir(out))


def case_window_cancel(args):
    wine = Wine(args, args.prefix)
    stage, out, _ = window_stage(args, "window-cancel", 40, 30)
    # A delay out of range, which the export corrects: it is stored
    # corrected even though the user cancels.
    set_settings(wine, options_block(delay=20000, mode=3), image=(35, 35, 0, 0))
    report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", "--script",
                       "fPin=TEXT:" + windows_path(out, folder=True), "--play", "display", *ui(
                           "window:Pixtune", "type:1010=70", "expect:1010=70", "click:2"))
    what = "window-cancel:"
    ui_ok(report, what)
    check(report.get("result") == "-128", what + " cancel gives %s" % report.get("result"))
    check(os.listdir(out) == [], what + " cancel wrote %s" % os.listdir(out))
    check(report.get("recorded.keys", "").split(",") == RECORDED_KEYS, what + " a cancel still records the keys")
    check(recorded_value(report, "Lmnc") == "35", what + " cancelled level recorded as %s" %
          recorded_value(report, "Lmnc"))
    _, values = reg_values(wine)
    check(values.get("Image parameters") == ("REG_BINARY", "232300000000"),
          what + " Image parameters after a cancel %s" % (values.get("Image parameters"),))
    stored = values.get("Plugin options", ("", ""))[1]
    check(len(stored) == 112 and struct.unpack("<i", bytes.fromhex(stored[:8]))[0] == 1500,
          what + " settings not saved after a cancel: %s" % stored[:8])


def read_pnm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = data.split(maxsplit=4)
    return fields[0], int(fields[1]), int(fields[2]), fields[4]


def case_window_known_host(args):
    wine = Wine(args, args.prefix)
    stage, out, _ = window_stage(args, "window-known-host", 160, 120)
    shutil.copy(os.path.join(args.tree, "platform", "plugin-host", "plugin-test-host-known.exe"), stage)
    set_settings(wine, options_block(mode=1))
    dump = os.path.join(stage, "displayed.pnm")
    report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", "--display-dump", windows_path(dump), *ui(
        "window:Pixtune", "type:1010=40", "expect:1011=40", "press:1008", "settle:", "settle:",
        "click:1", "file:" + windows_path(os.path.join(out, "photo.jpg"))), program="plugin-test-host-known.exe")
    what = "window-known-host:"
    ui_ok(report, what)
    check(report.get("result") == "0", what + " result %s" % report.get("result"))
    check(int(report.get("count.displayPixels.whole", "0")) > 0, what + " the preview was not drawn by the host")
    check(report.get("problems") == "0", what + " host saw misuse: " +
          "; ".join(v for k, v in report.items() if k.startswith("problem.")))
    photo = os.path.join(out, "photo.jpg")
    if not (os.path.exists(photo) and os.path.exists(dump)):
        check(False, what + " no file or no drawn preview")
        return
    check(jpeginfo_ok(photo), what + " jpeginfo")
    decoded = subprocess.run(["djpeg", "-nosmooth", "-pnm", photo], stdout=subprocess.PIPE, check=True).stdout
    peer = decoded.split(maxsplit=4)[4]
    _, width, height, shown = read_pnm(dump)
    check((width, height) == (160, 120) and len(shown) == len(peer), what + " drawn picture %dx%d" % (width, height))
    if len(shown) == len(peer):
        differences = [abs(a - b) for a, b in zip(shown, peer)]
        # The compressor core's own tolerance against djpeg -nosmooth.
        check(max(differences) <= 4 and sum(differences) / len(differences) < 1,
              what + " drawn preview differs from djpeg: max %d, mean %.3f" %
              (max(differences), sum(differences) / len(differences)))
    # The host's bitmap was turned back: the file is the scripted export's.
    replay_matches(wine, stage, report, "Pixtunee.8be", [photo], what)


def case_window_full_screen(args):
    wine = Wine(args, args.prefix)
    stage, out, artefacts = window_stage(args, "window-full-screen", 160, 120)
    set_settings(wine, options_block(mode=1))
    # A saved position far right of the screen is brought back inside it.
    wine.run("reg", "add", SETTINGS_KEY, "/v", "Window position", "/t", "REG_BINARY", "/d",
             struct.pack("<ii", 5000, -40).hex(), "/f")
    full = windows_path(os.path.join(artefacts, "pixtune-full-screen.bmp"))
    collapsed = windows_path(os.path.join(artefacts, "pixtune-collapsed.bmp"))
    report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", *ui(
        # The first window compresses both pages (its bar ends at 100).
        "window:Pixtune", "progress:1044=100", "shown:1050=0", "type:1010=50", "expect:1010=50",
        # The full-screen window is new, its bars never moved: no compression,
        # and the working settings live on.
        "click:1049", "window:Pixtune", "shown:1050=1", "progress:1044=0", "expect:1010=50",
        "settle:", "shot:" + full,
        # Collapsed: only the restore button; other commands are ignored.
        "click:1050", "shown:1074=0", "shown:1=0", "shown:1050=1", "press:1", "settle:",
        "window:Pixtune", "shot:" + collapsed,
        "click:1050", "shown:1074=1", "shown:1=1",
        # Back to the normal window, then OK.
        "click:1049", "window:Pixtune", "shown:1050=0", "expect:1010=50",
        "click:1", "file:" + windows_path(os.path.join(out, "photo.jpg"))))
    what = "window-full-screen:"
    ui_ok(report, what)
    check(report.get("result") == "0", what + " result %s" % report.get("result"))
    check(os.listdir(out) == ["photo.jpg"], what + " wrote %s" % os.listdir(out))
    if os.path.exists(os.path.join(out, "photo.jpg")):
        check(jpeginfo_ok(os.path.join(out, "photo.jpg")), what + " jpeginfo")
    check(recorded_value(report, "Lmnc") == "50", what + " level recorded %s" % recorded_value(report, "Lmnc"))
    _, values = reg_values(wine)
    position = values.get("Window position", ("", ""))[1]
    x, y = struct.unpack("<ii", bytes.fromhex(position)) if len(position) == 16 else (None, None)
    check(x is not None and 0 < x < 1024 and y == 0, what + " window position stored %s, %s" % (x, y))
    for name in ("pixtune-full-screen.bmp", "pixtune-collapsed.bmp"):
        check_screenshot(os.path.join(artefacts, name), what)


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
    wine = Wine(args, args.prefix)
    stage, out, artefacts = window_stage(args, "window-crop", 160, 120)
    image = (160, 120)
    start = (20, 20, 60, 60)
    options = options_block(mode=3, fit=0, cut=0, width=64, height=48, crop=start)
    set_settings(wine, options)
    what = "window-crop:"
    # The crop view's size on this display, from a first look at the page.
    report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", "--script",
                       "fPin=TEXT:" + windows_path(out, folder=True), "--play", "display",
                       *ui("window:Pixtune", "tab:1", "tabis:1", "client:113", "press:2"))
    ui_ok(report, what)
    client = client_size(report, "113")
    check(client is not None and client[0] > 20 and client[1] > 20, what + " crop view size %s" % (client,))
    if not client:
        return
    set_settings(wine, options)

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
    shot = windows_path(os.path.join(artefacts, "pixtune-crop-view.bmp"))
    report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", *ui(
        "window:Pixtune", "tab:1", "tabis:1", *steps, "settle:", "press:1008", "settle:", "shot:" + shot,
        "click:1", "file:" + windows_path(os.path.join(out, "photo.jpg"))))
    ui_ok(report, what)
    check(report.get("result") == "0", what + " result %s" % report.get("result"))
    for key, value in zip(("tCvL", "tCvT", "tCvR", "tCvB"), crop):
        recorded = recorded_value(report, key)
        check(recorded is not None and abs(float(recorded) - value) < 1e-9,
              what + " %s recorded %s, expected %s" % (key, recorded, value))
    files = [os.path.join(out, "photo.jpg"), os.path.join(out, "th_photo.jpg")]
    check(sorted(os.listdir(out)) == ["photo.jpg", "th_photo.jpg"], what + " wrote %s" % os.listdir(out))
    thumb = files[1]
    if os.path.exists(thumb):
        check(jpeginfo_ok(thumb), what + " jpeginfo on the thumbnail")
        decoded = subprocess.run(["djpeg", "-pnm", thumb], stdout=subprocess.PIPE, check=True).stdout
        fields = decoded.split(maxsplit=3)
        # 10 x 40 percent of 160 x 120 is 16 x 48 pixels, inside 64 x 48.
        check((int(fields[1]), int(fields[2])) == (16, 48), what + " thumbnail %sx%s" % (fields[1], fields[2]))
    replay_matches(wine, stage, report, "Pixtunee.8be", files, what)
    check_screenshot(os.path.join(artefacts, "pixtune-crop-view.bmp"), what)


def case_window_source_view(args):
    """Press and hold on the image page's picture: the pane shows the host's
    own pixels; the release shows the reconstruction again."""
    wine = Wine(args, args.prefix)
    stage, out, _ = window_stage(args, "window-source-view", 160, 120)
    shutil.copy(os.path.join(args.tree, "platform", "plugin-host", "plugin-test-host-known.exe"), stage)
    set_settings(wine, options_block(mode=1))
    held, released = os.path.join(stage, "held.pnm"), os.path.join(stage, "released.pnm")
    report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", *ui(
        "window:Pixtune", "type:1010=20", "expect:1010=20", "press:1008", "settle:", "settle:",
        "dump:" + windows_path(held), "hold:1032=down", "exstyle:1032=20000", "noexstyle:1032=1",
        "settle:", "settle:", "dump:" + windows_path(released), "hold:1032=up", "exstyle:1032=1",
        "noexstyle:1032=20000", "settle:", "settle:", "dump:",
        "click:1", "file:" + windows_path(os.path.join(out, "photo.jpg"))), program="plugin-test-host-known.exe")
    what = "window-source-view:"
    ui_ok(report, what)
    check(report.get("result") == "0", what + " result %s" % report.get("result"))
    photo = os.path.join(out, "photo.jpg")
    if not all(os.path.exists(p) for p in (held, released, photo)):
        check(False, what + " missing %s" % [p for p in (held, released, photo) if not os.path.exists(p)])
        return
    _, _, _, source = read_pnm(os.path.join(stage, "image.pnm"))
    _, width, height, shown = read_pnm(held)
    check((width, height) == (160, 120) and shown == source, what + " held view is not the host's image")
    decoded = subprocess.run(["djpeg", "-nosmooth", "-pnm", photo], stdout=subprocess.PIPE, check=True).stdout
    peer = decoded.split(maxsplit=4)[4]
    _, _, _, back = read_pnm(released)
    check(back != source and len(back) == len(peer), what + " the release did not bring the preview back")
    if len(back) == len(peer):
        differences = [abs(a - b) for a, b in zip(back, peer)]
        check(max(differences) <= 4 and sum(differences) / len(differences) < 1,
              what + " released view differs from djpeg: max %d" % max(differences))


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
    """Every allocation of an interactive export made to fail in turn, under
    a host Pixtune knows: the export ends as a failure the host reports,
    nothing is written while the window is open, Pixtune leaves no block
    behind and the host's bitmap comes back as it was handed over."""
    wine = Wine(args, args.prefix)
    stage, out, _ = window_stage(args, "window-alloc-failure", 96, 64)
    shutil.copy(os.path.join(args.tree, "platform", "plugin-host", "plugin-test-host-known.exe"), stage)
    steps = ui("window:Pixtune", "type:1010=40", "expect:1011=40", "press:1008", "settle:", "tab:1", "tabis:1",
               "press:1008", "settle:", "click:1", "file:" + windows_path(os.path.join(out, "photo.jpg")))
    what = "window-alloc-failure:"

    objdump = "x86_64-w64-mingw32-objdump" if args.bits == "64" else "i686-w64-mingw32-objdump"
    runtime = runtime_allocation_sites(objdump, os.path.join(args.tree, "jpeg", "win32", "Pixtune.dll"))
    check(len(runtime) > 3, what + " runtime allocation calls found: %d" % len(runtime))

    def run(*extra):
        fresh_dir(out)
        extra += ("--alloc-runtime", ",".join(runtime))
        set_settings(wine, options_block(mode=3, width=40, height=30))
        return wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", *extra, *steps,
                         program="plugin-test-host-known.exe")

    clean = run("--alloc-probe")
    ui_ok(clean, what + " clean run")
    check(clean.get("alloc.installed") == "1", what + " probe not installed")
    check(clean.get("result") == "0" and sorted(os.listdir(out)) == ["photo.jpg", "th_photo.jpg"],
          what + " clean run gives %s, wrote %s" % (clean.get("result"), os.listdir(out)))
    check(clean.get("alloc.live") == "0", what + " clean run leaves %s blocks" % clean.get("alloc.live"))
    check(clean.get("bitmap.compared") == "1" and clean.get("bitmap.changed") == "0",
          what + " clean run: bitmap compared %s changed %s" % (clean.get("bitmap.compared"),
                                                                clean.get("bitmap.changed")))
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
        written = sorted(os.listdir(out))
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
        check(report.get("alloc.live") == "0", where + " leaves %s blocks" % report.get("alloc.live"))
        check(report.get("bitmap.compared") == "1" and report.get("bitmap.changed") == "0",
              where + " bitmap compared %s changed %s" % (report.get("bitmap.compared"),
                                                          report.get("bitmap.changed")))
        check(report.get("handles.leaked") == "0", where + " host handles leaked")
        check(report.get("problems") == "0", where + " host saw misuse: " +
              "; ".join(v for k, v in report.items() if k.startswith("problem.")))
    print("allocation failures: " + ", ".join("%d:%s" % item for item in sorted(outcomes.items())))
    check(list(outcomes.values()).count("-30200") > len(chosen) // 2, what + " too few failures ended the window")


# ---------------------------------------------------------------- window drag

def case_window_drag(args):
    """In full screen the window is dragged by the tab control's empty strip
    and its position saved; a drag that starts on a tab, or in the normal
    window, moves nothing."""
    wine = Wine(args, args.prefix)
    stage, out, _ = window_stage(args, "window-drag", 160, 120)
    set_settings(wine, options_block(mode=1))
    wine.run("reg", "add", SETTINGS_KEY, "/v", "Window position", "/t", "REG_BINARY", "/d",
             struct.pack("<ii", 100, 50).hex(), "/f")
    # Right of the last tab, in the tabs' own row.
    empty = "drag:1074=6r,6>-4r,11>-24r,26"
    report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", *ui(
        "window:Pixtune", empty, "settle:", "tabis:0",
        "click:1049", "window:Pixtune", "shown:1050=1", empty, "settle:", "tabis:0",
        # On a tab the press is the tab control's own: it picks the tab and
        # the window stays.
        "drag:1074=20,10>50,30", "settle:", "tabis:0",
        "click:1", "file:" + windows_path(os.path.join(out, "photo.jpg"))))
    what = "window-drag:"
    ui_ok(report, what)
    check(report.get("result") == "0", what + " result %s" % report.get("result"))
    _, values = reg_values(wine)
    position = values.get("Window position", ("", ""))[1]
    x, y = struct.unpack("<ii", bytes.fromhex(position)) if len(position) == 16 else (None, None)
    check((x, y) == (130, 70), what + " window position stored %s, %s, expected 130, 70" % (x, y))


# ---------------------------------------------------------------- labels

def case_window_labels(args):
    """Every label and one-line edit of the window, both pages and the
    options dialog shows its whole text."""
    wine = Wine(args, args.prefix)
    stage, out, artefacts = window_stage(args, "window-labels", 1000, 800)
    # Wide values in the edits: levels 255, sharpen 100, a thumbnail the
    # size of a 1000 x 800 image.
    set_settings(wine, options_block(mode=3, width=1000, height=800), image=(255, 255, 0, 100),
                 thumb=(255, 255, 0, 100))
    shot = windows_path(os.path.join(artefacts, "pixtune-labels-thumbnail-page.bmp"))
    # Fit off: the radio buttons under it are disabled, drawn embossed.
    report = wine.host(stage, "Pixtunee.8be", "--image", "image.pnm", "--script",
                       "fPin=TEXT:" + windows_path(out, folder=True), "--play", "display", *ui(
                           "window:Pixtune", "tabis:0", "settle:", "fits:image", "tab:1", "tabis:1", "settle:",
                           "enabled:1083=0", "fits:thumbnail", "shot:" + shot, "click:1061", "window:Options",
                           "fits:options", "press:2", "window:Pixtune", "press:2"))
    what = "window-labels:"
    ui_ok(report, what)
    for name in ("image", "thumbnail", "options"):
        key = next((k for k in report if k.startswith("ui.") and k.endswith(".fits." + name)), None)
        check(key is not None, what + " %s not measured" % name)
        if key:
            check(report[key] == "", what + " %s labels cut short: %s" % (name, report[key]))


# ---------------------------------------------------------------- real input

def xdotool(*arguments):
    result = subprocess.run(["xdotool"] + list(arguments), stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    return result.returncode, result.stdout.decode().split()


def wait_for_x_window(name, seconds=60):
    """The X window Wine made for a top-level window with this title."""
    import time
    deadline = time.time() + seconds
    while time.time() < deadline:
        code, found = xdotool("search", "--onlyvisible", "--name", "^%s$" % re.escape(name))
        if code == 0 and found:
            return found[-1]
        time.sleep(0.2)
    return None


def case_window_real_input(args):
    """One export driven through the X server, as a person would, on the
    thumbnail page: the luminance level typed after its mnemonic, the width
    and height changed by clicks on their spin arrows and by Up and Down in
    their edits, up to the ends of their ranges (10 .. the image's size),
    Enter for OK, the name typed into the save dialog; a screenshot of the
    screen kept."""
    import threading
    import time
    if not shutil.which("xdotool") or not shutil.which("import"):
        check(False, "window-real-input: xdotool and ImageMagick's import are needed")
        return
    wine = Wine(args, args.prefix)
    stage, out, artefacts = window_stage(args, "window-real-input", 160, 120)
    # Thumbnail only: the window opens on the thumbnail page.
    set_settings(wine, options_block(mode=2, width=150, height=14))
    what = "window-real-input:"
    host = subprocess.Popen([wine.exec, wine.bits, wine.prefix, "plugin-test-host.exe", "Pixtunee.8be", "--image",
                             "image.pnm", "--guard-freed", *ui("window:Pixtune", "tabis:1", "settle:", "screen:1005",
                                                               "screen:1006")],
                            cwd=stage, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    lines = []
    reader = threading.Thread(target=lambda: lines.extend(host.stdout), daemon=True)
    reader.start()

    def spin(control):
        """The centres of the up and down arrows of a spin control, from its
        place on the screen as the host reports it."""
        deadline = time.time() + 60
        while time.time() < deadline:
            for line in list(lines):
                name, _, value = line.decode("latin-1").strip().partition("=")
                if name.startswith("ui.") and name.endswith(".screen.%d" % control):
                    left, top, right, bottom = (int(v) for v in value.split(","))
                    x = (left + right) // 2
                    return (x, top + (bottom - top) // 4), (x, bottom - (bottom - top) // 4)
            time.sleep(0.1)
        return None

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
            xdotool("key", "--window", window, "--delay", "80", "alt+e", *["Down"] * 5)
            time.sleep(1.5)  # the preview delay and a compression, seen on the screenshot only
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
    report = {}
    for line in lines:
        name, _, value = line.decode("latin-1").partition("=")
        report[name.strip()] = value.rstrip("\r\n")
    check(report.get("result") == "0", what + " result %s" % report.get("result"))
    check(os.listdir(out) == ["th_typed.jpg"], what + " wrote %s" % os.listdir(out))
    thumb = os.path.join(out, "th_typed.jpg")
    if os.path.exists(thumb):
        check(jpeginfo_ok(thumb), what + " jpeginfo")
        fields = subprocess.run(["djpeg", "-pnm", thumb], stdout=subprocess.PIPE, check=True).stdout.split(maxsplit=3)
        # 160 x 120 kept in proportion inside 160 x 10.
        check((int(fields[1]), int(fields[2])) == (13, 10), what + " thumbnail %sx%s" % (fields[1], fields[2]))
    for key, value in (("tLum", "40"), ("tMbw", "160"), ("tMbh", "10")):
        check(recorded_value(report, key) == value,
              what + " %s recorded %s, expected %s" % (key, recorded_value(report, key), value))
    _, values = reg_values(wine)
    stored = values.get("Plugin options", ("", ""))[1]
    check(len(stored) == 112 and struct.unpack("<HH", bytes.fromhex(stored[104:112])) == (160, 10),
          what + " thumbnail size stored %s" % stored[104:112])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=["exports", "scripted", "settings", "edges", "export-interrupted",
                                         "window-export",
                                         "window-thumbnail", "window-grey", "window-cancel",
                                         "window-full-screen", "window-known-host", "window-crop",
                                         "window-source-view", "window-alloc-failure", "window-drag",
                                         "window-labels", "window-real-input"])
    parser.add_argument("--tree", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--bits", default="64")
    parser.add_argument("--prefix")
    parser.add_argument("--scratch")
    parser.add_argument("--objdump")
    parser.add_argument("--other-tree")
    parser.add_argument("--other-objdump")
    args = parser.parse_args()
    if args.scratch:
        os.makedirs(args.scratch, exist_ok=True)
    if args.case != "exports" and not shutil.which("jpeginfo"):
        print("jpeginfo is missing")
        return 1
    {"exports": case_exports, "scripted": case_scripted, "settings": case_settings, "edges": case_edges,
     "export-interrupted": case_export_interrupted,
     "window-export": case_window_export, "window-thumbnail": case_window_thumbnail,
     "window-grey": case_window_grey, "window-cancel": case_window_cancel,
     "window-full-screen": case_window_full_screen, "window-known-host": case_window_known_host,
     "window-crop": case_window_crop, "window-source-view": case_window_source_view,
     "window-alloc-failure": case_window_alloc_failure, "window-drag": case_window_drag,
     "window-labels": case_window_labels, "window-real-input": case_window_real_input}[args.case](args)
    print("%d failure(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
