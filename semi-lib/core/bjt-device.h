// The bipolar transistor of both polarities: a Gummel-Poon DC model behind
// three series resistances, with a zero-volt link that carries the
// base-collector current from the internal base to the base side of the
// base-collector junction. The PNP takes its junction voltages mirrored
// and reverses the junction currents on the right-hand side; conductances,
// link and resistances stamp the same, so one implementation serves both.
#ifndef SEMI_LIB_BJT_DEVICE_H
#define SEMI_LIB_BJT_DEVICE_H

#include "semi-lib/core/semi-device.h"

namespace semi {

enum class Polarity { Npn, Pnp };

class BjtDevice : public SemiDevice {
public:
  // The parameters in the order the device keeps them.
  enum Param {
    IS,
    BF,
    NF,
    ISE,
    NE,
    VAF,
    IKF,
    BR,
    NR,
    ISC,
    NC,
    VAR,
    IKR,
    RC,
    RB,
    RE,
    TF,
    CJE,
    VJE,
    MJE,
    TR,
    CJC,
    VJC,
    MJC,
    GMIN,
    IMAX,
    ParamCount
  };

  explicit BjtDevice(Polarity polarity);
  Polarity polarity() const { return polarity_; }

  void InstallDevice(const std::string &devName, DeviceComponent *component,
                     SimCircuit *circuit) override;
  void TopologyFix() override;
  void SpiceInfo(std::string &element, std::string &model) override;
  void SetUpDeviceDC() override;
  void LoadDevicePWL() override { LoadDeviceDC(); }
  void LoadDeviceDC() override;
  void LimitDeltaDC() override;
  bool UpdateResult() override;

  // The value of one RESULT item for the last load and the given solution
  // (pin voltages); +infinity for a name it does not know.
  double resultValue(const std::string &name, double vc, double vb, double ve) const;

private:
  struct OperatingPoint {
    double pdc = 0, vbe = 0, vbc = 0, vce = 0, ib = 0, ic = 0, ie = 0;
    double gpi = 0, gmu = 0, gce = 0, gm = 0, gF = 0, gr = 0;
    double forwardCharge = 0, forwardCap = 0, reverseCharge = 0, reverseCap = 0;
  };
  // The junction currents and their derivatives at one bias.
  struct Terms {
    double ict, gF, gR, ibe, gpi, ibc, gmu, forward, reverse, reverseSlope, qbInv;
  };
  double sign() const { return polarity_ == Polarity::Npn ? 1.0 : -1.0; }
  Terms evaluate(double vbe, double vbc) const;
  OperatingPoint pointOf(const Terms &t, double vbe, double vbc) const;
  double seriesConductance(bool unconnected, double r) const;
  void loadJunctions();
  void loadLink();
  void loadResistance(int pin, int internal, bool unconnected, double r, const Transadmittance &g);

  Polarity polarity_;
  int c_ = 0, b_ = 0, e_ = 0, ic_ = 0, ib_ = 0, ie_ = 0, bc_ = 0, link_ = 0;
  bool unconnectedC_ = false, unconnectedB_ = false, unconnectedE_ = false;
  bool allUnconnected_ = false;
  Transadmittance collector_{}, base_{}, emitter_{}, beJunction_{}, bcJunction_{}, forward_{},
      reverse_{};
  SparseEntry *linkEntries_[4] = {};
  OperatingPoint op_;
};

} // namespace semi

#endif
