// SimCkt: the circuit object of one drawing page. Component controls
// register in its Ocx map; the page scan fills its device, wire and
// connector maps; devices name their nets through the index map, record
// their branches in the topology list and stamp its matrix and vectors;
// SolveDC runs the Newton iteration on them and advises the controls.
//
// SolveDC answers S_OK when it published a converged solution, or plus
// infinity for a circuit that failed its topology check, and S_FALSE when
// it published results that are not a solution: the last iterate after
// the pass limit, or plus infinity for a circuit whose matrix is singular
// or could not be made. Either way the controls are advised.
#ifndef CIRCUIT_SIM_SIM_CKT_H
#define CIRCUIT_SIM_SIM_CKT_H

#include "QorSim.h"
#include "circuit-sim/core/dc-newton.h"
#include "circuit-sim/win32/kf-timer.h"
#include "circuit-sim/win32/sparse-matrix-face.h"
#include "circuit-sim/win32/splash-wnd.h"

#include "platform/base/win32/com-ptr.h"
#include "platform/com/win32/dispatch.h"
#include "platform/com/win32/object.h"
#include "platform/com/win32/support-error-info.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace qorsim {

using base::ComPtr;

// A registered component control. An entry made by the page scan before
// its control binds holds only the shape.
struct OcxEntry {
  OcxEntry() = default;
  OcxEntry(const OcxEntry &) = delete;
  OcxEntry &operator=(const OcxEntry &) = delete;
  ~OcxEntry();

  ComPtr<IQorOcx> control;
  ComPtr<IDrawShape> shape;
  long status = 0;
  double pinX = 0.0, pinY = 0.0; // recorded position, internal units
  ComPtr<IDrawEvent> subscription;
  std::string partId;
  std::string lastWrittenId;
  bool errorMarked = false;
};

// A connector the scan found; a marked one gets its line back when the
// record goes.
struct ConnectorRecord {
  ConnectorRecord() = default;
  ConnectorRecord(const ConnectorRecord &) = delete;
  ConnectorRecord &operator=(const ConnectorRecord &) = delete;
  ~ConnectorRecord();

  ComPtr<IDrawShape> shape;
  bool marked = false;
};

struct TopologyRecord {
  long index1, index2, nameIndex;
  QorPathTypes pathType;
};

class SimCkt : public com::Dispatch<IQorSimCkt>,
               public com::Dispatch<IQorSimDC>,
               public com::SupportErrorInfo<&IID_IQorSimCkt, &IID_IQorSimDC>,
               private DcDevices {
public:
  SimCkt();
  ~SimCkt() override;
  static const com::InterfaceEntry *interfaces();

  // IQorSimCkt
  HRESULT STDMETHODCALLTYPE VisEventProc(short Event, IUnknown *Source, LONG ID, LONG Seq,
                                         VARIANT Subject, VARIANT Extra) override;
  HRESULT STDMETHODCALLTYPE SetupEvents(IDrawPage *DrawingPage) override;
  HRESULT STDMETHODCALLTYPE SplashScreen() override;
  HRESULT STDMETHODCALLTYPE CreateNetlist() override;
  HRESULT STDMETHODCALLTYPE Quit() override;
  // Quit empties the circuit for good: the root then makes a new one for
  // its page instead of handing out an object that no longer follows it.
  bool hasQuit() const { return quit_; }
  HRESULT STDMETHODCALLTYPE OcxMapFind(BSTR DevName, IQorOcx **pOcx) override;
  HRESULT STDMETHODCALLTYPE OcxMapInsert(BSTR DevName, IDrawShape *QorShape, IQorOcx *Ocx,
                                         VARIANT_BOOL UpdateDrawing) override;
  HRESULT STDMETHODCALLTYPE get_OcxMapPartID(BSTR DevName, BSTR *pID) override;
  HRESULT STDMETHODCALLTYPE put_OcxMapPartID(BSTR DevName, BSTR newVal) override;
  HRESULT STDMETHODCALLTYPE GetDev(IDrawShape *QorShape, IQorDev **pDev) override;
  HRESULT STDMETHODCALLTYPE GetDevIff(IDrawShape *QorShape, IQorDev **pDev) override;
  HRESULT STDMETHODCALLTYPE IndexMapFind(BSTR NetName, LONG *pIndex) override;
  HRESULT STDMETHODCALLTYPE IndexMapInsert(BSTR NetName, LONG *pIndex) override;
  HRESULT STDMETHODCALLTYPE DevMapFind(BSTR DevName, IQorDev **pDev) override;
  HRESULT STDMETHODCALLTYPE DevMapInsert(BSTR DevName, IQorDev *Dev) override;
  HRESULT STDMETHODCALLTYPE TopologyInsert(LONG Index1, LONG Index2, LONG NameIndex,
                                           QorPathTypes PathType) override;
  HRESULT STDMETHODCALLTYPE get_VarType(LONG Index, QorVariableTypes *pType) override;
  HRESULT STDMETHODCALLTYPE put_VarType(LONG Index, QorVariableTypes newVal) override;
  HRESULT STDMETHODCALLTYPE get_NakedPin(LONG Index, VARIANT_BOOL *pFlag) override;
  HRESULT STDMETHODCALLTYPE put_NakedPin(LONG Index, VARIANT_BOOL newVal) override;
  HRESULT STDMETHODCALLTYPE get_SpiceNet(LONG Index, BSTR *pNetname) override;
  HRESULT STDMETHODCALLTYPE SolveDC() override;
  HRESULT STDMETHODCALLTYPE ResetDC(VARIANT_BOOL RebuildMatrix) override;

  // IQorSimDC
  HRESULT STDMETHODCALLTYPE get_Matrix(IQorSparseMatrix **pVal) override;
  HRESULT STDMETHODCALLTYPE get_Solution(LONG Index, double *pVal) override;
  HRESULT STDMETHODCALLTYPE put_Solution(LONG Index, double newVal) override;
  HRESULT STDMETHODCALLTYPE get_DeltaSolution(LONG Index, double *pVal) override;
  HRESULT STDMETHODCALLTYPE put_DeltaSolution(LONG Index, double newVal) override;
  HRESULT STDMETHODCALLTYPE get_Rhs(LONG Index, double *pVal) override;
  HRESULT STDMETHODCALLTYPE put_Rhs(LONG Index, double newVal) override;
  HRESULT STDMETHODCALLTYPE get_AbsSum(LONG Index, double *pVal) override;
  HRESULT STDMETHODCALLTYPE put_AbsSum(LONG Index, double newVal) override;

private:
  IUnknown *identity() { return static_cast<IQorSimCkt *>(this); }
  IQorSimCkt *self() { return this; }

  // Registries (sim-ckt.cpp).
  void ClearCircuit();
  void DropMatrix();
  long netCount() const { return static_cast<long>(indexMap_.size()); }
  void registerControl(OcxEntry &entry, IDrawShape *shape, IQorOcx *control);

  // Page scan (page-scan.cpp).
  void BuildFromPage();
  bool ScanShape(IDrawShape *shape);
  void dropDeletedEntries();
  void installComponents();
  void installWires();
  void installWire(IDrawShape *connector);
  void resetConnectorMark(IDrawShape *connector);
  ComPtr<IQorDev> createDevice(const std::string &progId);

  // Solve (dc-solve.cpp).
  void rebuildAndCheck();
  HRESULT solve();
  void createMatrix();
  void publishInfinity();
  void adviseControls();
  void listSolveDevices();
  void loadStart() override;
  void loadNewton() override;
  void limitDelta() override;

  // Part-ID numbering (part-ids.cpp).
  void NumberPartIDs();

  // Topology check and error marks (topology-marks.cpp).
  bool checkTopologyAndMark();
  void clearErrorMarks();
  bool errorLinePatternAvailable();
  void markOwnerOf(const std::string &net, const std::string *mark, bool lineMarks);

  // Netlist (netlist.cpp).
  void writeNetlist();
  std::string netlistTitle();

  // Events (sim-ckt-events.cpp).
  void performPendingWork();
  void scanAddedShapes(const VARIANT &subject);

  ComPtr<IDrawPage> page_;
  ComPtr<IDrawDocument> document_;
  std::vector<ComPtr<IDrawEvent>> pageSubscriptions_;
  using OcxMap = std::map<std::string, std::unique_ptr<OcxEntry>>;
  OcxMap ocxMap_;
  std::map<std::string, ComPtr<IQorDev>> devices_;
  std::map<std::string, ComPtr<IQorDev>> wires_;
  std::map<std::string, std::unique_ptr<ConnectorRecord>> connectors_;
  std::map<std::string, ComPtr<IClassFactory>> factories_; // during a page scan only
  std::map<std::string, long> indexMap_;
  std::vector<TopologyRecord> topology_;
  long highestNode_ = -1;
  bool componentPhase_ = true;
  std::vector<QorVariableTypes> varTypes_;
  std::set<long> nakedPins_;
  std::set<long> danglingPins_;
  std::vector<long> spiceNumbers_; // empty until asked for, per build
  SparseMatrix matrix_;
  DcVectors dc_;
  // The devices and wires of the running solve, in map order; the maps
  // hold their references.
  std::vector<IQorDev *> solveDevices_, solveWires_;
  bool solved_ = false;
  bool converged_ = false; // the last solve ended by the convergence test
  bool topologyOk_ = false;
  bool partIdPending_ = false;
  bool rebuildPending_ = false;
  bool neverNumbered_ = true;
  bool neverChecked_ = true;
  bool firstBuild_ = true;
  bool quit_ = false;
  std::unique_ptr<SplashWnd> splash_;
  std::int64_t splashShownAt_ = -1; // seconds; -1: no closing to schedule
  CKFTimer timer_;
};

HRESULT createSimCkt(REFIID riid, void **out);

} // namespace qorsim

#endif
