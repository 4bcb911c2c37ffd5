// What a "Parameters" page does to the PARAMS section: its rows, the
// selection (SELECT), the check boxes (ORDER), stepping the selected value
// with the page's rounding combo (ROUND, TEXT, IEEE, DIGITS), the spin
// tooltip, and checking an entry typed into the list. The resistor,
// inductor and capacitor page (series and digits, "ID" and "POS" checks)
// and the source page (digits only, every number checked) differ only in
// their Flavour.
#ifndef PASSIVE_LIB_UIKIT_CORE_PARAMS_PAGE_MODEL_H
#define PASSIVE_LIB_UIKIT_CORE_PARAMS_PAGE_MODEL_H

#include "passive-lib/uikit/core/entry-check.h"
#include "passive-lib/uikit/core/page-element.h"
#include "passive-lib/uikit/core/result-page-model.h"

#include <optional>
#include <string>
#include <utility>

namespace passive {

enum class ParamsFlavour {
  Passive, // combo "std. 20%" .. "4th digit", Engineering texts, "ERROR" for no value
  Source,  // combo "2nd digit" .. "4th digit", General step texts, empty for no value
};

// The combo entries of each flavour, in index order.
const char *const *roundEntries(ParamsFlavour flavour, int &count);
int defaultRoundIndex(ParamsFlavour flavour);

// The spin tooltip after a refresh.
struct AdjustTip {
  enum Kind { Unchanged, TipsOff, Text } kind = Unchanged;
  std::string text;
};

// The end of an in-place edit.
struct EntryOutcome {
  enum Kind { Cancelled, Accepted, Refused } kind = Cancelled;
  std::string message; // the refusal's text
};

class ParamsPageModel {
public:
  // partId: the identifier the drawing shows for the part, which the
  // identifier row shows while the user has typed none (or one the circuit
  // numbers, with a "?").
  ParamsPageModel(PageSection &section, ParamsFlavour flavour, std::string partId = std::string())
      : section_(section), flavour_(flavour), partId_(std::move(partId)) {}

  int rowCount() const { return static_cast<int>(section_.items.size()); }
  ItemRow row(int row) const;
  bool shown(int row) const;
  // The first row whose item has SELECT, -1 when none.
  int selectedAtStart() const;
  // A numeric row's item has no TEXTONLY: spin and combo work on it.
  bool numeric(int row) const;
  // ROUND of a numeric row, when present.
  std::optional<int> round(int row) const;

  // Selection changes: SELECT set on the gaining row, removed from the
  // losing one.
  void selectionChanged(int row, bool selected);
  bool checkChanged(int row, bool checked);

  // The spin tooltip for the selected row and the combo index (-1: none);
  // writes ROUND of a numeric row.
  AdjustTip refreshAdjust(int selectedRow, int roundIndex);
  // A spin step of the selected row: writes ROUND, the stepped TEXT
  // (removing IEEE) and raises DIGITS; the row's new text, or nothing when
  // nothing was stepped (no row, a text row, no combo selection, a value
  // with no neighbours).
  std::optional<std::string> step(int selectedRow, int roundIndex, int delta);
  // An in-place edit ended with text (null: cancelled, nothing changes):
  // accepted texts go into TEXT and IEEE is removed.
  EntryOutcome endEdit(int row, const char *text);

private:
  PageElement *item(int row) const;

  PageSection &section_;
  ParamsFlavour flavour_;
  std::string partId_;
};

} // namespace passive

#endif
