// The items of a list box, combo box or radio group.
#ifndef COMPONENTS_WIN32_CONTROL_ITEMS_H
#define COMPONENTS_WIN32_CONTROL_ITEMS_H

#include "platform/components/win32/controls.h"

#include <string>
#include <vector>

namespace components {

// The items of a list box, combo box or radio group: kept here and
// mirrored into the control's window.
class TControlItems {
public:
  struct Messages {
    UINT add, insert, remove, reset;
  };
  TControlItems(TWinControl &control, Messages messages);

  int Count() const { return static_cast<int>(items_.size()); }
  const std::string &Strings(int index) const { return items_.at(index).text; }
  const std::string &operator[](int index) const { return Strings(index); }
  void *Objects(int index) const { return items_.at(index).object; }
  void PutObject(int index, void *object) { items_.at(index).object = object; }
  int Add(const std::string &text) { return AddObject(text, nullptr); }
  int AddObject(const std::string &text, void *object);
  void Insert(int index, const std::string &text);
  void Put(int index, const std::string &text);
  void Delete(int index);
  void Clear();
  void Exchange(int a, int b);
  // Case-insensitive, as string lists compare; -1 when absent.
  int IndexOf(const std::string &text) const;
  // Lines joined by CR LF; setting splits at CR LF, LF or CR.
  std::string Text() const;
  void SetText(const std::string &text);

  // Puts every item into a window made after the items were set.
  void fillWindow();
  TNotifyEvent OnChange;

private:
  friend class TComboBox;
  void insertIntoWindow(int index);
  // Replaces the stored items only; the owner fills its window itself.
  void replaceStored(const std::vector<std::string> &texts);

  struct Item {
    std::string text;
    void *object;
  };
  TWinControl &control_;
  Messages messages_;
  std::vector<Item> items_;
};

} // namespace components

#endif
