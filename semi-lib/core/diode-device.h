// The junction diode: anode pin A, the junction, internal node iK, the
// series resistance RS and the cathode pin K. It follows the transistor in
// node naming, unconnected pins, index ordering, parameter reading and
// result writing.
#ifndef SEMI_LIB_DIODE_DEVICE_H
#define SEMI_LIB_DIODE_DEVICE_H

#include "semi-lib/core/junction.h"
#include "semi-lib/core/semi-device.h"

namespace semi {

class DiodeDevice : public SemiDevice {
public:
  enum Param { IS, N, RS, TT, CJO, VJ, M, GMIN, IMAX, ParamCount };

  DiodeDevice();

  void InstallDevice(const std::string &devName, DeviceComponent *component,
                     SimCircuit *circuit) override;
  void TopologyFix() override;
  void SpiceInfo(std::string &element, std::string &model) override;
  void SetUpDeviceDC() override;
  void LoadDevicePWL() override { LoadDeviceDC(); }
  void LoadDeviceDC() override;
  void LimitDeltaDC() override;
  bool UpdateResult() override;

  // The junction current and conductance (GMIN always included).
  JunctionPoint junction(double vj) const;
  // Transit charge TT * I plus the depletion charge, and their derivatives.
  ChargePoint EvalCharge(double vj) const;

private:
  double resultValue(const std::string &name, double vj, double vrs) const;

  int a_ = 0, k_ = 0, ik_ = 0;
  bool unconnectedA_ = false, unconnectedK_ = false;
  Transadmittance series_{}, junctionGroup_{};
  double pdc_ = 0;
};

} // namespace semi

#endif
