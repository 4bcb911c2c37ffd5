#include "semi-lib/core/semi-templates.h"

#include "semi-lib/core/model-library.h"

#include <vector>

namespace semi {
namespace {

#define NO_VALUE " IEEE=\"0XFFFFFFFFFFFFFFFF\" FORMAT=\"3\" DIGITS=\"2\""
#define RESULT_ITEM(name, tip, dim)                                                                \
  "<ITEM NAME=\"" name "\" TIP=\"" tip "\" DIM=\"" dim "\" SHOWNAME=\"\" SHOWDIM=\"\"" NO_VALUE "/>"
#define CURRENT_ITEM(name, tip)                                                                    \
  "<ITEM NAME=\"" name "\" TIP=\"" tip "\" DIM=\"A\" SHOWNAME=\"\" SHOWDIM=\"\"" NO_VALUE          \
  " CHS=\"0\"/>"
#define PLAIN_ITEM(name, tip) "<ITEM NAME=\"" name "\" TIP=\"" tip "\" SHOWNAME=\"\"" NO_VALUE "/>"

#define BJT_HEAD(name, ocx, dev)                                                                   \
  "<DEVICE NAME=\"" name "\" OCXNAME=\"" ocx "\" STATUS=\"0x0\" DEVPROGID=\"" dev "\" "            \
  "VERSION=\"%s\" CREATED=\"%s\"><PARAMS ORDER=\"0 1\" VERSION=\"1.0\"></PARAMS>"                  \
  "<RESULT ORDER=\"4\" LAYER=\"Simulation\">"

#define BJT_RESULTS                                                                                \
  RESULT_ITEM("Pdc", "DC power dissipation", "W")                                                  \
  RESULT_ITEM("Vc", "DC collector voltage", "V")                                                   \
  RESULT_ITEM("Vb", "DC base voltage", "V")                                                        \
  RESULT_ITEM("Ve", "DC emitter voltage", "V")                                                     \
  CURRENT_ITEM("Ic", "DC collector current")                                                       \
  CURRENT_ITEM("Ib", "DC base current")                                                            \
  CURRENT_ITEM("Ie", "DC emitter current")                                                         \
  RESULT_ITEM("Vbe", "DC base-emitter voltage", "V")                                               \
  RESULT_ITEM("Vbc", "DC base-collector voltage", "V")                                             \
  RESULT_ITEM("Vce", "DC collector-emitter voltage", "V")                                          \
  RESULT_ITEM("Vbe(int)", "Internal DC base-emitter voltage", "V")                                 \
  RESULT_ITEM("Vbc(int)", "Internal DC base-collector voltage", "V")                               \
  RESULT_ITEM("Vce(int)", "Internal DC collector-emitter voltage", "V")                            \
  PLAIN_ITEM("beta(DC)", "DC forward gain (Ic/Ib)")                                                \
  PLAIN_ITEM("beta(AC)", "Dynamic forward gain")                                                   \
  RESULT_ITEM("gm", "Hybrid-pi forward transconductance", "mho")                                   \
  RESULT_ITEM("rpi", "Hybrid-pi dynamic b-e resistance", "ohm")                                    \
  RESULT_ITEM("cpi", "Hybrid-pi dynamic b-e capacitance", "F")                                     \
  RESULT_ITEM("rmu", "Hybrid-pi dynamic c-b resistance", "ohm")                                    \
  RESULT_ITEM("cmu", "Hybrid-pi dynamic c-b capacitance", "F")                                     \
  RESULT_ITEM("ro", "Hybrid-pi dynamic c-e resistance", "ohm")                                     \
  RESULT_ITEM("fT", "Common-emitter gain-bandwidth product", "Hz")                                 \
  RESULT_ITEM("fbeta", "Common-emitter beta cutoff frequency", "Hz")                               \
  "</RESULT></DEVICE>"

const char Npn[] = BJT_HEAD("NPN Transistor", "QOR BjtNpn OCX", "QOR.BjtNpnDev") BJT_RESULTS;
const char Pnp[] = BJT_HEAD("PNP Transistor", "QOR BjtPnp OCX", "QOR.BjtPnpDev") BJT_RESULTS;

const char Diode[] =
    "<DEVICE NAME=\"Diode\" OCXNAME=\"QOR Diode OCX\" STATUS=\"0x0\" DEVPROGID=\"QOR.DiodeDev\" "
    "VERSION=\"%s\" CREATED=\"%s\"><PARAMS ORDER=\"0 1\" VERSION=\"1.0\"></PARAMS>"
    "<RESULT ORDER=\"2\" LAYER=\"Simulation\">" RESULT_ITEM("Pdc", "DC power dissipation", "W")
        RESULT_ITEM("Vdc", "Forward DC voltage", "V") RESULT_ITEM("Idc", "Forward DC current", "A")
            RESULT_ITEM("Vj", "Forward junction voltage", "V")
                RESULT_ITEM("Qj", "Junction electric charge", "C")
                    RESULT_ITEM("rd", "Differential junction resistance (dVj/dIj)", "ohm")
                        RESULT_ITEM("gd", "Differential junction conductance (dIj/dVj)", "mho")
                            RESULT_ITEM("cd", "Differential junction capacitance (dQj/dVj)",
                                        "F") "</RESULT></DEVICE>";

} // namespace

const char *componentTemplate(SemiKind kind) {
  switch (kind) {
  case SemiKind::Diode:
    return Diode;
  case SemiKind::Npn:
    return Npn;
  case SemiKind::Pnp:
    return Pnp;
  }
  return Npn;
}

std::string filledTemplate(SemiKind kind, const std::string &version, const std::string &created) {
  std::string format = componentTemplate(kind);
  std::string text;
  const std::string *values[] = {&version, &created};
  size_t next = 0, from = 0;
  for (size_t at; (at = format.find("%s", from)) != std::string::npos; from = at + 2) {
    text.append(format, from, at - from);
    if (next < 2)
      text += *values[next++];
  }
  text.append(format, from, std::string::npos);
  return text;
}

int mergeLibraryParams(xml::Document &component, const xml::Document &library) {
  xml::Element *target = component.root() ? component.root()->child("PARAMS") : nullptr;
  const xml::Element *source = library.root() ? library.root()->child("PARAMS") : nullptr;
  if (!target || !source)
    return 0;
  int added = 0;
  for (const xml::Element *param : source->children()) {
    xml::Element *item = target->addChild("ITEM");
    for (const NamedValue &attribute : attributesOf(*param))
      item->setAttribute(attribute.name, attribute.value);
    ++added;
  }
  return added;
}

SemiComponent buildComponent(SemiKind kind, const std::string &version, const std::string &created,
                             const std::string &libraryText) {
  SemiComponent component;
  component.dataStr1 = filledTemplate(kind, version, created);
  xml::ParseError error;
  // The templates are ours and always parse.
  component.document.load(component.dataStr1, error);
  if (libraryText.empty())
    return component;
  component.libraryText = libraryText;
  xml::Document library;
  if (!loadKeepingRepeats(library, libraryText, error))
    return component;
  component.libraryParsed = true;
  mergeLibraryParams(component.document, library);
  return component;
}

} // namespace semi
