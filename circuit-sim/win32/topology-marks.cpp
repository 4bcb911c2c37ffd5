// The topology check of a rebuilt circuit and the marks it leaves on the
// drawing: the findings are the core's; here the old marks are removed,
// the devices fix what they can, and the components and connectors at
// fault are marked.
#include "circuit-sim/core/topology-checks.h"
#include "circuit-sim/win32/host-calls.h"
#include "circuit-sim/win32/qor-calls.h"
#include "circuit-sim/win32/sim-ckt.h"

#include "platform/base/win32/variant.h"

namespace qorsim {

namespace {

const char ErrorLineMaster[] = "Error Line Pattern";
const char StencilName[] = "netweave.vss";

std::vector<TopologyLink> linksOf(const std::vector<TopologyRecord> &records) {
  std::vector<TopologyLink> links;
  links.reserve(records.size());
  for (const TopologyRecord &r : records)
    links.push_back({r.index1, r.index2, r.nameIndex, static_cast<int>(r.pathType)});
  return links;
}

std::vector<int> typesOf(const std::vector<QorVariableTypes> &types) {
  return std::vector<int>(types.begin(), types.end());
}

// A master of that name from a masters collection, or null when it has none.
ComPtr<IDrawMaster> masterNamed(IDrawMasters *masters, const char *name) {
  base::Variant which;
  V_VT(which.get()) = VT_BSTR;
  V_BSTR(which.get()) = base::Bstr(name).detach();
  ComPtr<IDrawMaster> master;
  if (FAILED(masters->get_Item(*which.get(), master.receive())))
    master.reset();
  return master;
}

void markConnectorLine(IDrawShape *connector) {
  host::setFormula(host::cell(connector, SectionObject, 2, 2).get(), "USE(\"Error Line Pattern\")");
  host::setFormula(host::cell(connector, SectionObject, 2, 3).get(), "0.12 pt.");
}

} // namespace

void SimCkt::clearErrorMarks() {
  for (auto &[name, entry] : ocxMap_) {
    if (entry->errorMarked && entry->control)
      qor::putErrorMark(entry->control.get(), "");
  }
  for (auto &[name, entry] : ocxMap_)
    entry->errorMarked = false;
  for (auto &[key, record] : connectors_) {
    if (record->marked && record->shape) {
      host::setFormula(host::cell(record->shape.get(), SectionObject, 2, 2).get(), "1");
      host::setFormula(host::cell(record->shape.get(), SectionObject, 2, 3).get(), "");
    }
  }
  for (auto &[key, record] : connectors_)
    record->marked = false;
}

// The drawing needs the master "Error Line Pattern" for the line formula
// of a marked connector: from its own masters, or copied from the open
// stencil. Without either, connectors go unmarked; the components are
// still marked and the circuit still checked and solved.
bool SimCkt::errorLinePatternAvailable() {
  if (!document_)
    return false;
  ComPtr<IDrawMasters> own;
  if (SUCCEEDED(document_->get_Masters(own.receive())) && own &&
      masterNamed(own.get(), ErrorLineMaster))
    return true;
  ComPtr<IDrawApplication> application;
  ComPtr<IDrawDocuments> documents;
  if (FAILED(document_->get_Application(application.receive())) || !application ||
      FAILED(application->get_Documents(documents.receive())) || !documents)
    return false;
  base::Variant which;
  V_VT(which.get()) = VT_BSTR;
  V_BSTR(which.get()) = base::Bstr(StencilName).detach();
  ComPtr<IDrawDocument> stencil;
  ComPtr<IDrawMasters> stencilMasters;
  if (FAILED(documents->get_Item(*which.get(), stencil.receive())) || !stencil ||
      FAILED(stencil->get_Masters(stencilMasters.receive())) || !stencilMasters)
    return false;
  ComPtr<IDrawMaster> master = masterNamed(stencilMasters.get(), ErrorLineMaster);
  ComPtr<IDrawMaster> copy;
  return master && SUCCEEDED(document_->Drop(master.get(), copy.receive()));
}

// Marks the owner of a net: a component gets the mark text (its pin's row
// name, or "*" for the whole), a connector its error line.
void SimCkt::markOwnerOf(const std::string &net, const std::string *mark, bool lineMarks) {
  const std::size_t brace = net.rfind('}');
  if (brace == std::string::npos)
    return;
  const std::string device = net.substr(0, brace + 1);
  const std::string text = mark ? *mark : net.substr(brace + 1);
  auto component = ocxMap_.find(device);
  if (component != ocxMap_.end()) {
    if (component->second->control) {
      qor::putErrorMark(component->second->control.get(), text);
      component->second->errorMarked = true;
    }
    return;
  }
  auto connector = connectors_.find(device);
  if (!lineMarks || connector == connectors_.end() || connector->second->marked ||
      !connector->second->shape)
    return;
  markConnectorLine(connector->second->shape.get());
  connector->second->marked = true;
}

bool SimCkt::checkTopologyAndMark() {
  neverChecked_ = false;
  clearErrorMarks();
  if (topology_.empty())
    return true;
  const NodeSet dangling = findDanglingPins(linksOf(topology_), typesOf(varTypes_));
  nakedPins_ = dangling;
  danglingPins_ = dangling;
  for (auto &[name, device] : devices_)
    qor::check(qor::dev(device.get())->TopologyFix());
  // The devices may have recorded further branches.
  const std::vector<TopologyLink> links = linksOf(topology_);
  const std::vector<int> types = typesOf(varTypes_);
  NodeSet violations = findDcPathViolations(links, types);
  const NodeSet loops = findShortLoops(links);
  const bool errors = !violations.empty() || !loops.empty();
  if (dangling.empty() && !errors)
    return false;
  const bool lineMarks = errorLinePatternAvailable();
  // A dangling pin is reported once, as dangling.
  for (long node : dangling)
    violations.erase(node);
  const TopologyMarks marks = topologyMarks(links, dangling, violations, loops);
  const std::string whole = "*";
  for (const auto &[net, index] : indexMap_) {
    if (marks.pins.count(index))
      markOwnerOf(net, nullptr, lineMarks);
    if (marks.branches.count(index))
      markOwnerOf(net, &whole, lineMarks);
  }
  return errors;
}

} // namespace qorsim
