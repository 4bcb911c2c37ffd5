// The circuit object through the real QorSim.dll: component controls of the
// test on pages of the stand-in host register with the page's circuit,
// devices come from the test device server by programmatic identifier,
// and the DC solve is checked against voltages worked out by hand. Also
// the registries' edge cases, the wire device, deleting a component and
// rebuilding, and the solves that cannot converge or cannot be solved.
#include "circuit-sim/tests/circuit-fixture.h"

#include <cmath>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace qorsim_test;

// 10 V over 1 kOhm and 2 kOhm in series: 20/3 V between them.
TEST_F(Circuit, DividerSolvesToItsRatio) {
  Drawing d = draw("V1 in 0 10; R1 in mid 1k; R2 mid 0 2k; G1 0");
  const Part &source = d["V1"], &r1 = d["R1"], &r2 = d["R2"];
  EXPECT_EQ(circuit_->SolveDC(), S_OK);
  EXPECT_NEAR(volts(source, "P"), 10.0, 1e-12);
  EXPECT_NEAR(volts(r1, "A"), 10.0, 1e-12);
  EXPECT_NEAR(volts(r1, "B"), 20.0 / 3.0, 1e-12);
  EXPECT_NEAR(volts(r2, "A"), 20.0 / 3.0, 1e-12);
  EXPECT_NEAR(volts(r2, "B"), 0.0, 1e-12);
  EXPECT_NEAR(volts(source, "M"), 0.0, 1e-12);
  // The source's branch current leaves P: 10 V / 3 kOhm flows back in.
  double current = 0;
  ASSERT_EQ(vectors_->get_Solution(index(source.key + "BE"), &current), S_OK);
  EXPECT_NEAR(current, -10.0 / 3000.0, 1e-15);
  for (const Part *part : d.all())
    EXPECT_EQ(part->control->advises, 1);
}

// An R-2R ladder terminated in 2R: every node sees R to ground on its
// right, so each series resistor halves the voltage: 8, 4, 2, 1 V from 16.
TEST_F(Circuit, LadderHalvesAtEveryNode) {
  Drawing d = draw("V1 n0 0 16; R1 n0 n1 1k; R2 n1 0 2k; R3 n1 n2 1k; R4 n2 0 2k;"
                   "R5 n2 n3 1k; R6 n3 0 2k; R7 n3 n4 1k; R8 n4 0 2k; R9 n4 0 2k; G1 0");
  EXPECT_EQ(circuit_->SolveDC(), S_OK);
  const double expected[] = {8.0, 4.0, 2.0, 1.0};
  for (int k = 0; k < 4; ++k)
    EXPECT_NEAR(volts(d["R" + std::to_string(2 * k + 1)], "B"), expected[k], 1e-12)
        << "node " << k + 1;
}

double diodeVoltageByBisection(double volts, double ohms) {
  const double is = 1e-14, vt = 0.025852;
  double lo = 0.0, hi = volts;
  for (int i = 0; i < 200; ++i) {
    const double v = (lo + hi) / 2;
    ((volts - v) / ohms > is * (std::exp(v / vt) - 1.0) ? lo : hi) = v;
  }
  return (lo + hi) / 2;
}

TEST_F(Circuit, DiodeConvergesWithStepLimiting) {
  Drawing d = draw("V1 in 0 5; R1 in a 1k; D1 a 0; G1 0");
  const LONG before = deviceLoads();
  EXPECT_EQ(circuit_->SolveDC(), S_OK);
  EXPECT_GT(deviceLoads() - before, 2 * 4); // more than one Newton pass over 4 devices
  EXPECT_NEAR(volts(d["D1"], "A"), diodeVoltageByBisection(5.0, 1000.0), 1e-6);
}

TEST_F(Circuit, SecondSolveOnlyAdvisesAndResetSolvesAgain) {
  Drawing d = draw("V1 a 0 1; R1 a 0 1; G1 0");
  const Part &r = d["R1"];
  ASSERT_EQ(circuit_->SolveDC(), S_OK);
  const LONG loads = deviceLoads();
  EXPECT_EQ(circuit_->SolveDC(), S_OK);
  EXPECT_EQ(deviceLoads(), loads);
  EXPECT_EQ(r.control->advises, 2);
  EXPECT_EQ(circuit_->ResetDC(VARIANT_FALSE), S_OK);
  EXPECT_EQ(circuit_->SolveDC(), S_OK);
  EXPECT_GT(deviceLoads(), loads);
  EXPECT_EQ(circuit_->ResetDC(VARIANT_TRUE), S_OK);
  EXPECT_EQ(circuit_->SolveDC(), S_OK);
  EXPECT_NEAR(volts(r, "A"), 1.0, 1e-12);
  EXPECT_EQ(r.control->advises, 4);
}

// The deleted shape's entry goes at the next rebuild, which then succeeds.
TEST_F(Circuit, DeletingAComponentRebuildsThePage) {
  Drawing d = draw("V1 in 0 10; R1 in mid 1k; R2 mid 0 2k; R3 mid 0 2k; G1 0");
  const Part &r1 = d["R1"], &r2 = d["R2"];
  Part &r3 = d["R3"];
  host_->fireIdle();
  EXPECT_NEAR(volts(r2, "A"), 5.0, 1e-12);
  const int advises = r1.control->advises;
  ComPtr<Shape> deleted(r3.shape);
  r3 = Part{};
  page_->deleteShape(deleted.get());
  host_->fireIdle();
  EXPECT_EQ(r1.control->advises, advises + 1);
  EXPECT_NEAR(volts(r2, "A"), 20.0 / 3.0, 1e-12);
  EXPECT_EQ(index(std::string(deleted->uniqueId(false)) + "A"), -1);
  // And once more, with nothing left over from the deleted component.
  page_->glue(page_->addShape(3, "Loose"), 9, r1.shape, 0);
  host_->fireIdle();
  EXPECT_EQ(r1.control->advises, advises + 2);
  EXPECT_NEAR(volts(r2, "A"), 20.0 / 3.0, 1e-12);
}

// A component shape announced before its control binds gets an entry
// without a control: the control that binds later fills it, and until then
// rebuilds and advises pass it by. The new group gets a key of its own.
TEST_F(Circuit, ScannedEntryTakesTheControlThatBindsLater) {
  Drawing d = draw("V1 a 0 3; G1 0");
  const Part &source = d["V1"], &ground = d["G1"];
  Shape *dropped = componentShape({"A", "B"}, 2, 0);
  ASSERT_TRUE(dropped->uniqueId(false).empty());
  page_->announceShapes({dropped});
  const std::string key = dropped->uniqueId(false);
  EXPECT_FALSE(key.empty());
  BSTR id = nullptr;
  EXPECT_EQ(circuit_->get_OcxMapPartID(Bstr("").get(), &id), S_FALSE);
  EXPECT_EQ(circuit_->get_OcxMapPartID(Bstr(key).get(), &id), S_OK);
  SysFreeString(id);

  // Rebuild and advise with the control still missing.
  host_->fireIdle();
  EXPECT_EQ(source.control->advises, 1);
  EXPECT_NEAR(volts(source, "P"), 3.0, 1e-12);

  Part r = control(dropped, "TestRes", "1000");
  ASSERT_EQ(registerPart(r), S_OK);
  ComPtr<IQorOcx> found;
  ASSERT_EQ(circuit_->OcxMapFind(Bstr(key).get(), found.receive()), S_OK);
  EXPECT_EQ(found.get(), static_cast<IQorOcx *>(r.control.get()));
  wire(source, 0, r, 0);
  wire(r, 1, ground, 0);
  host_->fireIdle();
  EXPECT_EQ(r.control->advises, 1);
  EXPECT_NEAR(volts(r, "A"), 3.0, 1e-12);
}

// A group without "User.QOR" is scanned member by member from the last:
// the identifiers its component members receive show the order.
TEST_F(Circuit, ScanVisitsGroupMembersFromTheLast) {
  Shape *group = page_->addShape(2, "Group");
  Shape *first = group->addMember(2, "First");
  first->cell("User.QOR", true)->setQuietly("1");
  group->addMember(3, "Middle");
  Shape *last = group->addMember(2, "Last");
  last->cell("User.QOR", true)->setQuietly("1");
  page_->announceShapes({group});
  const std::string firstKey = first->uniqueId(false), lastKey = last->uniqueId(false);
  ASSERT_FALSE(firstKey.empty());
  ASSERT_FALSE(lastKey.empty());
  EXPECT_LT(lastKey, firstKey);
  BSTR id = nullptr;
  EXPECT_EQ(circuit_->get_OcxMapPartID(Bstr(firstKey).get(), &id), S_OK);
  SysFreeString(id);
}

// The scan only reads a plain shape's identifier: a shape without one
// stays without one.
TEST_F(Circuit, ScanLeavesPlainShapesWithoutIdentifierAlone) {
  Part r = add("TestRes", "1", 1, 0);
  Shape *plain = page_->addShape(3, "Note");
  page_->announceShapes({plain});
  EXPECT_TRUE(plain->uniqueId(false).empty());
  host_->fireIdle(); // the pending rebuild runs unharmed
  EXPECT_EQ(r.control->advises, 1);
}

// A drawing may still carry error marks on its connectors from earlier
// use: the first build of a circuit takes them off, later builds do not.
TEST_F(Circuit, FirstBuildClearsLeftoverConnectorMarks) {
  Part r1 = add("TestRes", "1", 0, 0);
  Part r2 = add("TestRes", "1", 1, 0);
  Shape *connector = wire(r1, 1, r2, 0);
  connector->cellAt(1, 2, 2, true)->setQuietly("USE(\"Error Line Pattern\")");
  connector->cellAt(1, 2, 3, true)->setQuietly("2 pt.");
  ComPtr<IQorDev> device;
  ASSERT_EQ(circuit_->GetDev(r1.shape, device.receive()), S_OK);
  EXPECT_EQ(connector->cellAt(1, 2, 2, false)->formula(), "1");
  EXPECT_EQ(connector->cellAt(1, 2, 3, false)->formula(), "0.12 pt.");
  connector->cellAt(1, 2, 2, false)->setQuietly("USE(\"Error Line Pattern\")");
  host_->fireIdle(); // a rebuild, not the first
  EXPECT_EQ(connector->cellAt(1, 2, 2, false)->formula(), "USE(\"Error Line Pattern\")");
}

TEST_F(Circuit, PassLimitPublishesTheLastIterateAsUnconverged) {
  Part runaway = add("TestRunaway", "0", 0, 0);
  const LONG before = deviceLoads();
  EXPECT_EQ(circuit_->SolveDC(), S_FALSE);
  EXPECT_EQ(deviceLoads() - before, 1000);
  EXPECT_DOUBLE_EQ(volts(runaway, "A"), 1001.0);
  EXPECT_EQ(runaway.control->advises, 1);
  // Asked again, the same unconverged result, without new passes.
  EXPECT_EQ(circuit_->SolveDC(), S_FALSE);
  EXPECT_EQ(deviceLoads() - before, 1000);
}

// A resistor without ground fails the topology check: plus infinity
// instead of a singular matrix, and the controls are still advised.
TEST_F(Circuit, FloatingResistorPublishesInfinity) {
  Part r = add("TestRes", "1000", 0, 0);
  EXPECT_EQ(circuit_->SolveDC(), S_OK);
  EXPECT_EQ(volts(r, "A"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(volts(r, "B"), std::numeric_limits<double>::infinity());
  double reference = -1;
  EXPECT_EQ(vectors_->get_Solution(0, &reference), S_OK);
  EXPECT_EQ(reference, 0.0);
  EXPECT_EQ(r.control->advises, 1);
  EXPECT_EQ(circuit_->SolveDC(), S_OK);
  EXPECT_EQ(r.control->advises, 2);
}

TEST_F(Circuit, FailingDeviceStopsTheSolveWithItsError) {
  Drawing d = draw("V1 a 0 1; R1 a 0 10 TestBroken; G1 0");
  EXPECT_EQ(circuit_->SolveDC(), E_FAIL);
  EXPECT_EQ(d["R1"].control->advises, 0);
  EXPECT_EQ(circuit_->SolveDC(), E_FAIL); // still unsolved: it tries again
}

// A page without branches fails the topology check: the reference node
// is all there is to publish.
TEST_F(Circuit, EmptyPageHasNothingToSolve) {
  EXPECT_EQ(circuit_->SolveDC(), S_OK);
  double value = -1;
  EXPECT_EQ(vectors_->get_Solution(0, &value), S_OK);
  EXPECT_EQ(value, 0.0);
  EXPECT_EQ(vectors_->get_Solution(1, &value), E_INVALIDARG);
}

TEST_F(Circuit, IndexMapAndVariableTypes) {
  LONG i = 0;
  EXPECT_EQ(circuit_->IndexMapInsert(Bstr("N1").get(), &i), S_OK);
  EXPECT_EQ(i, 1);
  EXPECT_EQ(circuit_->IndexMapInsert(Bstr("N2").get(), &i), S_OK);
  EXPECT_EQ(i, 2);
  EXPECT_EQ(circuit_->IndexMapInsert(Bstr("N1").get(), &i), S_OK);
  EXPECT_EQ(i, 1);
  QorVariableTypes type = qorVarNoType;
  EXPECT_EQ(circuit_->get_VarType(0, &type), S_OK);
  EXPECT_EQ(type, qorVarVoltage);
  EXPECT_EQ(circuit_->get_VarType(3, &type), S_OK); // four entries
  EXPECT_EQ(circuit_->get_VarType(4, &type), E_INVALIDARG);
  EXPECT_EQ(circuit_->get_VarType(-1, &type), E_INVALIDARG);
  EXPECT_EQ(circuit_->get_VarType(0, nullptr), E_POINTER);
  EXPECT_EQ(circuit_->put_VarType(2, qorVarCurrent), S_OK);
  EXPECT_EQ(circuit_->get_VarType(2, &type), S_OK);
  EXPECT_EQ(type, qorVarCurrent);
  EXPECT_EQ(circuit_->IndexMapFind(Bstr("unknown").get(), &i), S_OK);
  EXPECT_EQ(i, -1);
  EXPECT_EQ(circuit_->IndexMapFind(nullptr, &i), E_INVALIDARG);
  EXPECT_EQ(circuit_->IndexMapInsert(Bstr("N3").get(), nullptr), E_POINTER);
}

TEST_F(Circuit, TopologyAndNakedPinArguments) {
  EXPECT_EQ(circuit_->TopologyInsert(-1, 0, 0, qorPathWire), E_INVALIDARG);
  EXPECT_EQ(circuit_->TopologyInsert(0, 0, -3, qorPathWire), E_INVALIDARG);
  EXPECT_EQ(circuit_->TopologyInsert(3, 7, 9, qorPathDcResist), S_OK);
  EXPECT_EQ(circuit_->put_NakedPin(0, VARIANT_TRUE), E_INVALIDARG);
  EXPECT_EQ(circuit_->put_NakedPin(0, VARIANT_FALSE), S_FALSE);
  EXPECT_EQ(circuit_->put_NakedPin(1, VARIANT_FALSE), E_INVALIDARG);
  VARIANT_BOOL flag = VARIANT_TRUE;
  EXPECT_EQ(circuit_->get_NakedPin(0, &flag), S_OK);
  EXPECT_EQ(flag, VARIANT_FALSE);
  EXPECT_EQ(circuit_->get_NakedPin(0, nullptr), E_POINTER);
}

TEST_F(Circuit, VectorsAreOutOfRangeUntilSolvedAndCheckIndices) {
  double value = 0;
  EXPECT_EQ(vectors_->get_Solution(0, &value), E_INVALIDARG);
  EXPECT_EQ(vectors_->get_Solution(0, nullptr), E_POINTER);
  draw("V1 a 0 2; G1 0; R1 a 0 5");
  ASSERT_EQ(circuit_->SolveDC(), S_OK);
  // Nets: P, M, BE of the source, A, BE of ground, A, B of r, and one
  // branch per wire.
  LONG next = 0;
  ASSERT_EQ(circuit_->IndexMapInsert(Bstr("probe").get(), &next), S_OK);
  const LONG nets = next - 1;
  EXPECT_EQ(vectors_->get_Solution(nets, &value), S_OK);
  EXPECT_EQ(vectors_->get_Solution(nets + 1, &value), E_INVALIDARG);
  EXPECT_EQ(vectors_->get_Solution(-1, &value), E_INVALIDARG);
  EXPECT_EQ(vectors_->put_Rhs(nets + 1, 1.0), E_INVALIDARG);
  EXPECT_EQ(vectors_->put_Rhs(nets, 1.0), S_OK);
  EXPECT_EQ(vectors_->get_Rhs(nets, &value), S_OK);
  EXPECT_EQ(value, 1.0);
}

TEST_F(Circuit, SecondRegistrationKeepsTheFirstControl) {
  Part first = add("TestRes", "1", 0, 0);
  Part second = control(first.shape, "TestRes", "2");
  EXPECT_EQ(registerPart(first, second.control.get()), S_OK);
  ComPtr<IQorOcx> found;
  ASSERT_EQ(circuit_->OcxMapFind(Bstr(first.key).get(), found.receive()), S_OK);
  EXPECT_EQ(found.get(), static_cast<IQorOcx *>(first.control.get()));
  EXPECT_EQ(circuit_->OcxMapFind(Bstr("{nobody}").get(), found.receive()), S_OK);
  EXPECT_FALSE(found);
  EXPECT_EQ(circuit_->OcxMapInsert(nullptr, first.shape, first.control.get(), VARIANT_FALSE),
            E_INVALIDARG);
}

TEST_F(Circuit, GetDevIffNeverBuildsButGetDevDoes) {
  Part r = add("TestRes", "1", 0, 0);
  ComPtr<IQorDev> device;
  EXPECT_EQ(circuit_->GetDevIff(r.shape, device.receive()), S_OK);
  EXPECT_FALSE(device);
  EXPECT_EQ(circuit_->DevMapFind(Bstr(r.key).get(), device.receive()), S_OK);
  EXPECT_FALSE(device);
  EXPECT_EQ(circuit_->GetDev(r.shape, device.receive()), S_OK);
  EXPECT_TRUE(device);
  ComPtr<IQorDev> again;
  EXPECT_EQ(circuit_->GetDevIff(r.shape, again.receive()), S_OK);
  EXPECT_EQ(again.get(), device.get());
  EXPECT_EQ(circuit_->GetDev(nullptr, again.receive()), E_INVALIDARG);
}

TEST_F(Circuit, ComponentsInstallInOrderOfPosition) {
  // Same PinX: ascending PinY. PinX 1.0 and 1.0000001 are two columns.
  Part high = add("TestRes", "1", 1.0, 2.0);
  Part low = add("TestRes", "1", 1.0, 1.0);
  Part right = add("TestRes", "1", 1.0000001, 0.0);
  Part left = add("TestRes", "1", 0.5, 9.0);
  ComPtr<IQorDev> device;
  ASSERT_EQ(circuit_->GetDev(low.shape, device.receive()), S_OK);
  EXPECT_EQ(index(left.key + "A"), 1);
  EXPECT_EQ(index(low.key + "A"), 3);
  EXPECT_EQ(index(high.key + "A"), 5);
  EXPECT_EQ(index(right.key + "A"), 7);
}

// A wire joins the nets of the pins at its ends; an end glued to nothing
// is a net of its own.
TEST_F(Circuit, WireJoinsThePinNetsOfItsEnds) {
  Part r1 = add("TestRes", "1", 0, 0);
  Part r2 = add("TestRes", "1", 1, 0);
  Shape *connector = wire(r1, 0, r2, 0);
  Shape *loose = page_->addShape(3, "Wire");
  loose->setOneD(true);
  page_->glue(loose, 9, r1.shape, 1);
  ComPtr<IQorDev> device, looseDevice;
  ASSERT_EQ(circuit_->GetDev(connector, device.receive()), S_OK);
  ASSERT_EQ(circuit_->GetDev(loose, looseDevice.receive()), S_OK);
  ComPtr<IQorWireDev> ends = device.query<IQorWireDev>();
  ComPtr<IQorWireDev> looseEnds = looseDevice.query<IQorWireDev>();
  ASSERT_TRUE(ends && looseEnds);
  const struct {
    IQorWireDev *wire;
    short end;
    std::string net;
  } cases[] = {{ends.get(), 9, r1.key + "A"},
               {ends.get(), 12, r2.key + "A"},
               {looseEnds.get(), 9, r1.key + "B"},
               {looseEnds.get(), 12, loose->uniqueId(false) + "END"}};
  for (const auto &c : cases) {
    LONG net = 0;
    EXPECT_EQ(c.wire->get_NetInfo(c.end, &net), S_OK);
    EXPECT_EQ(net, index(c.net)) << c.net;
  }
  EXPECT_EQ(ends->get_NetInfo(10, nullptr), E_INVALIDARG);
  EXPECT_EQ(ends->get_NetInfo(9, nullptr), E_POINTER);
  // The joining wire's branch carries a current; the free end a voltage.
  QorVariableTypes type = qorVarNoType;
  EXPECT_EQ(circuit_->get_VarType(index(connector->uniqueId(false) + "BE"), &type), S_OK);
  EXPECT_EQ(type, qorVarCurrent);
  EXPECT_EQ(circuit_->get_VarType(index(loose->uniqueId(false) + "END"), &type), S_OK);
  EXPECT_EQ(type, qorVarVoltage);
  EXPECT_EQ(index(connector->uniqueId(false) + "BEG"), -1);
  EXPECT_EQ(index(connector->uniqueId(false) + "END"), -1);
  BSTR element = nullptr, model = nullptr;
  EXPECT_EQ(device->SpiceInfo(&element, &model), S_OK);
  EXPECT_EQ(element, nullptr);
  EXPECT_EQ(model, nullptr);
}

TEST_F(Circuit, WireGluedTwiceToOneComponentIsInstalledOnce) {
  Part r = add("TestRes", "1", 0, 0);
  wire(r, 0, r, 1);
  ComPtr<IQorDev> device;
  ASSERT_EQ(circuit_->GetDev(r.shape, device.receive()), S_OK);
  // A and B of the resistor and one branch: one variable type per name.
  QorVariableTypes type = qorVarNoType;
  EXPECT_EQ(circuit_->get_VarType(3, &type), S_OK);
  EXPECT_EQ(circuit_->get_VarType(4, &type), E_INVALIDARG);
}

TEST_F(Circuit, MatrixHandsOutElementHandles) {
  ComPtr<IQorSparseMatrix> matrix;
  EXPECT_EQ(vectors_->get_Matrix(nullptr), E_POINTER);
  ASSERT_EQ(vectors_->get_Matrix(matrix.receive()), S_OK);
  ComPtr<IQorSparseEntry> entry;
  // No matrix before a solve sizes it.
  EXPECT_EQ(matrix->InstallMatrixEntry(1, 1, entry.receive()), E_INVALIDARG);
  EXPECT_EQ(matrix->InstallMatrixEntry(1, 1, nullptr), E_POINTER);
  IQorSparseEntry *e[4] = {};
  EXPECT_EQ(matrix->InstallMatrixTransadmittance(1, 2, 1, 2, &e[0], &e[1], nullptr, &e[3]),
            E_POINTER);

  draw("V1 a 0 1; R1 a 0 1; G1 0");
  ASSERT_EQ(circuit_->SolveDC(), S_OK);
  ComPtr<IQorSparseEntry> trash, again;
  ASSERT_EQ(matrix->InstallMatrixEntry(0, 3, trash.receive()), S_OK);
  ASSERT_EQ(matrix->InstallMatrixEntry(2, 0, again.receive()), S_OK);
  EXPECT_EQ(trash.get(), again.get());
  EXPECT_EQ(trash->get_RealValue(nullptr), E_POINTER);
  ASSERT_EQ(matrix->InstallMatrixTransadmittance(0, 1, 0, 1, &e[0], &e[1], &e[2], &e[3]), S_OK);
  // (0, 0) is trash, so the first two change places: pEntry1 is (1, 1).
  EXPECT_EQ(e[1], trash.get());
  EXPECT_NE(e[0], trash.get());
  EXPECT_EQ(e[2], trash.get());
  EXPECT_EQ(e[3], trash.get());
  for (IQorSparseEntry *p : e)
    p->Release();
}

} // namespace
