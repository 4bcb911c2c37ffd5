#include "passive-lib/core/component-templates.h"

namespace passive {
namespace {

#define NO_VALUE "IEEE=\"0XFFFFFFFFFFFFFFFF\""
#define RESULT_ITEM(name, tip, dim)                                                                \
  "<ITEM NAME=\"" name "\" TIP=\"" tip "\" DIM=\"" dim "\" SHOWNAME=\"\" SHOWDIM=\"\" " NO_VALUE
#define METRIC_2 " FORMAT=\"3\" DIGITS=\"2\""

const char Ground[] =
    "<DEVICE NAME=\"Ground\" OCXNAME=\"QOR Ground OCX\" STATUS=\"0x0\" DEVPROGID=\"QOR.GndDev\" "
    "VERSION=\"%s\" CREATED=\"%s\">"
    "<RESULT ORDER=\"0\" LAYER=\"Simulation\">" RESULT_ITEM("Idc", "DC operating current", "A")
        METRIC_2 " CHS=\"0\"/>"
                 "</RESULT></DEVICE>";

// The sources' identifier items carry RANGE="ID" like every other kind's:
// the parameters page checks an identifier only by its RANGE, and an
// unchecked one ("1V", "") would reach the circuit's numbering and the
// netlist as the part's name.
const char PowerRail[] =
    "<DEVICE NAME=\"DC Voltage Source\" OCXNAME=\"QOR PWR OCX\" STATUS=\"0x0\" "
    "DEVPROGID=\"QOR.PwrDev\" VERSION=\"%s\" CREATED=\"%s\">"
    "<PARAMS ORDER=\"0 1\">"
    "<ITEM NAME=\"ID\" TIP=\"Component identifier\" DEFAULT=\"V?\" TEXTONLY=\"\" RANGE=\"ID\"/>"
    "<ITEM NAME=\"Vdc\" TIP=\"DC Voltage\" DIM=\"V\" SHOWDIM=\"\" SELECT=\"\" DEFAULT=\"6\" "
    "FORMAT=\"3\" DIGITS=\"1\"/>"
    "</PARAMS><RESULT ORDER=\"1\" LAYER=\"Simulation\">" RESULT_ITEM("Pdc", "DC operating power",
                                                                     "W") METRIC_2
    "/>" RESULT_ITEM("Idc", "DC operating current", "A") METRIC_2 " CHS=\"0\"/></RESULT></DEVICE>";

const char Resistor[] =
    "<DEVICE NAME=\"Resistor\" OCXNAME=\"QOR Resistor OCX\" STATUS=\"0x0\" "
    "DEVPROGID=\"QOR.ResDev\" VERSION=\"%s\" CREATED=\"%s\">"
    "<PARAMS ORDER=\"0 1\">"
    "<ITEM NAME=\"ID\" TIP=\"Component identifier\" DEFAULT=\"R?\" TEXTONLY=\"\" RANGE=\"ID\"/>"
    "<ITEM NAME=\"R\" TIP=\"Resistance\" DIM=\"ohm\" SHOWDIM=\"\" SELECT=\"\" DEFAULT=\"1000\" "
    "RANGE=\"POS\" FORMAT=\"3\" DIGITS=\"1\"/>"
    "</PARAMS><RESULT ORDER=\"2\" LAYER=\"Simulation\">" RESULT_ITEM("Pdc", "DC power dissipation",
                                                                     "W") METRIC_2
    "/>" RESULT_ITEM("Vdc", "DC operating voltage", "V") METRIC_2
    " CHS=\"0\"/>" RESULT_ITEM("Idc", "DC operating current", "A") METRIC_2
    " CHS=\"0\"/></RESULT></DEVICE>";

const char Inductor[] =
    "<DEVICE NAME=\"Inductor\" OCXNAME=\"QOR Inductor OCX\" STATUS=\"0x0\" "
    "DEVPROGID=\"QOR.IndDev\" VERSION=\"%s\" CREATED=\"%s\">"
    "<PARAMS ORDER=\"0 1\">"
    "<ITEM NAME=\"ID\" TIP=\"Component identifier\" DEFAULT=\"L?\" TEXTONLY=\"\" RANGE=\"ID\"/>"
    "<ITEM NAME=\"L\" TIP=\"Inductance\" DIM=\"H\" SHOWDIM=\"\" SELECT=\"\" DEFAULT=\"1E-9\" "
    "RANGE=\"POS\" FORMAT=\"3\" DIGITS=\"1\"/>"
    "</PARAMS><RESULT ORDER=\"0\" LAYER=\"Simulation\">" RESULT_ITEM(
        "Idc", "DC operating current", "A") METRIC_2 " CHS=\"0\"/>" RESULT_ITEM("Edc",
                                                                                "DC potential "
                                                                                "energy",
                                                                                "J") METRIC_2
    "/>" RESULT_ITEM("Phi", "DC magnetic flux", "Wb") METRIC_2 " CHS=\"0\"/></RESULT></DEVICE>";

const char Capacitor[] =
    "<DEVICE NAME=\"Capacitor\" OCXNAME=\"QOR Capacitor OCX\" STATUS=\"0x0\" "
    "DEVPROGID=\"QOR.CapDev\" VERSION=\"%s\" CREATED=\"%s\">"
    "<PARAMS ORDER=\"0 1\">"
    "<ITEM NAME=\"ID\" TIP=\"Component identifier\" DEFAULT=\"C?\" TEXTONLY=\"\" RANGE=\"ID\"/>"
    "<ITEM NAME=\"C\" TIP=\"Capacitance\" DIM=\"F\" SHOWDIM=\"\" SELECT=\"\" DEFAULT=\"1E-12\" "
    "RANGE=\"POS\" FORMAT=\"3\" DIGITS=\"1\"/>"
    "</PARAMS><RESULT ORDER=\"0\" LAYER=\"Simulation\">" RESULT_ITEM(
        "Vdc", "DC operating voltage", "V") METRIC_2 " CHS=\"0\"/>" RESULT_ITEM("Edc",
                                                                                "DC potential "
                                                                                "energy",
                                                                                "J") METRIC_2
    "/>" RESULT_ITEM("Qdc", "DC electric charge", "C") METRIC_2 " CHS=\"0\"/></RESULT></DEVICE>";

const char DcSource[] =
    "<DEVICE NAME=\"DC Voltage Source\" OCXNAME=\"QOR VDC OCX\" STATUS=\"0x0\" "
    "DEVPROGID=\"QOR.VdcDev\" VERSION=\"%s\" CREATED=\"%s\">"
    "<PARAMS ORDER=\"0 1\">"
    "<ITEM NAME=\"ID\" TIP=\"Component identifier\" DEFAULT=\"V?\" TEXTONLY=\"\" RANGE=\"ID\"/>"
    "<ITEM NAME=\"Vdc\" TIP=\"DC Voltage\" DIM=\"V\" SHOWDIM=\"\" SELECT=\"\" DEFAULT=\"6\" "
    "FORMAT=\"3\" DIGITS=\"1\"/>"
    "</PARAMS><RESULT ORDER=\"1\" LAYER=\"Simulation\">" RESULT_ITEM("Pdc", "DC operating power",
                                                                     "W") METRIC_2
    "/>" RESULT_ITEM("Idc", "DC operating current", "A") METRIC_2 " CHS=\"0\"/></RESULT></DEVICE>";

} // namespace

const char *componentTemplate(ComponentKind kind) {
  switch (kind) {
  case ComponentKind::Ground:
    return Ground;
  case ComponentKind::PowerRail:
    return PowerRail;
  case ComponentKind::Resistor:
    return Resistor;
  case ComponentKind::Inductor:
    return Inductor;
  case ComponentKind::Capacitor:
    return Capacitor;
  case ComponentKind::DcSource:
    return DcSource;
  }
  return Ground;
}

std::string filledTemplate(ComponentKind kind, const std::string &version,
                           const std::string &created) {
  std::string text = componentTemplate(kind);
  const std::size_t first = text.find("%s");
  text.replace(first, 2, version);
  const std::size_t second = text.find("%s", first + version.size());
  text.replace(second, 2, created);
  return text;
}

} // namespace passive
