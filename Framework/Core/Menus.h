// Popup menus and their items.
#pragma once

#include <vector>

#include "Framework/Core/Controls.h"

namespace skx {

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}
  ~TMenuItem() override;

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& caption) { FCaption = caption; }
  // A caption of "-" makes the item a separator line, which cannot be chosen.
  bool IsLine() const { return FCaption == L"-"; }
  TPopupMenu* Menu() const { return FMenu; }

  // The handler may free the item (and its menu); nothing of either is touched afterwards.
  virtual void Click();

  TNotifyEvent OnClick;

 private:
  friend class TPopupMenu;
  TPopupMenu* FMenu = nullptr;
  String FCaption;
};

class TPopupMenu : public TComponent {
 public:
  explicit TPopupMenu(TComponent* AOwner) : TComponent(AOwner) {}
  ~TPopupMenu() override;

  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int index) const { return FItems.at(index); }
  // Appends the item, taking it out of any other menu first.
  void Add(TMenuItem* item);
  void Remove(TMenuItem* item);
  // Frees every item.
  void Clear();

  TControl* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TControl* control) { FPopupComponent = control; }

  // OnPopup first, then the platform shows the menu at screen coordinates; the chosen item is
  // clicked after the menu has closed.
  void Popup(int x, int y);

  TNotifyEvent OnPopup;

 protected:
  void Notification(TComponent* AComponent, TOperation operation) override;

 private:
  std::vector<TMenuItem*> FItems;
  TControl* FPopupComponent = nullptr;
};

// Appends a new item, owned by the menu, with the caption, tag and click handler.
TMenuItem* NewMenuItem(TPopupMenu& menu, const String& caption, int tag, TNotifyEvent onClick);

}  // namespace skx
