// PassiveDevice: what the simulation side of every passive component
// shares. It names its nets after its device name, records its topology
// branch, ties naked pins with 1-siemens fixes, stamps through element
// handles borrowed from the circuit's matrix, reads its parameter from the
// component XML and writes its results back into it. A kind supplies its
// nets, stamp, parameter handling and result formulas.
#ifndef PASSIVE_LIB_PASSIVE_DEVICE_H
#define PASSIVE_LIB_PASSIVE_DEVICE_H

#include "QorLib01.h"

#include "platform/base/win32/com-ptr.h"
#include "platform/com/win32/dispatch.h"
#include "platform/com/win32/object.h"
#include "platform/xml/win32/xml-guids.h"

#include <string>

namespace passive {

using base::ComPtr;

enum class FixRule { None, PerPin, BothPins };

class PassiveDevice : public com::Dispatch<IQorDev>, public com::Dispatch<IQorDev2> {
public:
  static const com::InterfaceEntry *interfaces();
  // Creates the QorLib service; false with hr when that fails.
  HRESULT construct();

  HRESULT STDMETHODCALLTYPE InstallDevice(BSTR DevName, IUnknown *Component,
                                          IQorSimCkt *Circuit) override;
  HRESULT STDMETHODCALLTYPE TopologyFix() override;
  HRESULT STDMETHODCALLTYPE SpiceInfo(BSTR *pElement, BSTR *pModel) override;
  HRESULT STDMETHODCALLTYPE SetUpDeviceDC() override;
  HRESULT STDMETHODCALLTYPE LoadDevicePWL() override;
  HRESULT STDMETHODCALLTYPE LoadDeviceDC() override;
  HRESULT STDMETHODCALLTYPE LimitDeltaDC() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE UpdateParams() override;
  HRESULT STDMETHODCALLTYPE UpdateResult() override;

protected:
  struct Layout {
    const char *pinA;  // "A", or "P" for the DC source
    const char *pinB;  // null for one-pin kinds
    bool branch;       // has a branch-current unknown
    bool groundBranch; // the branch ties pin A to the reference node
    QorPathTypes path; // its topology branch
    const char *param; // parameter item name, or null
    FixRule fix;
    const char *spiceJoin; // between the nets and the value
  };
  explicit PassiveDevice(const Layout &layout) : layout_(layout) {}

  // The kind's own stamp (the fixes follow), parameter and results.
  virtual void setUpOwn(IQorSparseMatrix *matrix) = 0;
  virtual void loadOwn() = 0;
  // Takes the value read from the XML; true when the kind asks ResetDC.
  virtual bool storeParam(double value) = 0;
  // Reads the solution values the results need.
  virtual void readSolution() = 0;
  virtual double result(const std::string &name) const = 0;

  // Solution and vector helpers; failing calls throw base::ComError.
  double solution(LONG index) const;
  void addRhs(LONG index, double amount);
  void addAbsSum(LONG index, double amount);
  static void add(IQorSparseEntry *entry, double amount);
  void installEntries(IQorSparseMatrix *matrix, const LONG (*rowsCols)[2], IQorSparseEntry **out);
  void branchStamp(IQorSparseEntry *const *entries, LONG from, LONG to, double equationRhs);
  // Voltage of A against B (or against ground), infinity when not finite.
  double pinVoltage() const;
  double branchCurrent() const;

  Layout layout_;
  LONG IndexA = -1, IndexB = -1, IndexBE = -1;
  double value_;
  IQorSparseEntry *own_[4] = {}; // borrowed from the matrix
  ComPtr<IQorSimCkt> circuit_;

private:
  LONG net(const std::string &suffix, QorVariableTypes type);
  void conductance(IQorSparseEntry *const *entries, LONG p, LONG q, double g);
  bool fixBetweenPins() const { return NakedA || NakedB; }
  bool fixToGround() const { return Floating || (NakedA && NakedB); }
  bool ReadParamItem(ComPtr<IXMLElement> &item) const;

  ComPtr<IQorLib> lib_;
  std::string name_;
  ComPtr<IQorOcx2> component_;
  ComPtr<IQorSimDC> dc_;
  bool NakedA = false, NakedB = false, Floating = false;
  IQorSparseEntry *fixPins_[4] = {};
  IQorSparseEntry *fixGround_[4] = {};
};

// Creators for the module's class table (passive-devices.cpp).
HRESULT createGndDev(REFIID riid, void **out);
HRESULT createPwrDev(REFIID riid, void **out);
HRESULT createResDev(REFIID riid, void **out);
HRESULT createCapDev(REFIID riid, void **out);
HRESULT createIndDev(REFIID riid, void **out);
HRESULT createVdcDev(REFIID riid, void **out);

} // namespace passive

#endif
