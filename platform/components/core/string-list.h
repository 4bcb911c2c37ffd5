// String lists: an ordered list of 8-bit strings, optionally kept sorted,
// compared case-insensitively unless CaseSensitive is set. Text joins the
// entries with CR LF.
#ifndef COMPONENTS_STRING_LIST_H
#define COMPONENTS_STRING_LIST_H

#include "platform/components/core/event.h"

#include <string>
#include <vector>

namespace components {

class TStream;

enum class TDuplicates { dupIgnore, dupAccept, dupError };

// Case-insensitive comparison of 8-bit text as the lists use it: letters of
// the ANSI code page fold to lower case; otherwise byte order.
int CompareText(const std::string &a, const std::string &b);
bool SameText(const std::string &a, const std::string &b);
std::string LowerCase(const std::string &text);
std::string UpperCase(const std::string &text);

class TStringList : public TObject {
public:
  TStringList() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  const std::string &Strings(int index) const;
  const std::string &operator[](int index) const { return Strings(index); }
  void Put(int index, std::string text);

  // Adds text (at its sorted place when Sorted); answers its index. A
  // duplicate in a sorted list is ignored (answering the existing index),
  // accepted or refused with EStringListError as Duplicates says.
  int Add(std::string text);
  void AddStrings(const TStringList &other);
  void Delete(int index);
  void Clear();
  void Assign(const TStringList &other);

  int IndexOf(const std::string &text) const;
  // Binary search of a sorted list: true when found; index is the place of
  // the match or where text would be inserted.
  bool Find(const std::string &text, int &index) const;

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  void Sort();
  void SetCaseSensitive(bool caseSensitive);
  void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }

  // Entries joined by CR LF (each entry ends with one). Setting splits at
  // CR LF, LF or CR.
  std::string Text() const;
  void SetText(const std::string &text);

  void LoadFromStream(TStream &stream);
  void LoadFromFile(const std::string &fileName);

  TNotifyEvent OnChange;

private:
  int compare(const std::string &a, const std::string &b) const;
  void changed();

  struct Item {
    std::string text;
  };
  void addAll(std::vector<Item> items);
  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = TDuplicates::dupIgnore;
};

} // namespace components

#endif
