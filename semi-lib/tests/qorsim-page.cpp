// Native circuits drawn on stand-in pages and solved by QorSim.
#include "semi-lib/tests/qorsim-page.h"
#include "testing/server-exports.h"

#include "passive-lib/core/component-templates.h"
#include "semi-lib/core/semi-templates.h"

#include "testing/test-paths.h"

#include <limits>
#include <stdexcept>

namespace semi_test {

using passive::ComponentKind;
using passive_test::ansi;
using passive_test::ComPtr;
using PageControl = passive_test::TestComponent;

namespace {

using testing_support::callExport;

const char *Version = "1.00.419";
const char *Created = "9 Dec 2026";

// Component XML of a semiconductor part: the kind's template with the
// given PARAMS items, no RESULT item solved yet.
std::string semiXml(PartRecord::Kind kind, const std::vector<semi::ParamItem> &params) {
  std::string xml = semi::filledTemplate(kind == PartRecord::Diode ? semi::SemiKind::Diode
                                         : kind == PartRecord::Npn ? semi::SemiKind::Npn
                                                                   : semi::SemiKind::Pnp,
                                         Version, Created);
  std::string items;
  for (const semi::ParamItem &item : params) {
    items += "<ITEM NAME=\"" + item.name + "\"";
    if (item.hasDefault)
      items += " DEFAULT=\"" + item.defaultText + "\"";
    if (item.hasText)
      items += " TEXT=\"" + item.text + "\"";
    if (item.hasIeee)
      items += " IEEE=\"" + item.ieee + "\"";
    items += "/>";
  }
  return xml.insert(xml.find("</PARAMS>"), items);
}

} // namespace

QorServers::QorServers(const char *qorSim, const char *qorLib01, const char *qorLib02,
                       const char *testDevices) {
  const char *paths[] = {qorSim, qorLib01, qorLib02, testDevices};
  ready_ = true;
  for (int i = 0; i < 4; ++i) {
    modules_[i] = LoadLibraryA(testing_support::hostPath(paths[i]).c_str());
    ready_ = ready_ && modules_[i] && callExport(modules_[i], "DllRegisterServer") == S_OK;
  }
}

QorServers::~QorServers() {
  for (int i = 3; i >= 0; --i)
    if (modules_[i])
      callExport(modules_[i], "DllUnregisterServer");
}

LONG QorServers::testDeviceLoads() const {
  using Counter = LONG(WINAPI *)();
  auto counter = reinterpret_cast<Counter>(
      reinterpret_cast<void (*)()>(GetProcAddress(modules_[3], "TestDeviceLoads")));
  return counter ? counter() : -1;
}

const char *semiProgId(PartRecord::Kind kind) {
  return kind == PartRecord::Diode ? "QOR.DiodeDev.1"
         : kind == PartRecord::Npn ? "QOR.BjtNpnDev.1"
                                   : "QOR.BjtPnpDev.1";
}

QorSimPage::QorSimPage(drawhost::StandInHost &host, IQorLib *lib, const std::string &documentName)
    : lib_(lib) {
  page_ = host.addDocument("C:\\Drawings\\", documentName)->addPage("Page-1");
  circuit_ = qorsim_test::pageCircuit(page_);
  if (!circuit_)
    return;
  vectors_ = circuit_.query<IQorSimDC>();
}

QorSimPage::~QorSimPage() {
  if (circuit_)
    circuit_->Quit();
}

void QorSimPage::draw(const std::vector<PartRecord> &records) {
  double x = 0;
  for (const PartRecord &record : records) {
    DrawnPart part;
    part.record = record;
    std::string xml;
    switch (record.kind) {
    case PartRecord::Ground:
      part.pins = {"A"};
      xml = "<DEVICE NAME=\"Ground\" OCXNAME=\"0\" STATUS=\"0x0\" DEVPROGID=\"QOR.TestGnd\">"
            "<PARAMS/><RESULT/></DEVICE>";
      break;
    case PartRecord::Resistor:
      part.pins = {"A", "B"};
      xml = passive::filledTemplate(ComponentKind::Resistor, Version, Created);
      break;
    case PartRecord::Source:
      part.pins = {"P", "M"};
      xml = passive::filledTemplate(ComponentKind::DcSource, Version, Created);
      break;
    default:
      for (const auto &pin : record.pins)
        part.pins.push_back(pin.first);
      xml = semiXml(record.kind, record.params);
    }
    part.shape = page_->addShape(2, "Component");
    for (const std::string &pin : part.pins)
      part.shape->addConnectionPoint(pin);
    part.shape->cell("User.QOR", true)->setQuietly("1");
    part.shape->cell("PinX", true)->setQuietly(std::to_string(x += 1));
    part.shape->cell("PinY", true)->setQuietly("0");
    part.key = part.shape->uniqueId(true);
    part.control = ComPtr<com::Object<PageControl>>::adopt(
        new com::Object<PageControl>(lib_.get(), part.shape, xml));
    part.control->circuit = circuit_;
    part.control->partId = record.kind == PartRecord::Ground ? "" : record.partId;
    if (record.kind == PartRecord::Resistor)
      part.control->setParam("R", exactText(record.value));
    if (record.kind == PartRecord::Source)
      part.control->setParam("Vdc", exactText(record.value));
    circuit_->OcxMapInsert(ansi(part.key).get(), part.shape,
                           static_cast<IQorOcx *>(part.control.get()), VARIANT_TRUE);
    parts.push_back(part);
  }
  for (std::size_t p = 0; p < parts.size(); ++p) {
    for (std::size_t pin = 0; pin < parts[p].record.pins.size(); ++pin) {
      const std::string &net = parts[p].record.pins[pin].second;
      auto first = firstPin_.find(net);
      if (first == firstPin_.end()) {
        firstPin_[net] = {p, pin};
        continue;
      }
      drawhost::Shape *connector = page_->addShape(3, "Wire");
      connector->setOneD(true);
      page_->glue(connector, 9, parts[first->second.first].shape,
                  static_cast<short>(first->second.second));
      page_->glue(connector, 12, parts[p].shape, static_cast<short>(pin));
    }
  }
}

HRESULT QorSimPage::solve() {
  ComPtr<IQorDev> built; // builds the circuit from the page first
  if (!parts.empty())
    circuit_->GetDev(parts.front().shape, built.receive());
  return circuit_->SolveDC();
}

DrawnPart &QorSimPage::part(const std::string &partId) {
  for (DrawnPart &p : parts)
    if (p.record.partId == partId)
      return p;
  throw std::runtime_error("no part " + partId);
}

double QorSimPage::netVoltage(const std::string &net) {
  const auto &[p, pin] = firstPin_.at(net);
  LONG index = -1;
  double value = std::numeric_limits<double>::quiet_NaN();
  if (SUCCEEDED(circuit_->IndexMapFind(ansi(parts[p].key + parts[p].pins[pin]).get(), &index)))
    vectors_->get_Solution(index, &value);
  return value;
}

double QorSimPage::value(const Compared &q) {
  if (q.part.empty())
    return netVoltage(q.item);
  if (q.item == "I")
    return part(q.part).control->result("Idc");
  const double v = part(q.part).control->result(q.item);
  return q.inverse ? 1 / v : v;
}

} // namespace semi_test
