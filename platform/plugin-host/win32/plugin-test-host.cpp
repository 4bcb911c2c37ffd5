// The test host: loads one plug-in as an image editor would, checks its
// property list and scripting dictionary, runs the editor's selector
// sequence over an image from a PNM file, serves and counts every
// callback, plays a scripted descriptor and prints what happened as
// "name=value" lines on standard output.
//
//   plugin-test-host <plug-in> [--image file.pnm] [--mode n] [--title text]
//       [--script Key=type:value]... [--play display|dontdisplay|silent]
//       [--selectors s,s,...] [--handle-procs n] [--no-properties]
//       [--max-data n] [--active-window] [--answer ok|cancel|file=path]...
//       [--ui step]... [--display-dump file.pnm]
//       [--alloc-probe] [--fail-alloc n] [--alloc-runtime offset,...]
//       [--guard-freed]
//
// --ui steps drive the plug-in's windows from inside this thread (see
// ui-script.h); their results are the "ui.*" lines. --alloc-probe watches
// Pixtune's global memory and the bitmap the adapter hands it (see
// allocation-probe.h; "alloc.*" and "bitmap.*" lines); --fail-alloc n makes
// Pixtune's n-th allocation fail; --alloc-runtime names the runtime's own
// allocation calls in Pixtune, which are left alone. --guard-freed makes
// every read or write of a heap block Pixtune has freed end the run with
// "alloc.freed.touched=<offset of the instruction>" and exit code 4.
// Without --selectors a filter runs prepare, start, continue while it
// asks for data, finish; an export prepare, start, continue, finish. The
// exit code is 0 when the report could be written, whatever the results.
#include "platform/plugin-host/core/plugin-resources.h"
#include "platform/plugin-host/win32/allocation-probe.h"
#include "platform/plugin-host/win32/dialog-answers.h"
#include "platform/plugin-host/win32/host-callbacks.h"
#include "platform/plugin-host/win32/ui-script.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace plugin_host;

namespace {

struct Options {
  std::string plugin, imagePath, title = "photo.tif";
  int mode = -1;
  plugin::DescriptorItems script;
  std::int16_t playInfo = plugin::plugInDialogDontDisplay;
  bool playGiven = false;
  std::vector<int> selectors;
  std::int16_t handleProcCount = 6;
  bool withProperties = true;
  bool activeWindow = false;
  std::int32_t maxData = 1000001;
  std::vector<std::string> answers;
  std::vector<std::string> uiSteps;
  std::string displayDump;
  bool allocationProbe = false;
  bool guardFreed = false;
  int failAllocation = 0;
  std::set<std::uintptr_t> runtimeSites;
};

// Each line leaves at once: a test may act on it while the plug-in runs.
void report(const std::string &name, const std::string &value) {
  std::printf("%s=%s\n", name.c_str(), value.c_str());
  std::fflush(stdout);
}

std::vector<int> numberList(const std::string &text) {
  std::vector<int> numbers;
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ','))
    numbers.push_back(std::atoi(item.c_str()));
  return numbers;
}

bool parseOptions(int argc, char **argv, Options &o) {
  if (argc < 2)
    return false;
  o.plugin = argv[1];
  for (int i = 2; i < argc; ++i) {
    std::string arg = argv[i];
    bool more = i + 1 < argc;
    if (arg == "--no-properties") {
      o.withProperties = false;
      continue;
    }
    if (arg == "--alloc-probe") {
      o.allocationProbe = true;
      continue;
    }
    if (arg == "--guard-freed") {
      o.allocationProbe = o.guardFreed = true;
      continue;
    }
    if (arg == "--active-window") {
      o.activeWindow = true;
      continue;
    }
    if (!more)
      return false;
    std::string value = argv[++i];
    if (arg == "--image") {
      o.imagePath = value;
    } else if (arg == "--mode") {
      o.mode = std::atoi(value.c_str());
    } else if (arg == "--title") {
      o.title = value;
    } else if (arg == "--script") {
      plugin::DescriptorItem item;
      if (!plugin::ParseDescriptorItem(value, item))
        return false;
      o.script.push_back(item);
    } else if (arg == "--play") {
      o.playGiven = true;
      o.playInfo = value == "display"  ? plugin::plugInDialogDisplay
                   : value == "silent" ? plugin::plugInDialogSilent
                                       : plugin::plugInDialogDontDisplay;
    } else if (arg == "--selectors") {
      o.selectors = numberList(value);
    } else if (arg == "--handle-procs") {
      o.handleProcCount = static_cast<std::int16_t>(std::atoi(value.c_str()));
    } else if (arg == "--max-data") {
      o.maxData = std::atoi(value.c_str());
    } else if (arg == "--answer") {
      o.answers.push_back(value);
    } else if (arg == "--display-dump") {
      o.displayDump = value;
    } else if (arg == "--alloc-runtime") {
      std::stringstream in(value);
      std::string site;
      while (std::getline(in, site, ','))
        o.runtimeSites.insert(
            static_cast<std::uintptr_t>(std::strtoull(site.c_str(), nullptr, 16)));
    } else if (arg == "--fail-alloc") {
      o.allocationProbe = true;
      o.failAllocation = std::atoi(value.c_str());
    } else if (arg == "--ui") {
      o.uiSteps.push_back(value);
    } else {
      return false;
    }
  }
  return true;
}

// Binary PGM (grey) or PPM (RGB) with 8-bit samples.
bool readPnm(const std::string &path, HostImage &image) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxValue = 0;
  if (!(in >> magic >> image.width >> image.height >> maxValue) || maxValue != 255 ||
      (magic != "P5" && magic != "P6") || image.width < 1 || image.height < 1 ||
      image.width > 20000 || image.height > 20000)
    return false;
  in.get();
  image.planes = magic == "P5" ? 1 : 3;
  image.mode = magic == "P5" ? plugin::plugInModeGrayScale : plugin::plugInModeRGBColor;
  image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * image.planes);
  in.read(reinterpret_cast<char *>(image.pixels.data()),
          static_cast<std::streamsize>(image.pixels.size()));
  return static_cast<std::size_t>(in.gcount()) == image.pixels.size();
}

// Serves the image in another mode: its planes repeated to the mode's
// count (a CMYK image gets four).
void forceMode(HostImage &image, int mode) {
  static const std::int16_t planesByMode[] = {1, 1, 1, 3, 4};
  std::int16_t planes = mode >= 0 && mode <= 4 ? planesByMode[mode] : 1;
  std::vector<std::uint8_t> pixels;
  std::size_t count = static_cast<std::size_t>(image.width) * image.height;
  for (std::size_t i = 0; i < count; ++i)
    for (int p = 0; p < planes; ++p)
      pixels.push_back(image.pixels[i * image.planes + static_cast<std::size_t>(p % image.planes)]);
  image.pixels = pixels;
  image.planes = planes;
  image.mode = static_cast<std::int16_t>(mode);
}

std::vector<std::uint8_t> resourceBytes(HMODULE module, const char *type) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(16000), type);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const auto *data = loaded ? static_cast<const std::uint8_t *>(LockResource(loaded)) : nullptr;
  if (!data)
    return {};
  return std::vector<std::uint8_t>(data, data + SizeofResource(module, found));
}

// Reports the property list and dictionary; returns the entry point name.
std::string checkResources(HMODULE module) {
  std::vector<std::uint8_t> pipl = resourceBytes(module, "PiPL");
  plugin::PropertyList list;
  std::string error;
  if (!plugin::ParsePropertyList(pipl.data(), pipl.size(), list, error)) {
    report("pipl", pipl.empty() ? "missing" : "bad: " + error);
    return std::string();
  }
  report("pipl", "ok");
  std::string keys;
  for (plugin::OSType key : list.keys)
    keys += (keys.empty() ? "" : ",") + plugin::fourCCText(key);
  report("pipl.keys", keys);
  report("pipl.kind", plugin::fourCCText(list.kind));
  report("pipl.name", list.name);
  report("pipl.category", list.category);
  report("pipl.version",
         std::to_string(list.version >> 16) + "." + std::to_string(list.version & 0xFFFF));
  report("pipl.entry.x86", list.entryX86);
  report("pipl.entry.x64", list.entryX64);
  report("pipl.modes.grey", list.modes & plugin::modeFlagGrayScale ? "1" : "0");
  report("pipl.modes.rgb", list.modes & plugin::modeFlagRGBColor ? "1" : "0");
  report("pipl.enable", list.enableRule);
  report("pipl.event",
         plugin::fourCCText(list.eventClass) + "/" + plugin::fourCCText(list.eventId));
  report("pipl.dictionary", std::to_string(list.dictionaryId));
  report("pipl.scope", list.scope);

  std::vector<std::uint8_t> aete = resourceBytes(module, "aete");
  plugin::ScriptingDictionary dictionary;
  if (!plugin::ParseScriptingDictionary(aete.data(), aete.size(), dictionary, error)) {
    report("aete", aete.empty() ? "missing" : "bad: " + error);
  } else {
    report("aete", "ok");
    report("aete.event", plugin::fourCCText(dictionary.eventClass) + "/" +
                             plugin::fourCCText(dictionary.eventId));
    std::string parameters;
    for (const plugin::DictionaryParameter &p : dictionary.parameters)
      parameters += (parameters.empty() ? "" : ",") + plugin::fourCCText(p.key) + ":" +
                    plugin::fourCCText(p.type);
    report("aete.parameters", parameters);
  }
  return sizeof(void *) == 8 ? list.entryX64 : list.entryX86;
}

std::string rectText(const plugin::PlugInRect &r) {
  return std::to_string(r.top) + "," + std::to_string(r.left) + "," + std::to_string(r.bottom) +
         "," + std::to_string(r.right);
}

bool isEmpty(const plugin::PlugInRect &r) { return r.top == r.bottom || r.left == r.right; }

struct Run {
  plugin::PlugInEntry entry;
  std::intptr_t data = 0;
  int calls = 0;
  std::int16_t firstError = 0;

  std::int16_t call(std::int16_t selector, void *record) {
    std::int16_t result = 12345; // must be overwritten
    entry(selector, record, &data, &result);
    report("call." + std::to_string(calls++),
           std::to_string(selector) + ":" + std::to_string(result));
    if (result != 0 && firstError == 0)
      firstError = result;
    return result;
  }
};

std::vector<int> defaultSequence(bool filter) {
  return filter ? std::vector<int>{2, 3, 4, 5} : std::vector<int>{4, 1, 2, 3};
}

// Runs the selectors; continue repeats while the plug-in still asks for data.
void runSequence(Run &run, const Options &o, bool filter, void *record,
                 const plugin::PlugInRect &request) {
  std::vector<int> sequence = o.selectors.empty() ? defaultSequence(filter) : o.selectors;
  int continueSelector = filter ? plugin::filterSelectorContinue : plugin::exportSelectorContinue;
  for (int selector : sequence) {
    std::int16_t result = run.call(static_cast<std::int16_t>(selector), record);
    for (int rounds = 0; o.selectors.empty() && result == 0 && selector == continueSelector &&
                         !isEmpty(request) && rounds < 100;
         ++rounds)
      result = run.call(static_cast<std::int16_t>(selector), record);
    if (result != 0 && o.selectors.empty())
      break; // an editor stops at the first error
  }
}

int runHost(const Options &o) {
  HostImage image;
  if (!o.imagePath.empty() && !readPnm(o.imagePath, image)) {
    report("image", "unreadable");
    return 2;
  }
  if (o.mode >= 0)
    forceMode(image, o.mode);

  HMODULE module = LoadLibraryA(o.plugin.c_str());
  if (!module) {
    report("load", "failed");
    report("load.error", std::to_string(GetLastError()));
    return 0;
  }
  report("load", "ok");
  std::string entryName = checkResources(module);
  auto entry = reinterpret_cast<plugin::PlugInEntry>(reinterpret_cast<void *>(
      GetProcAddress(module, entryName.empty() ? "ENTRYPOINT" : entryName.c_str())));
  report("entry", entry ? "ok" : "missing");
  if (!entry) {
    FreeLibrary(module);
    return 0;
  }
  std::unique_ptr<AllocationProbe> probe;
  if (o.allocationProbe) {
    probe.reset(new AllocationProbe(module, GetModuleHandleA("Pixtune.dll"), o.failAllocation,
                                    o.runtimeSites, o.guardFreed));
    report("alloc.installed", probe->Installed() ? "1" : "0");
  }
  bool filter =
      o.plugin.size() >= 4 && _stricmp(o.plugin.c_str() + o.plugin.size() - 4, ".8bf") == 0;

  HWND window = CreateWindowExA(0, "STATIC", "Plug-in test host", WS_OVERLAPPEDWINDOW, 0, 0, 320,
                                240, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  // Shown and active on request only (plug-ins that look for the active
  // window); a hidden window keeps the runs fast under Xvfb.
  if (o.activeWindow) {
    ShowWindow(window, SW_SHOWNORMAL);
    SetActiveWindow(window);
  }
  plugin::PlatformData platform = {reinterpret_cast<std::intptr_t>(window)};
  {
    HostCallbacks callbacks(image, o.handleProcCount, o.withProperties);
    callbacks.setTitle(o.title);
    callbacks.displayDumpPath = o.displayDump;
    callbacks.setPlayback(o.script, o.playGiven
                                        ? o.playInfo
                                        : (o.script.empty() ? plugin::plugInDialogDisplay
                                                            : plugin::plugInDialogDontDisplay));
    DialogAnswers answers(o.answers);
    UiScript ui(o.uiSteps, report);
    ui.OnDumpPath([&callbacks](const std::string &path) { callbacks.displayDumpPath = path; });
    Run run{entry};

    plugin::FilterRecord filterRecord = {};
    plugin::ExportRecord exportRecord = {};
    std::uint8_t filenameBefore[256];
    if (filter) {
      filterRecord.imageWidth = image.width;
      filterRecord.imageHeight = image.height;
      filterRecord.imageMode = image.mode;
      filterRecord.planes = image.planes;
      filterRecord.maxSpace = o.maxData;
      filterRecord.advanceState = HostCallbacks::advanceStateProc;
      filterRecord.progressProc = HostCallbacks::progressProc;
      filterRecord.displayPixels = HostCallbacks::displayPixelsProc;
      filterRecord.platformData = &platform;
      filterRecord.handleProcs = callbacks.handleProcs();
      filterRecord.propertyProcs = callbacks.propertyProcs();
      filterRecord.descriptorParameters = callbacks.descriptorParameters();
      callbacks.serveRecord(&filterRecord.inRect, &filterRecord.inLoPlane, &filterRecord.inHiPlane,
                            &filterRecord.inData, &filterRecord.inRowBytes);
      runSequence(run, o, true, &filterRecord, filterRecord.inRect);
      report("record.inRect", rectText(filterRecord.inRect));
      report("record.outRect", rectText(filterRecord.outRect));
      report("record.maskRect", rectText(filterRecord.maskRect));
    } else {
      exportRecord.imageWidth = image.width;
      exportRecord.imageHeight = image.height;
      exportRecord.imageMode = image.mode;
      exportRecord.planes = image.planes;
      exportRecord.maxData = o.maxData;
      // The name fills the field without a terminator; the rest is noise
      // that a plug-in reading past the length would pick up.
      std::memset(exportRecord.filename, 'X', sizeof exportRecord.filename);
      std::size_t length = o.title.size() < 255 ? o.title.size() : 255;
      exportRecord.filename[0] = static_cast<std::uint8_t>(length);
      std::memcpy(exportRecord.filename + 1, o.title.data(), length);
      std::memcpy(filenameBefore, exportRecord.filename, sizeof filenameBefore);
      exportRecord.advanceState = HostCallbacks::advanceStateProc;
      exportRecord.progressProc = HostCallbacks::progressProc;
      exportRecord.displayPixels = HostCallbacks::displayPixelsProc;
      exportRecord.platformData = &platform;
      exportRecord.handleProcs = callbacks.handleProcs();
      exportRecord.propertyProcs = callbacks.propertyProcs();
      exportRecord.descriptorParameters = callbacks.descriptorParameters();
      callbacks.serveRecord(&exportRecord.theRect, &exportRecord.loPlane, &exportRecord.hiPlane,
                            &exportRecord.data, &exportRecord.rowBytes);
      runSequence(run, o, false, &exportRecord, exportRecord.theRect);
      report("record.theRect", rectText(exportRecord.theRect));
      report("record.maxData", std::to_string(exportRecord.maxData));
      report("record.filename_intact",
             std::memcmp(filenameBefore, exportRecord.filename, sizeof filenameBefore) == 0 ? "1"
                                                                                            : "0");
    }
    report("result", std::to_string(run.firstError));
    if (!o.uiSteps.empty())
      ui.Finish();

    plugin::DescriptorItems recorded;
    if (callbacks.takeRecorded(recorded)) {
      std::string keys;
      for (std::size_t i = 0; i < recorded.size(); ++i) {
        keys += (i ? "," : "") + plugin::fourCCText(recorded[i].key);
        report("recorded." + std::to_string(i), plugin::FormatDescriptorItem(recorded[i]));
      }
      report("recorded.keys", keys);
      report("recorded.recordInfo", std::to_string(callbacks.descriptorParameters()->recordInfo));
    } else {
      report("recorded.keys", "");
    }
    for (const auto &count : callbacks.counts)
      report("count." + count.first, std::to_string(count.second));
    report("handles.leaked", std::to_string(callbacks.leakedHandles()));
    for (std::size_t i = 0; i < answers.answered().size(); ++i)
      report("dialog." + std::to_string(i), answers.answered()[i]);
    report("problems", std::to_string(callbacks.problems.size()));
    for (std::size_t i = 0; i < callbacks.problems.size(); ++i)
      report("problem." + std::to_string(i), callbacks.problems[i]);
  }
  if (probe) {
    report("alloc.calls", std::to_string(probe->Calls()));
    report("alloc.failed", probe->Failed() ? "1" : "0");
    report("alloc.live", std::to_string(probe->Live()));
    char offset[32];
    std::snprintf(offset, sizeof offset, "%llx",
                  static_cast<unsigned long long>(probe->FailedCaller()));
    if (probe->Failed())
      report("alloc.failed.at", offset);
    std::string callers;
    for (std::uintptr_t caller : probe->LiveCallers()) {
      std::snprintf(offset, sizeof offset, "%llx", static_cast<unsigned long long>(caller));
      callers += (callers.empty() ? "" : ",") + std::string(offset);
    }
    report("alloc.live.at", callers);
    report("bitmap.watched", probe->Watched() ? "1" : "0");
    report("bitmap.compared", probe->Compared() ? "1" : "0");
    report("bitmap.changed", probe->Changed() ? "1" : "0");
    probe.reset();
  }
  DestroyWindow(window);
  FreeLibrary(module);
  report("unload", "ok");
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  Options options;
  if (!parseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: plugin-test-host <plug-in> [--image file.pnm] [--mode n] [--title text]\n"
                 "  [--script Key=type:value]... [--play display|dontdisplay|silent]\n"
                 "  [--selectors s,...] [--handle-procs n] [--no-properties] [--max-data n]\n"
                 "  [--active-window]\n"
                 "  [--answer ok|cancel|file=path]... [--ui step]... [--display-dump file.pnm]\n"
                 "  [--alloc-probe] [--fail-alloc n] [--alloc-runtime offset,...]\n"
                 "  [--guard-freed]\n");
    return 2;
  }
  try {
    int code = runHost(options);
    std::fflush(stdout);
    return code;
  } catch (const std::exception &error) {
    std::fprintf(stderr, "plugin-test-host: %s\n", error.what());
    return 3;
  }
}
