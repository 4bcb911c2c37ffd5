// The standard controls: label, buttons, edits (single-line, memo, rich
// edit), list and combo boxes, check box, radio group, group box and panel.
// Change events follow the class library: setting an edit's text, a check
// box's state or a radio group's index from the program fires them too;
// setting a list or combo box's index does not.
#ifndef COMPONENTS_WIN32_STD_CONTROLS_H
#define COMPONENTS_WIN32_STD_CONTROLS_H

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

class TLabel : public TWinControl {
public:
  explicit TLabel(TComponent *owner);
  TWinControl *FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl *control) { focusControl_ = control; }
  void Notification(TComponent *component, bool removing) override;
  // The caption's accelerator (the letter after "&") focuses FocusControl.
  bool DialogChar(char key) override;

protected:
  void CreateParams(TCreateParams &params) override;
  // A label is painted beneath every windowed control it overlaps.
  bool staysBeneathSiblings() const override { return true; }

private:
  TWinControl *focusControl_ = nullptr;
};

class TButton : public TWinControl {
public:
  explicit TButton(TComponent *owner);
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  bool Default() const { return default_; }
  void SetDefault(bool isDefault);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool cancel) { cancel_ = cancel; }
  // Sets the form's modal result (when it has one), then fires OnClick.
  void Click() override;

protected:
  void CreateParams(TCreateParams &params) override;
  void command(WORD code, WORD id) override;

private:
  int modalResult_ = 0;
  bool default_ = false;
  bool cancel_ = false;
};

enum TBitBtnKind {
  bkCustom,
  bkOK,
  bkCancel,
  bkHelp,
  bkYes,
  bkNo,
  bkClose,
  bkAbort,
  bkRetry,
  bkIgnore,
  bkAll
};

// A button of a standard kind: caption, modal result, default and cancel
// roles follow the kind.
class TBitBtn : public TButton {
public:
  explicit TBitBtn(TComponent *owner) : TButton(owner) {}
  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind kind);

private:
  TBitBtnKind kind_ = bkCustom;
};

class TCustomEdit : public TWinControl {
public:
  explicit TCustomEdit(TComponent *owner);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int length);
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool hide) { hideSelection_ = hide; }
  int GetTextLen();
  int SelStart();
  void SetSelStart(int start);
  int SelLength();
  void SetSelLength(int length);
  virtual std::string SelText();
  // Replaces the selection; the replacement can be undone.
  void SetSelText(const std::string &text);
  void SelectAll();
  void Clear() { SetText(""); }
  bool Modified();
  void SetModified(bool modified);
  bool CanUndo();
  void Undo();
  void ClearUndo();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();

  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams &params) override;
  void handleCreated() override;
  void command(WORD code, WORD id) override;
  virtual void Change() { OnChange(this); }

private:
  bool readOnly_ = false;
  int maxLength_ = 0;
  bool hideSelection_ = true;
};

class TEdit : public TCustomEdit {
public:
  using TCustomEdit::TCustomEdit;
};

class TCustomMemo;

// The lines of a memo, read from and written to its window.
class TMemoLines {
public:
  explicit TMemoLines(TCustomMemo &memo) : memo_(memo) {}
  // A last line that is empty (the text ends with a line break) does not
  // count.
  int Count() const;
  std::string Strings(int index) const;
  std::string operator[](int index) const { return Strings(index); }
  void Add(const std::string &line);
  void Clear();
  std::string Text() const;
  void SetText(const std::string &text);

private:
  TCustomMemo &memo_;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomMemo : public TCustomEdit {
public:
  explicit TCustomMemo(TComponent *owner);
  TMemoLines &Lines() { return lines_; }
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool want) { wantReturns_ = want; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wrap) { wordWrap_ = wrap; }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle bars) { scrollBars_ = bars; }

protected:
  void CreateParams(TCreateParams &params) override;

private:
  TMemoLines lines_;
  bool wantReturns_ = true;
  bool wordWrap_ = true;
  TScrollStyle scrollBars_ = ssNone;
};

class TMemo : public TCustomMemo {
public:
  using TCustomMemo::TCustomMemo;
};

class TCustomRichEdit : public TCustomMemo {
public:
  explicit TCustomRichEdit(TComponent *owner);
  bool PlainText() const { return plainText_; }
  // Set it before the control gets its parent: once its window has text
  // or a font, a rich edit keeps the mode it has.
  void SetPlainText(bool plain);
  // The selected text as the control holds it: a rich edit counts a line
  // break as one character, so the text cannot be cut from Text().
  std::string SelText() override;
  TNotifyEvent OnSelectionChange;

protected:
  void CreateParams(TCreateParams &params) override;
  void handleCreated() override;
  bool notify(NMHDR &header, LRESULT &result) override;

private:
  bool plainText_ = false;
};

class TRichEdit : public TCustomRichEdit {
public:
  using TCustomRichEdit::TCustomRichEdit;
};

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };
using TOwnerDrawState = unsigned;
constexpr TOwnerDrawState odSelected = 1, odFocused = 2, odDisabled = 4;
using TDrawItemEvent = Event<TObject *, int, const RECT &, TOwnerDrawState>;

class TListBox : public TWinControl {
public:
  explicit TListBox(TComponent *owner);
  TControlItems &Items() { return items_; }
  int ItemIndex();
  void SetItemIndex(int index);
  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle style) { style_ = style; }
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int height);
  // The item at a client point, or -1.
  int ItemAtPos(POINT point);
  RECT ItemRect(int index);
  // The canvas that OnDrawItem draws on.
  TCanvas &Canvas() { return canvas_; }
  TDrawItemEvent OnDrawItem;

protected:
  void CreateParams(TCreateParams &params) override;
  void handleCreated() override;
  void command(WORD code, WORD id) override;
  void drawItem(DRAWITEMSTRUCT &item) override;
  bool notifiesDoubleClicks() const override { return true; }

private:
  TControlItems items_;
  TListBoxStyle style_ = lbStandard;
  int itemHeight_ = 13;
  int itemIndex_ = -1;
  TCanvas canvas_;
};

enum TComboBoxStyle { csDropDown, csDropDownList };

class TComboBox : public TWinControl {
public:
  explicit TComboBox(TComponent *owner);
  TControlItems &Items() { return items_; }
  int ItemIndex();
  void SetItemIndex(int index);
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle style) { style_ = style; }
  bool DroppedDown();
  // Replaces every item at once, filling the window without redrawing: the
  // way to load a list of thousands.
  void AssignItems(const std::vector<std::string> &texts);
  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;

protected:
  void CreateParams(TCreateParams &params) override;
  void handleCreated() override;
  void command(WORD code, WORD id) override;

private:
  TControlItems items_;
  TComboBoxStyle style_ = csDropDown;
  int itemIndex_ = -1;
};

class TCheckBox : public TWinControl {
public:
  explicit TCheckBox(TComponent *owner);
  bool Checked() const { return checked_; }
  // Fires OnClick when the state changes.
  void SetChecked(bool checked);

protected:
  void CreateParams(TCreateParams &params) override;
  void handleCreated() override;
  void command(WORD code, WORD id) override;

private:
  bool checked_ = false;
};

class TGroupBox : public TWinControl {
public:
  explicit TGroupBox(TComponent *owner);

protected:
  void CreateParams(TCreateParams &params) override;
  RECT alignArea() override;
  void WndProc(TMessage &message) override;
};

class TRadioGroup : public TGroupBox {
public:
  explicit TRadioGroup(TComponent *owner);
  TControlItems &Items() { return items_; }
  int ItemIndex() const { return itemIndex_; }
  // Checks the item's button and fires OnClick when the index changes.
  void SetItemIndex(int index);
  // The button of an item, for driving it as a user would.
  TWinControl *Buttons(int index) const { return buttons_.at(index); }

protected:
  void handleCreated() override;
  void Resize() override;

private:
  friend class TGroupButton;
  void rebuildButtons();
  void arrangeButtons();
  void buttonClicked(int index);

  TControlItems items_;
  std::vector<TWinControl *> buttons_;
  int itemIndex_ = -1;
};

enum TPanelBevel { bvNone, bvLowered, bvRaised };

class TPanel : public TWinControl {
public:
  explicit TPanel(TComponent *owner);
  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel bevel);

protected:
  void CreateParams(TCreateParams &params) override;
  void Paint(TCanvas &canvas) override;
  void textChanged() override {
    TWinControl::textChanged();
    Invalidate();
  }
  RECT alignArea() override;

private:
  TPanelBevel bevelOuter_ = bvRaised;
};

} // namespace components

#endif
