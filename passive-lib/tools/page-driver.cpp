// Runs a page description on the stand-in drawing host with the real
// QorSim and QorLib01 (and QorLib02 for the semiconductor parts), as a
// person would build it: component shapes are dropped through the
// stencil's drop macro, wired, and the page's work event numbers, solves
// and labels them. Prints each part's ID, label and shown results, then the
// texts of its PARAMS items, then the voltage of every net.
//
//   page-driver <page file> <QorSim.dll> <QorLib01.dll> [<QorLib02.dll>] [--time]
//
// With --time it prints instead of the parts how long the drop (with the
// controls' binding), the first work event and a second solve with
// nothing changed took, and how many cells, texts and layers that second
// solve wrote.
//
// A page file has one statement a line ("#" starts a comment):
//   part <name> <kind> <x>     kind: ground, rail, resistor, inductor,
//                              capacitor or source; with QorLib02 also
//                              diode (pins A, K), npn or pnp (C, B, E)
//   set <name> <item> <text>   the TEXT of a PARAMS item, before the solve
//   wire <name>.<pin> <name>.<pin>
//   show <name>                the part's properties window opened after
//                              the solve (ShowProperties, modal: a person
//                              or a script typing into it ends it)
//
// After each part's line come its PARAMS items as "item <part> <name>
// <text>", the text being what the component holds (TEXT, else DEFAULT),
// and the SPICE net of each of its pins as "pin <part>.<pin> <net>".
#include "QorLib01.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-ptr.h"
#include "platform/base/win32/variant.h"
#include "platform/drawing-host/win32/stand-in-host.h"
#include "platform/xml/core/xml-document.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using base::Bstr;
using base::ComPtr;

struct Kind {
  const char *word, *progId;
  const char *pins[3];
  bool semiconductor;
};
const Kind kinds[] = {
    {"ground", "QOR.GndOcx", {"A"}, false},
    {"rail", "QOR.PwrOcx", {"A"}, false},
    {"resistor", "QOR.ResOcx", {"A", "B"}, false},
    {"inductor", "QOR.IndOcx", {"A", "B"}, false},
    {"capacitor", "QOR.CapOcx", {"A", "B"}, false},
    {"source", "QOR.VdcOcx", {"P", "M"}, false},
    {"diode", "QOR.DiodeOcx", {"A", "K"}, true},
    {"npn", "QOR.BjtNpnOcx", {"C", "B", "E"}, true},
    {"pnp", "QOR.BjtPnpOcx", {"C", "B", "E"}, true},
};

struct Part {
  std::string name;
  const Kind *kind = nullptr;
  drawhost::Shape *shape = nullptr;
  ComPtr<IQorOcx> ocx;
  ComPtr<IQorOcx2> data;
  std::vector<std::pair<std::string, std::string>> settings;
};

using ServerCall = HRESULT(WINAPI *)();

HRESULT callExport(HMODULE module, const char *name) {
  auto call =
      reinterpret_cast<ServerCall>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
  return call ? call() : E_NOTIMPL;
}

double seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string visible(std::string text) {
  for (char &c : text)
    if (c == '\n')
      c = '|';
  return text;
}

bool fail(const std::string &message) {
  std::fprintf(stderr, "page-driver: %s\n", message.c_str());
  return false;
}

class Driver {
public:
  bool load(const char *path) {
    std::ifstream in(path);
    if (!in)
      return fail(std::string("cannot read ") + path);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
      ++number;
      std::istringstream words(line.substr(0, line.find('#')));
      std::string verb;
      if (!(words >> verb))
        continue;
      if (!statement(verb, words))
        return fail("line " + std::to_string(number) + ": " + line);
    }
    return true;
  }

  bool timed = false;
  bool semiconductors = false; // QorLib02 is loaded

  bool run() {
    document_ = host_.addDocument("C:\\Pages\\", "Page.vsd");
    page_ = document_->addPage("Page-1");
    if (FAILED(CoCreateInstance(CLSID_QorLib, nullptr, CLSCTX_INPROC_SERVER, IID_IQorLib,
                                lib_.receiveVoid())))
      return fail("QorLib is not registered");
    std::vector<drawhost::Shape *> shapes;
    double x = 0;
    for (Part &part : parts_) {
      part.shape = componentShape(part, x += 1);
      shapes.push_back(part.shape);
    }
    host_.setActiveWindow(page_, shapes);
    const double dropStart = seconds();
    if (lib_->CompOnDrop(host_.activeWindow()) != S_OK)
      return fail("the drop macro failed");
    const double dropTime = seconds() - dropStart;
    for (Part &part : parts_) {
      for (const auto &member : part.shape->members()) {
        ComPtr<IUnknown> object;
        member->get_Object(object.receive());
        if (object) {
          part.ocx = object.query<IQorOcx>();
          part.data = object.query<IQorOcx2>();
        }
      }
      if (!part.ocx || !part.data)
        return fail(part.name + " got no control");
      if (!applySettings(part))
        return false;
    }
    for (const auto &wire : wires_) {
      drawhost::Shape *connector = page_->addShape(3, "Wire." + std::to_string(++count_));
      connector->setOneD(true);
      page_->glue(connector, 9, wire[0].first->shape, wire[0].second);
      page_->glue(connector, 12, wire[1].first->shape, wire[1].second);
    }
    const double workStart = seconds();
    host_.fireIdle();
    const double workTime = seconds() - workStart;
    for (const std::string &name : shown_)
      if (FAILED(find(name)->ocx->ShowProperties()))
        return fail(name + "'s properties failed");
    if (!timed)
      return report();
    ComPtr<IQorSimRoot> root;
    ComPtr<IQorSimCkt> circuit;
    if (FAILED(CoCreateInstance(CLSID_SimRoot, nullptr, CLSCTX_INPROC_SERVER, IID_IQorSimRoot,
                                root.receiveVoid())) ||
        FAILED(root->FindSim(page_, circuit.receive())) || !circuit)
      return fail("no circuit for the page");
    const std::size_t recorded = host_.record().size();
    const double againStart = seconds();
    if (circuit->SolveDC() != S_OK)
      return fail("the second solve failed");
    const double againTime = seconds() - againStart;
    int writes = 0;
    for (std::size_t i = recorded; i < host_.record().size(); ++i) {
      const std::string &line = host_.record()[i];
      for (const char *prefix : {"Formula", "SetFormulas", "Text ", "DrawRectangle", "  batch"})
        if (line.rfind(prefix, 0) == 0) {
          ++writes;
          break;
        }
    }
    std::printf("components %zu\ndrop-and-bind %.3f s\nfirst-work-event %.3f s\n"
                "second-solve %.3f s\nsecond-solve-writes %d\n",
                parts_.size(), dropTime, workTime, againTime, writes);
    circuit->Quit();
    return writes == 0;
  }

private:
  bool statement(const std::string &verb, std::istringstream &words) {
    if (verb == "part") {
      Part part;
      std::string kind;
      double x;
      if (!(words >> part.name >> kind >> x) || find(part.name))
        return false;
      for (const Kind &k : kinds)
        if (kind == k.word && (semiconductors || !k.semiconductor))
          part.kind = &k;
      parts_.push_back(part);
      return part.kind != nullptr;
    }
    if (verb == "set") {
      std::string name, item, text;
      Part *part = nullptr;
      if (!(words >> name >> item >> text) || !(part = find(name)))
        return false;
      part->settings.emplace_back(item, text);
      return true;
    }
    if (verb == "show") {
      std::string name;
      if (!(words >> name) || !find(name))
        return false;
      shown_.push_back(name);
      return true;
    }
    if (verb == "wire") {
      std::string ends[2];
      if (!(words >> ends[0] >> ends[1]))
        return false;
      std::vector<std::pair<Part *, short>> wire;
      for (const std::string &end : ends) {
        const std::size_t dot = end.find('.');
        Part *part = dot == std::string::npos ? nullptr : find(end.substr(0, dot));
        if (!part)
          return false;
        const std::string pin = end.substr(dot + 1);
        short row = -1;
        for (short i = 0; i < 3; ++i)
          if (part->kind->pins[i] && pin == part->kind->pins[i])
            row = i;
        if (row < 0)
          return false;
        wire.emplace_back(part, row);
      }
      wires_.push_back({wire[0], wire[1]});
      return true;
    }
    return false;
  }

  Part *find(const std::string &name) {
    for (Part &part : parts_)
      if (part.name == name)
        return &part;
    return nullptr;
  }

  drawhost::Shape *componentShape(const Part &part, double x) {
    drawhost::Shape *shape = page_->addShape(2, part.name);
    shape->cell("User.QOR", true)->setQuietly(std::string("\"") + part.kind->progId + "\"");
    shape->cell("User.Error", true)->setQuietly("FALSE");
    shape->cell("User.BodyText", true)->setQuietly("\"\"");
    shape->cell("PinX", true)->setQuietly(std::to_string(x));
    shape->cell("PinY", true)->setQuietly("0");
    shape->addMember(3, "BODY")->cell("User.Flip", true)->setQuietly("FALSE");
    for (const char *pin : part.kind->pins) {
      if (!pin)
        continue;
      shape->addConnectionPoint(pin);
      shape->cell(std::string("Connections.") + pin + ".A", false)->setQuietly("FALSE");
    }
    return shape;
  }

  // The items' texts as the Parameters page would leave them.
  bool applySettings(Part &part) {
    if (part.settings.empty())
      return true;
    Bstr xml;
    part.data->get_DataStr1(xml.receive());
    std::string text = xml.toAnsi();
    for (const auto &[item, value] : part.settings) {
      const std::string key = "<ITEM NAME=\"" + item + "\"";
      const std::size_t at = text.find(key);
      if (at == std::string::npos)
        return fail(part.name + " has no item " + item);
      text.insert(at + key.size(), " TEXT=\"" + value + "\"");
    }
    return part.data->put_DataStr1(Bstr(text).get()) == S_OK;
  }

  bool report() {
    ComPtr<IQorSimRoot> root;
    if (FAILED(CoCreateInstance(CLSID_SimRoot, nullptr, CLSCTX_INPROC_SERVER, IID_IQorSimRoot,
                                root.receiveVoid())))
      return fail("QorSim is not registered");
    ComPtr<IQorSimCkt> circuit;
    if (FAILED(root->FindSim(page_, circuit.receive())) || !circuit)
      return fail("no circuit for the page");
    ComPtr<IQorSimDC> dc = circuit.query<IQorSimDC>();
    std::map<std::string, double> nets;
    for (const Part &part : parts_) {
      Bstr guid, partId;
      part.data->get_CompGUID(guid.receive());
      circuit->get_OcxMapPartID(guid.get(), partId.receive());
      std::string shown;
      for (const auto &member : part.shape->members()) {
        if (member->name() != "SHOW")
          continue;
        Bstr text;
        member->get_Text(text.receive());
        shown = text.toAnsi();
      }
      drawhost::Cell *label = part.shape->cell("User.BodyText", false);
      std::printf("part %s id %s label %s result %s mark \"%s\"\n", part.name.c_str(),
                  partId.toAnsi().empty() ? "-" : partId.toAnsi().c_str(),
                  visible(label ? label->formula() : "").c_str(), visible(shown).c_str(),
                  mark(part).c_str());
      printItems(part);
      for (const char *pin : part.kind->pins) {
        LONG index = -1;
        Bstr net;
        double value = 0;
        if (!pin || FAILED(circuit->IndexMapFind(Bstr(guid.toAnsi() + pin).get(), &index)) ||
            FAILED(circuit->get_SpiceNet(index, net.receive())) || !dc ||
            FAILED(dc->get_Solution(index, &value)))
          continue;
        std::printf("pin %s.%s %s\n", part.name.c_str(), pin, net.toAnsi().c_str());
        if (net.toAnsi() != "0")
          nets[net.toAnsi()] = value;
      }
    }
    for (const auto &[net, value] : nets)
      std::printf("net %s %.17g\n", net.c_str(), value);
    circuit->Quit();
    return true;
  }

  static void printItems(const Part &part) {
    Bstr text;
    part.data->get_DataStr1(text.receive());
    xml::Document document;
    xml::ParseError error;
    if (!document.load(text.toAnsi(), error) || !document.root()) {
      std::printf("item %s - unreadable\n", part.name.c_str());
      return;
    }
    const xml::Element *params = document.root()->child("PARAMS");
    for (const xml::Element *item : params ? params->children() : std::vector<xml::Element *>()) {
      const std::string value =
          item->getAttribute("TEXT").value_or(item->getAttribute("DEFAULT").value_or(""));
      std::printf("item %s %s %s\n", part.name.c_str(),
                  item->getAttribute("NAME").value_or("-").c_str(), value.c_str());
    }
  }

  static std::string mark(const Part &part) {
    Bstr text;
    part.ocx->get_ErrorMark(text.receive());
    return text.toAnsi();
  }

  drawhost::StandInHost host_;
  drawhost::Document *document_ = nullptr;
  drawhost::Page *page_ = nullptr;
  ComPtr<IQorLib> lib_;
  std::vector<Part> parts_;
  std::vector<std::string> shown_;
  std::vector<std::vector<std::pair<Part *, short>>> wires_;
  int count_ = 0;
};

} // namespace

int main(int argc, char **argv) {
  const bool timed = argc >= 5 && std::string(argv[argc - 1]) == "--time";
  const int servers = argc - (timed ? 1 : 0) - 2; // QorSim, QorLib01 and maybe QorLib02
  if (servers != 2 && servers != 3) {
    std::fprintf(stderr, "usage: page-driver <page file> <QorSim.dll> <QorLib01.dll> "
                         "[<QorLib02.dll>] [--time]\n");
    return 2;
  }
  CoInitialize(nullptr);
  std::vector<HMODULE> modules;
  for (int i = 0; i < servers; ++i) {
    HMODULE module = LoadLibraryA(argv[2 + i]);
    if (!module || callExport(module, "DllRegisterServer") != S_OK) {
      std::fprintf(stderr, "page-driver: cannot load and register %s\n", argv[2 + i]);
      return 1;
    }
    modules.push_back(module);
  }
  bool ok;
  {
    Driver driver;
    driver.timed = timed;
    driver.semiconductors = servers == 3;
    ok = driver.load(argv[1]) && driver.run();
  }
  for (auto module = modules.rbegin(); module != modules.rend(); ++module)
    callExport(*module, "DllUnregisterServer");
  CoUninitialize();
  return ok ? 0 : 1;
}
