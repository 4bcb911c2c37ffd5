// The stamps of the three devices against central differences of their own
// right-hand side: at 300 random biases per device over cut-off, forward,
// saturation, reverse and high injection, every matrix entry equals the
// derivative of the current imbalance it stands for.
#include "semi-lib/tests/check-circuits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace semi_test;

// The device's current imbalance F = -Rhs at the present solution.
std::vector<double> imbalance(TestCircuit &c, semi::SimDevice &device) {
  c.clearLoad();
  device.LoadDeviceDC();
  std::vector<double> f = c.vectors().rhs;
  for (double &x : f)
    x = -x;
  return f;
}

// Compares every stamped entry with the central difference; returns the
// number of biases checked.
void expectJacobianMatches(TestCircuit &c, semi::SimDevice &device, const std::string &where) {
  const int n = c.nodeCount();
  c.clearLoad();
  device.LoadDeviceDC();
  std::vector<std::vector<double>> j(static_cast<std::size_t>(n), std::vector<double>(n, 0.0));
  for (int r = 1; r < n; ++r)
    for (int col = 1; col < n; ++col)
      j[r][col] = c.matrixValue(r, col);
  std::vector<double> &v = c.vectors().solution;
  for (int col = 1; col < n; ++col) {
    const double saved = v[col];
    const double h = 1e-6 * std::max(1.0, std::fabs(saved));
    v[col] = saved + h;
    const std::vector<double> up = imbalance(c, device);
    v[col] = saved - h;
    const std::vector<double> down = imbalance(c, device);
    v[col] = saved;
    for (int r = 1; r < n; ++r) {
      double rowScale = 0;
      for (int k = 1; k < n; ++k)
        rowScale = std::max(rowScale, std::fabs(j[r][k]));
      const double numeric = (up[r] - down[r]) / (2 * h);
      ASSERT_NEAR(numeric, j[r][col], 1e-6 * rowScale + 1e-13)
          << where << " row " << r << " col " << col;
    }
  }
}

struct Region {
  const char *name;
  double vbeLo, vbeHi, vbcLo, vbcHi;
};

const Region Regions[] = {
    {"cut-off", -5.0, 0.2, -8.0, 0.2},         {"forward", 0.5, 0.75, -6.0, 0.1},
    {"saturation", 0.55, 0.8, 0.45, 0.75},     {"reverse", -6.0, 0.1, 0.5, 0.75},
    {"high injection", 0.82, 0.95, -3.0, 0.6},
};

// Checks the device's stamps at 60 biases in each of the five regions,
// each put into the solution by bias (with draws from a fixed seed), which
// names it.
using Pick = std::function<double(double lo, double hi)>;
void sweep(TestCircuit &c, const char *device, unsigned seed,
           const std::function<std::string(int region, const Pick &pick)> &bias) {
  c.prepareMatrix();
  ASSERT_TRUE(c.topologyOk());
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const Pick pick = [&](double lo, double hi) { return lo + (hi - lo) * unit(random); };
  for (int region = 0; region < 5; ++region) {
    for (int i = 0; i < 60; ++i) {
      const std::string where = bias(region, pick);
      expectJacobianMatches(c, c.device(device), where + " bias " + std::to_string(i));
      if (testing::Test::HasFatalFailure())
        return;
    }
  }
}

// A node's place in the solution.
std::function<double &(const char *)> nodeOf(TestCircuit &c) {
  return [&c](const char *net) -> double & { return c.vectors().solution[c.netIndex(net)]; };
}

void checkTransistor(semi::Polarity polarity) {
  TestCircuit c;
  // Every Gummel-Poon term, the knees low enough for the forward region to
  // reach them.
  addNetlist(c,
             std::string("Q1 c b e ") + (polarity == semi::Polarity::Pnp ? "PNP" : "NPN") +
                 "; Rc c gnd 1k; Rb b gnd 1k; Re e gnd 1k; G1 gnd",
             sameModel(everyTermNpn()));
  c.component("Q1").setText("IKF", "0.001");
  c.component("Q1").setText("IKR", "0.0005");
  const double s = polarity == semi::Polarity::Npn ? 1.0 : -1.0;
  const auto at = nodeOf(c);
  sweep(c, "Q1", polarity == semi::Polarity::Npn ? 1234 : 4321, [&](int r, const Pick &pick) {
    const Region &region = Regions[r];
    const double vbe = pick(region.vbeLo, region.vbeHi);
    const double vbc = pick(region.vbcLo, region.vbcHi);
    at("Q1iB") = pick(-2, 2);
    at("Q1iE") = at("Q1iB") - s * vbe;
    at("Q1bC") = at("Q1iB") + pick(-1e-3, 1e-3);
    at("Q1iC") = at("Q1bC") - s * vbc;
    at("Q1BEbC") = pick(-1e-3, 1e-3);
    at("c") = at("Q1iC") + pick(-0.1, 0.1);
    at("b") = at("Q1iB") + pick(-0.1, 0.1);
    at("e") = at("Q1iE") + pick(-0.1, 0.1);
    return std::string(region.name);
  });
}

TEST(SemiJacobian, NpnStampsAreTheDerivativesOfItsCurrents) {
  checkTransistor(semi::Polarity::Npn);
}

TEST(SemiJacobian, PnpStampsAreTheDerivativesOfItsCurrents) {
  checkTransistor(semi::Polarity::Pnp);
}

TEST(SemiJacobian, DiodeStampsAreTheDerivativesOfItsCurrents) {
  TestCircuit c;
  addNetlist(c, "D1 a k; Ra a gnd 1k; Rk k gnd 1k; G1 gnd", sameModel(diode1N4148()));
  const double ranges[][2] = {{-20, -0.1}, {-0.1, 0.3}, {0.3, 0.7}, {0.7, 1.0}, {1.0, 1.6}};
  const auto at = nodeOf(c);
  sweep(c, "D1", 99, [&](int r, const Pick &pick) {
    const double vj = pick(ranges[r][0], ranges[r][1]);
    at("D1iK") = pick(-3, 3);
    at("a") = at("D1iK") + vj;
    at("k") = at("D1iK") + pick(-0.5, 0.5);
    return "diode at " + std::to_string(vj);
  });
}

} // namespace
