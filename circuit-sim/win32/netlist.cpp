// The SPICE netlist of a page: node numbers for the devices (SpiceNet)
// and the file the user saves (CreateNetlist). The devices write their own
// element and model lines; the circuit orders them, wraps the models and
// writes the file.
#include "circuit-sim/core/netlist-text.h"
#include "circuit-sim/core/topology-checks.h"
#include "circuit-sim/win32/netlist-dialogs.h"
#include "circuit-sim/win32/qor-calls.h"
#include "circuit-sim/win32/sim-ckt.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"

#include <cstdio>
#include <map>

namespace qorsim {

namespace {

const char Caption[] = "Netweave for Visio\xAE";
const UINT ErrorBox = MB_ICONERROR | MB_OK;                       // 0x10
const UINT Question = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2; // 0x124

std::string documentText(IDrawDocument *document,
                         HRESULT (STDMETHODCALLTYPE IDrawDocument::*getter)(BSTR *)) {
  base::Bstr text;
  base::check((document->*getter)(text.receive()), IID_IDrawDocument);
  return text.toAnsi();
}

HWND hostWindow(IDrawDocument *document) {
  ComPtr<IDrawApplication> application;
  base::check(document->get_Application(application.receive()), IID_IDrawDocument);
  LONG handle = 0;
  base::check(base::checkPointer(application.get(), IID_IDrawDocument)->get_WindowHandle32(&handle),
              IID_IDrawApplication);
  return reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle));
}

// Writes the whole text or reports why not; a partial file is removed so
// that it cannot pass for a saved netlist.
bool writeFile(const std::string &path, const std::string &text) {
  FILE *file = std::fopen(path.c_str(), "w"); // text mode: CR LF line ends
  if (!file)
    return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const bool closed = std::fclose(file) == 0;
  if (written && closed)
    return true;
  std::remove(path.c_str());
  return false;
}

} // namespace

HRESULT STDMETHODCALLTYPE SimCkt::get_SpiceNet(LONG Index, BSTR *pNetname) {
  if (!pNetname)
    return E_POINTER;
  *pNetname = nullptr;
  if (Index < 0 || Index >= netCount() + 1)
    return E_INVALIDARG;
  return base::guardCom(IID_IQorSimCkt, [&]() -> HRESULT {
    if (neverChecked_) {
      ClearCircuit();
      BuildFromPage();
      topologyOk_ = !checkTopologyAndMark();
    }
    const long nodes = netCount() + 1;
    if (static_cast<long>(spiceNumbers_.size()) != nodes) {
      std::vector<TopologyLink> links;
      for (const TopologyRecord &r : topology_)
        links.push_back({r.index1, r.index2, r.nameIndex, static_cast<int>(r.pathType)});
      spiceNumbers_ = spiceNodeNumbers(links, std::vector<int>(varTypes_.begin(), varTypes_.end()),
                                       nodes, highestNode_);
    }
    if (Index >= static_cast<LONG>(spiceNumbers_.size()))
      return E_INVALIDARG;
    *pNetname = base::Bstr(std::to_string(spiceNumbers_[Index])).detach();
    return S_OK;
  });
}

// A saved drawing whose file is on disk gives its file's title; any other
// drawing its name up to the first ".", with a capital first letter.
std::string SimCkt::netlistTitle() {
  const std::string folder = documentText(document_.get(), &IDrawDocument::get_Path);
  if (!folder.empty()) {
    const std::string full = documentText(document_.get(), &IDrawDocument::get_FullName);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(full.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      FindClose(search);
      std::string title = found.cFileName;
      const std::size_t dot = title.rfind('.');
      return dot == std::string::npos ? title : title.substr(0, dot);
    }
  }
  return titleFromDocumentName(documentText(document_.get(), &IDrawDocument::get_Name));
}

void SimCkt::writeNetlist() {
  if (neverNumbered_)
    NumberPartIDs();
  if (neverChecked_) {
    ClearCircuit();
    BuildFromPage();
    topologyOk_ = !checkTopologyAndMark();
  }
  base::checkPointer(document_.get(), IID_IQorSimCkt);
  const NetlistDialogs &dialogs = netlistDialogs();
  const HWND owner = hostWindow(document_.get());
  if (topology_.empty()) {
    dialogs.messageBox(owner, "No circuit schematic to save as a SPICE netlist.", Caption,
                       ErrorBox);
    return;
  }
  const char *question = nullptr;
  if (!topologyOk_)
    question = "SPICE will find errors in the netlist, such as DC path violations. Continue?";
  else if (!danglingPins_.empty())
    question = "SPICE will find errors in the netlist, such as dangling component pins. Continue?";
  if (question && dialogs.messageBox(owner, question, Caption, Question) == IDNO)
    return;
  const std::string title = netlistTitle();
  char path[MAX_PATH] = {};
  if (!dialogs.saveFileName(title.c_str(), path, MAX_PATH))
    return;

  // The devices answer before anything is written: a device that fails
  // leaves no file behind.
  std::map<double, std::map<double, std::vector<std::string>>> order;
  for (const auto &[name, entry] : ocxMap_)
    order[entry->pinX][entry->pinY].push_back(name);
  std::vector<std::string> elements;
  std::set<std::string> models;
  for (const auto &column : order) {
    for (const auto &row : column.second) {
      for (const std::string &name : row.second) {
        auto device = devices_.find(name);
        if (device == devices_.end())
          continue;
        BSTR element = nullptr, model = nullptr;
        const HRESULT hr = qor::dev(device->second.get())->SpiceInfo(&element, &model);
        base::Bstr elementText = base::Bstr::adopt(element), modelText = base::Bstr::adopt(model);
        qor::check(hr);
        if (!elementText.toAnsi().empty())
          elements.push_back(elementText.toAnsi());
        if (!modelText.toAnsi().empty())
          models.insert(modelText.toAnsi());
      }
    }
  }
  if (!writeFile(path, netlistText(title, elements, models))) {
    const std::string message = std::string("The SPICE netlist could not be written to \"") + path +
                                "\". Nothing was saved.";
    dialogs.messageBox(owner, message.c_str(), Caption, ErrorBox);
  }
}

HRESULT STDMETHODCALLTYPE SimCkt::CreateNetlist() {
  return base::guardCom(IID_IQorSimCkt, [&]() -> HRESULT {
    writeNetlist();
    return S_OK;
  });
}

} // namespace qorsim
