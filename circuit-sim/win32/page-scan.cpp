// The page scan: one device per registered component, created from the
// programmatic identifier its control names and installed in order of
// position, and one wire device per connector glued to a component.
#include "circuit-sim/win32/host-calls.h"
#include "circuit-sim/win32/qor-calls.h"
#include "circuit-sim/win32/sim-ckt.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"

#include <map>

namespace qorsim {

namespace {

bool isDeleted(IDrawShape *shape) {
  try {
    host::uniqueId(shape, 0);
    return false;
  } catch (const base::ComError &) {
    return true;
  }
}

} // namespace

// Entries whose shape the host no longer knows are dropped before a build:
// a deleted component must not stop every later rebuild of its page.
void SimCkt::dropDeletedEntries() {
  for (auto it = ocxMap_.begin(); it != ocxMap_.end();) {
    IDrawShape *shape = it->second->shape.get();
    if (shape && isDeleted(shape))
      it = ocxMap_.erase(it);
    else
      ++it;
  }
}

// A class that cannot be resolved is skipped; one that does not answer
// IQorDev gives no device; other failures are errors. A page holds
// thousands of devices of a few classes: each class is resolved once per
// scan and its factory kept, since every resolution reads the registry.
ComPtr<IQorDev> SimCkt::createDevice(const std::string &progId) {
  ComPtr<IQorDev> device;
  auto known = factories_.find(progId);
  if (known == factories_.end()) {
    CLSID clsid;
    base::Bstr name(progId);
    ComPtr<IClassFactory> factory;
    if (SUCCEEDED(CLSIDFromProgID(name.get(), &clsid)))
      base::check(CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                   factory.receiveVoid()),
                  IID_IQorDev);
    known = factories_.emplace(progId, std::move(factory)).first;
  }
  if (!known->second)
    return device;
  HRESULT hr = known->second->CreateInstance(nullptr, IID_IQorDev, device.receiveVoid());
  if (hr == E_NOINTERFACE)
    return ComPtr<IQorDev>();
  base::check(hr, IID_IQorDev);
  return device;
}

void SimCkt::installComponents() {
  // PinX ascending, then PinY ascending; names sharing a position keep
  // their key order. Positions group only when exactly equal.
  // The entries are kept by pointer: the map does not change meanwhile.
  std::map<double, std::map<double, std::vector<const OcxMap::value_type *>>> order;
  for (const OcxMap::value_type &entry : ocxMap_) {
    // An entry whose control has not bound yet has nothing to install.
    if (entry.second->control)
      order[entry.second->pinX][entry.second->pinY].push_back(&entry);
  }
  for (const auto &column : order) {
    for (const auto &row : column.second) {
      for (const OcxMap::value_type *entry : row.second) {
        const std::string &name = entry->first;
        IQorOcx *control = entry->second->control.get();
        ComPtr<IQorDev> device = createDevice(qor::devProgId(control));
        if (!device)
          continue;
        if (!devices_.emplace(name, device).second)
          continue;
        base::Bstr devName(name);
        qor::check(device->InstallDevice(devName.get(), control, self()));
      }
    }
  }
}

void SimCkt::resetConnectorMark(IDrawShape *connector) {
  ComPtr<IDrawCell> pattern = host::cell(connector, SectionObject, 2, 2);
  if (host::formula(pattern.get()).compare(0, 3, "USE") != 0)
    return;
  host::setFormula(pattern.get(), "1");
  host::setFormula(host::cell(connector, SectionObject, 2, 3).get(), "0.12 pt.");
}

void SimCkt::installWire(IDrawShape *connector) {
  const std::string key = host::uniqueId(connector, 1);
  std::unique_ptr<ConnectorRecord> &record = connectors_[key];
  if (!record) {
    record = std::make_unique<ConnectorRecord>();
    record->shape = ComPtr<IDrawShape>(connector);
  }
  // A connector glued to two components is met twice and installed once;
  // its mark was reset at the first meeting.
  if (wires_.count(key))
    return;
  if (firstBuild_)
    resetConnectorMark(connector);
  ComPtr<IQorDev> wire = createDevice("QOR.WireDev");
  if (!wire)
    return;
  if (!wires_.emplace(key, wire).second)
    return;
  ComPtr<IQorWireDev> ends = wire.query<IQorWireDev>();
  ComPtr<IDrawConnects> own = host::ownConnections(connector);
  for (short i = host::count(own.get()); i >= 1; --i) {
    ComPtr<IDrawConnect> connect = host::item(own.get(), i);
    ComPtr<IDrawShape> other = host::toSheet(connect.get());
    if (host::oneD(other.get()))
      continue;
    const short end = host::fromPart(connect.get());
    const short part = host::toPart(connect.get());
    if ((end != BeginPart && end != EndPart) || part < FirstConnectionPart)
      continue;
    ComPtr<IDrawCell> point = host::cell(other.get(), SectionConnections,
                                         static_cast<short>(part - FirstConnectionPart), 1);
    const std::string net = host::uniqueId(other.get(), 1) + host::rowName(point.get());
    auto found = indexMap_.find(net);
    if (found != indexMap_.end() && ends)
      base::check(ends->put_NetInfo(end, found->second), IID_IQorWireDev);
  }
  base::Bstr devName(key);
  qor::check(wire->InstallDevice(devName.get(), connector, self()));
}

void SimCkt::installWires() {
  for (const auto &[name, entry] : ocxMap_) {
    if (!entry->control)
      continue;
    ComPtr<IDrawShape> shape = qor::compShape(entry->control.get());
    ComPtr<IDrawConnects> glued = host::gluedTo(shape.get());
    for (short i = host::count(glued.get()); i >= 1; --i) {
      ComPtr<IDrawShape> connector = host::fromSheet(host::item(glued.get(), i).get());
      if (host::oneD(connector.get()))
        installWire(connector.get());
    }
  }
}

void SimCkt::BuildFromPage() {
  // The factories go with the scan, also by an error: they keep their
  // servers loaded.
  struct ForgetFactories {
    std::map<std::string, ComPtr<IClassFactory>> &factories;
    ~ForgetFactories() { factories.clear(); }
  } forget{factories_};
  dropDeletedEntries();
  installComponents();
  componentPhase_ = false;
  installWires();
  firstBuild_ = false;
}

// Records a newly added shape (and the members of a group) and tells
// whether it matters to the circuit. A component group is filed under its
// identifier, created when the new shape has none yet: an empty key would
// stand for no shape at all.
bool SimCkt::ScanShape(IDrawShape *shape) {
  const short type = host::type(shape);
  if (type == 3) {
    const std::string key = host::uniqueId(shape, 0);
    if (key.empty())
      return false;
    if (!connectors_.count(key))
      connectors_[key] = std::make_unique<ConnectorRecord>();
    return true;
  }
  if (type != 2)
    return false;
  if (host::cellExists(shape, "User.QOR")) {
    std::unique_ptr<OcxEntry> &entry = ocxMap_[host::uniqueId(shape, 1)];
    if (!entry) {
      entry = std::make_unique<OcxEntry>();
      entry->shape = ComPtr<IDrawShape>(shape);
    }
    return true;
  }
  ComPtr<IDrawShapes> members = host::members(shape);
  bool matters = false;
  for (short i = host::count(members.get()); i >= 1; --i)
    matters = ScanShape(host::item(members.get(), i).get()) || matters;
  return matters;
}

} // namespace qorsim
