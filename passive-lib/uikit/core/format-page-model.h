// What the "Format" page does to the PARAMS and RESULT sections: it lists
// the shown items of each as their label text, loads the selected item's
// display settings into the page's controls (writing nothing), writes each
// changed setting back, moves items in the display order and puts the
// results on the "Simulation" layer.
#ifndef PASSIVE_LIB_UIKIT_CORE_FORMAT_PAGE_MODEL_H
#define PASSIVE_LIB_UIKIT_CORE_FORMAT_PAGE_MODEL_H

#include "passive-lib/uikit/core/page-element.h"

#include <optional>
#include <string>
#include <utility>

namespace passive {

enum class FormatSide { Params = 0, Results = 1 };

// The controls' state for one item.
struct ItemSettings {
  bool numeric = false;      // format combo, precision edit and spin enabled
  std::optional<int> format; // combo selection to make, when FORMAT is present
  std::optional<int> digits; // precision spin position, when DIGITS is present
  bool changeSignEnabled = false;
  bool changeSignChecked = false;
  bool showNameChecked = false;
  bool showUnitsEnabled = false;
  bool showUnitsChecked = false;
};

enum class ItemSetting { ChangeSign, ShowName, ShowUnits, Format, Digits };

class FormatPageModel {
public:
  FormatPageModel(PageSection &params, PageSection &results, std::string partId)
      : params_(params), results_(results), partId_(std::move(partId)) {}

  // The identifier the rows of the identifier item show.
  void setPartId(std::string partId) { partId_ = std::move(partId); }

  int rowCount(FormatSide side) const;
  // The label text of the row's item, as the drawing shows it.
  std::string rowText(FormatSide side, int row) const;
  bool layerOn() const;

  // The settings of the row's item; reads only. Nothing for a row outside
  // the list.
  std::optional<ItemSettings> load(FormatSide side, int row) const;
  // Writes one setting of the row's item (a check box's state, the combo
  // index or the spin position) and returns the row's new text; nothing
  // for a row outside the list.
  std::optional<std::string> change(FormatSide side, int row, ItemSetting setting, int value);
  void setLayer(bool on);
  // Moves the row one place (positive delta: earlier) and rewrites ORDER;
  // the row it went to, or nothing.
  std::optional<int> move(FormatSide side, int row, int delta);

private:
  PageSection &section(FormatSide side) const {
    return side == FormatSide::Params ? params_ : results_;
  }
  PageElement *item(FormatSide side, int row) const;

  PageSection &params_;
  PageSection &results_;
  std::string partId_;
};

} // namespace passive

#endif
