// String lists: an ordered list of 8-bit strings with an optional object
// pointer per entry, optionally kept sorted, compared case-insensitively
// unless CaseSensitive is set. Text joins the entries with CR LF.
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
  // Room for entries before the list must grow; never less than Count. A
  // caller that knows how many entries come makes room for them at once.
  int Capacity() const { return static_cast<int>(items_.capacity()); }
  void SetCapacity(int capacity);
  const std::string &Strings(int index) const;
  const std::string &operator[](int index) const { return Strings(index); }
  void Put(int index, std::string text);
  void *Objects(int index) const;
  void PutObject(int index, void *object);

  // Adds text (at its sorted place when Sorted); answers its index. A
  // duplicate in a sorted list is ignored (answering the existing index),
  // accepted or refused with EStringListError as Duplicates says.
  int Add(std::string text);
  int AddObject(std::string text, void *object);
  void AddStrings(const TStringList &other);
  void Insert(int index, std::string text); // refused when Sorted
  void Delete(int index);
  void Clear();
  void Exchange(int a, int b);
  void Assign(const TStringList &other);

  int IndexOf(const std::string &text) const;
  // Binary search of a sorted list: true when found; index is the place of
  // the match or where text would be inserted.
  bool Find(const std::string &text, int &index) const;

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  void Sort();
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool caseSensitive);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }

  // Entries of the form Name=Value.
  std::string Names(int index) const;
  std::string Values(const std::string &name) const;
  void SetValue(const std::string &name, const std::string &value);
  int IndexOfName(const std::string &name) const;

  // Entries joined by CR LF (each entry ends with one). Setting splits at
  // CR LF, LF or CR.
  std::string Text() const;
  void SetText(const std::string &text);
  std::string CommaText() const;

  void LoadFromStream(TStream &stream);
  void SaveToStream(TStream &stream) const;
  void LoadFromFile(const std::string &fileName);
  void SaveToFile(const std::string &fileName) const;

  TNotifyEvent OnChange;

private:
  int compare(const std::string &a, const std::string &b) const;
  void changed();

  struct Item {
    std::string text;
    void *object = nullptr;
  };
  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = TDuplicates::dupIgnore;
};

} // namespace components

#endif
