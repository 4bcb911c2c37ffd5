#include "passive-lib/core/component-templates.h"

namespace passive {
namespace {

// Each template is the XML text itself, one element (or part of a long
// one) per line; the pieces join without separators.
const char Ground[] =
    R"(<DEVICE NAME="Ground" OCXNAME="QOR Ground OCX" STATUS="0x0" DEVPROGID="QOR.GndDev")"
    R"( VERSION="%s" CREATED="%s">)"
    R"(<RESULT ORDER="0" LAYER="Simulation">)"
    R"(<ITEM NAME="Idc" TIP="DC operating current" DIM="A" SHOWNAME="" SHOWDIM="")"
    R"( IEEE="0XFFFFFFFFFFFFFFFF" FORMAT="3" DIGITS="2" CHS="0"/>)"
    R"(</RESULT>)"
    R"(</DEVICE>)";

// The sources' identifier items carry RANGE="ID" like every other kind's:
// the parameters page checks an identifier only by its RANGE, and an
// unchecked one ("1V", "") would reach the circuit's numbering and the
// netlist as the part's name.
const char PowerRail[] =
    R"(<DEVICE NAME="DC Voltage Source" OCXNAME="QOR PWR OCX" STATUS="0x0")"
    R"( DEVPROGID="QOR.PwrDev" VERSION="%s" CREATED="%s">)"
    R"(<PARAMS ORDER="0 1">)"
    R"(<ITEM NAME="ID" TIP="Component identifier" DEFAULT="V?" TEXTONLY="" RANGE="ID"/>)"
    R"(<ITEM NAME="Vdc" TIP="DC Voltage" DIM="V" SHOWDIM="" SELECT="" DEFAULT="6")"
    R"( FORMAT="3" DIGITS="1"/>)"
    R"(</PARAMS>)"
    R"(<RESULT ORDER="1" LAYER="Simulation">)"
    R"(<ITEM NAME="Pdc" TIP="DC operating power" DIM="W" SHOWNAME="" SHOWDIM="")"
    R"( IEEE="0XFFFFFFFFFFFFFFFF" FORMAT="3" DIGITS="2"/>)"
    R"(<ITEM NAME="Idc" TIP="DC operating current" DIM="A" SHOWNAME="" SHOWDIM="")"
    R"( IEEE="0XFFFFFFFFFFFFFFFF" FORMAT="3" DIGITS="2" CHS="0"/>)"
    R"(</RESULT>)"
    R"(</DEVICE>)";

const char Resistor[] =
    R"(<DEVICE NAME="Resistor" OCXNAME="QOR Resistor OCX" STATUS="0x0")"
    R"( DEVPROGID="QOR.ResDev" VERSION="%s" CREATED="%s">)"
    R"(<PARAMS ORDER="0 1">)"
    R"(<ITEM NAME="ID" TIP="Component identifier" DEFAULT="R?" TEXTONLY="" RANGE="ID"/>)"
    R"(<ITEM NAME="R" TIP="Resistance" DIM="ohm" SHOWDIM="" SELECT="" DEFAULT="1000")"
    R"( RANGE="POS" FORMAT="3" DIGITS="1"/>)"
    R"(</PARAMS>)"
    R"(<RESULT ORDER="2" LAYER="Simulation">)"
    R"(<ITEM NAME="Pdc" TIP="DC power dissipation" DIM="W" SHOWNAME="" SHOWDIM="")"
    R"( IEEE="0XFFFFFFFFFFFFFFFF" FORMAT="3" DIGITS="2"/>)"
    R"(<ITEM NAME="Vdc" TIP="DC operating voltage" DIM="V" SHOWNAME="" SHOWDIM="")"
    R"( IEEE="0XFFFFFFFFFFFFFFFF" FORMAT="3" DIGITS="2" CHS="0"/>)"
    R"(<ITEM NAME="Idc" TIP="DC operating current" DIM="A" SHOWNAME="" SHOWDIM="")"
    R"( IEEE="0XFFFFFFFFFFFFFFFF" FORMAT="3" DIGITS="2" CHS="0"/>)"
    R"(</RESULT>)"
    R"(</DEVICE>)";

const char Inductor[] =
    R"(<DEVICE NAME="Inductor" OCXNAME="QOR Inductor OCX" STATUS="0x0")"
    R"( DEVPROGID="QOR.IndDev" VERSION="%s" CREATED="%s">)"
    R"(<PARAMS ORDER="0 1">)"
    R"(<ITEM NAME="ID" TIP="Component identifier" DEFAULT="L?" TEXTONLY="" RANGE="ID"/>)"
    R"(<ITEM NAME="L" TIP="Inductance" DIM="H" SHOWDIM="" SELECT="" DEFAULT="1E-9")"
    R"( RANGE="POS" FORMAT="3" DIGITS="1"/>)"
    R"(</PARAMS>)"
    R"(<RESULT ORDER="0" LAYER="Simulation">)"
    R"(<ITEM NAME="Idc" TIP="DC operating current" DIM="A" SHOWNAME="" SHOWDIM="")"
    R"( IEEE="0XFFFFFFFFFFFFFFFF" FORMAT="3" DIGITS="2" CHS="0"/>)"
    R"(<ITEM NAME="Edc" TIP="DC potential energy" DIM="J" SHOWNAME="" SHOWDIM="")"
    R"( IEEE="0XFFFFFFFFFFFFFFFF" FORMAT="3" DIGITS="2"/>)"
    R"(<ITEM NAME="Phi" TIP="DC magnetic flux" DIM="Wb" SHOWNAME="" SHOWDIM="")"
    R"( IEEE="0XFFFFFFFFFFFFFFFF" FORMAT="3" DIGITS="2" CHS="0"/>)"
    R"(</RESULT>)"
    R"(</DEVICE>)";

const char Capacitor[] =
    R"(<DEVICE NAME="Capacitor" OCXNAME="QOR Capacitor OCX" STATUS="0x0")"
    R"( DEVPROGID="QOR.CapDev" VERSION="%s" CREATED="%s">)"
    R"(<PARAMS ORDER="0 1">)"
    R"(<ITEM NAME="ID" TIP="Component identifier" DEFAULT="C?" TEXTONLY="" RANGE="ID"/>)"
    R"(<ITEM NAME="C" TIP="Capacitance" DIM="F" SHOWDIM="" SELECT="" DEFAULT="1E-12")"
    R"( RANGE="POS" FORMAT="3" DIGITS="1"/>)"
    R"(</PARAMS>)"
    R"(<RESULT ORDER="0" LAYER="Simulation">)"
    R"(<ITEM NAME="Vdc" TIP="DC operating voltage" DIM="V" SHOWNAME="" SHOWDIM="")"
    R"( IEEE="0XFFFFFFFFFFFFFFFF" FORMAT="3" DIGITS="2" CHS="0"/>)"
    R"(<ITEM NAME="Edc" TIP="DC potential energy" DIM="J" SHOWNAME="" SHOWDIM="")"
    R"( IEEE="0XFFFFFFFFFFFFFFFF" FORMAT="3" DIGITS="2"/>)"
    R"(<ITEM NAME="Qdc" TIP="DC electric charge" DIM="C" SHOWNAME="" SHOWDIM="")"
    R"( IEEE="0XFFFFFFFFFFFFFFFF" FORMAT="3" DIGITS="2" CHS="0"/>)"
    R"(</RESULT>)"
    R"(</DEVICE>)";

const char DcSource[] =
    R"(<DEVICE NAME="DC Voltage Source" OCXNAME="QOR VDC OCX" STATUS="0x0")"
    R"( DEVPROGID="QOR.VdcDev" VERSION="%s" CREATED="%s">)"
    R"(<PARAMS ORDER="0 1">)"
    R"(<ITEM NAME="ID" TIP="Component identifier" DEFAULT="V?" TEXTONLY="" RANGE="ID"/>)"
    R"(<ITEM NAME="Vdc" TIP="DC Voltage" DIM="V" SHOWDIM="" SELECT="" DEFAULT="6")"
    R"( FORMAT="3" DIGITS="1"/>)"
    R"(</PARAMS>)"
    R"(<RESULT ORDER="1" LAYER="Simulation">)"
    R"(<ITEM NAME="Pdc" TIP="DC operating power" DIM="W" SHOWNAME="" SHOWDIM="")"
    R"( IEEE="0XFFFFFFFFFFFFFFFF" FORMAT="3" DIGITS="2"/>)"
    R"(<ITEM NAME="Idc" TIP="DC operating current" DIM="A" SHOWNAME="" SHOWDIM="")"
    R"( IEEE="0XFFFFFFFFFFFFFFFF" FORMAT="3" DIGITS="2" CHS="0"/>)"
    R"(</RESULT>)"
    R"(</DEVICE>)";

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
