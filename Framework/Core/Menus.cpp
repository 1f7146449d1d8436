// Popup menus and their items.
#include "Framework/Core/Menus.h"

#include <algorithm>
#include <utility>

namespace skx {

TMenuItem::~TMenuItem() {
  if (FMenu) FMenu->Remove(this);
}

void TMenuItem::Click() {
  if (OnClick) CallHandler(OnClick, this);
}

TPopupMenu::~TPopupMenu() {
  for (TMenuItem* item : FItems) item->FMenu = nullptr;
}

void TPopupMenu::Add(TMenuItem* item) {
  if (item->FMenu) item->FMenu->Remove(item);
  item->FMenu = this;
  FItems.push_back(item);
}

void TPopupMenu::Remove(TMenuItem* item) {
  auto found = std::find(FItems.begin(), FItems.end(), item);
  if (found == FItems.end()) return;
  FItems.erase(found);
  item->FMenu = nullptr;
}

void TPopupMenu::Clear() {
  while (!FItems.empty()) delete FItems.back();
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) CallHandler(OnPopup, this);
  TControl* control = FPopupComponent;
  if (!control) control = dynamic_cast<TControl*>(Owner());
  TWinControl* window = dynamic_cast<TWinControl*>(control);
  if (!window && control) window = control->Parent();
  if (!window || !window->HandleAllocated()) return;
  TWeakRef<TPopupMenu> alive(this);
  const int chosen = window->Peer()->TrackPopupMenu(*this, TPoint{x, y});
  // While the menu was up, a timer or a container's call may have freed it with its owner.
  if (alive.Expired() || chosen < 0 || chosen >= Count()) return;
  Items(chosen)->Click();
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation operation) {
  TComponent::Notification(AComponent, operation);
  if (operation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
}

TMenuItem* NewMenuItem(TPopupMenu& menu, const String& caption, int tag, TNotifyEvent onClick) {
  auto* item = new TMenuItem(&menu);
  item->SetCaption(caption);
  item->SetTag(tag);
  item->OnClick = std::move(onClick);
  menu.Add(item);
  return item;
}

}  // namespace skx
