// Menus built from text templates: one object for the menu and one per item, with
// command ids from a process-wide counter, check toggling before the item's event,
// radio groups, hidden items and an accelerator table rebuilt from every item.
#pragma once
#include "toolkit/BaseObject.h"
#include "toolkit/Handles.h"
#include "toolkit/WindowObject.h"
#include "toolkit/WinApi.h"
#include <cstdint>
#include <string>
#include <vector>

namespace tk {

class TMenuObject;

// index: the chosen item's index in template order.
using TMenuEvent = void (*)(void* data, TMenuObject* menu, int index);
using TMenuNotifyEvent = void (*)(void* data, TMenuObject* menu);

constexpr UINT FirstMenuCommandId = 4096;

class TMenuObject : public TBaseObject {
public:
  // --- the menu (called on the object BuildMenu returned) ---
  HMENU Handle() const;  // the menu's HMENU, or an item's submenu; null for an empty template
  TWindowObject* Window() const { return window_; }
  int ItemCount() const { return static_cast<int>(items_.size()); }
  // An index in template order (-1 = the menu itself), or a command id (>= 4096).
  TMenuObject* ItemAt(int indexOrId);
  int IndexOf(const TMenuObject* item) const;
  bool IsMenuBar() const { return menuBar_; }

  void SetItemEnabled(int indexOrId, bool on);
  void SetItemChecked(int indexOrId, bool on);
  void SetItemDefault(int indexOrId, bool on);
  bool ItemChecked(int indexOrId);
  bool ItemEnabled(int indexOrId);
  // Hiding removes the item from its menu; showing puts it back at its place.
  void SetItemVisible(int indexOrId, bool on);
  // fVirt: FVIRTKEY etc.; stored as (key << 8) | fVirt. Rebuilds the window's table.
  void SetItemAccelerator(int indexOrId, BYTE fVirt, WORD key);
  // Gives consecutive items, from `first` on, their own events.
  void SetItemEvents(int first, const std::vector<TEvent<TMenuEvent>>& events);
  void SetOnMenuItem(TMenuEvent code, void* data) { onItem_ = {code, data}; }
  void SetOnBeforePopup(TMenuNotifyEvent code, void* data) { onBeforePopup_ = {code, data}; }

  // TPM_* flags for TrackPopupMenu; a caller may change them around one Popup.
  UINT PopupFlags() const { return popupFlags_; }
  void SetPopupFlags(UINT flags) { popupFlags_ = flags; }
  // Shows the menu at a screen point. A hidden owner form is shown below the screen
  // for the time the menu is open, so that it can be the foreground window.
  BOOL Popup(int x, int y);

  // --- an item ---
  UINT CommandId() const { return id_; }
  const std::string& Text() const { return text_; }
  bool Separator() const { return separator_; }
  bool Checkable() const { return checkable_; }
  int RadioGroup() const { return radioGroup_; }
  UINT State() const { return state_; }
  bool ItemVisible() const { return visible_; }
  uint32_t Accelerator() const { return accel_; }
  TMenuObject* ParentItem() const { return parentItem_; }
  TMenuObject* Root() const { return root_; }

  // Runs the command of the item with this id: check toggling, then the event.
  // False when no item of the window's menus has the id.
  static bool DispatchCommand(TWindowObject* window, UINT id);
  // Called by a window that is going away: the menu no longer refers to it.
  void ForgetWindow();

protected:
  void BeforeDestroy() override;

private:
  friend TMenuObject* BuildMenu(TWindowObject*, const std::vector<std::string>&, TMenuEvent, void*, int);
  TMenuObject() = default;
  HMENU Container() const;  // the HMENU the item sits in
  UINT PositionInContainer() const;
  void ChangeState(int indexOrId, UINT bits, bool on);
  void ApplyState();
  bool InsertIntoContainer();
  void RebuildAccelerators();
  void SelectRadio();

  // the menu
  TWindowObject* window_ = nullptr;
  tk::unique_hmenu menu_;
  bool menuBar_ = false;
  std::vector<TMenuObject*> items_;  // depth-first, template order
  TEvent<TMenuEvent> onItem_;
  TEvent<TMenuNotifyEvent> onBeforePopup_;
  UINT popupFlags_ = 0;

  // an item
  TMenuObject* root_ = nullptr;
  TMenuObject* parentItem_ = nullptr;
  tk::unique_hmenu submenu_;
  UINT id_ = 0;
  std::string text_;
  bool separator_ = false;
  bool checkable_ = false;
  int radioGroup_ = 0;
  UINT state_ = 0;
  bool visible_ = true;
  uint32_t accel_ = 0;
};

// Builds a menu for the window from a template (see MenuTemplate.h), ending at the
// first empty text or after lastIndex. The window's first menu becomes its menu bar
// when it has items; later ones are popup menus. From then on the window dispatches
// menu commands, shows its popup menu on WM_CONTEXTMENU, translates the accelerators
// of its menus, and releases its menus when it is destroyed.
TMenuObject* BuildMenu(TWindowObject* window, const std::vector<std::string>& texts,
                       TMenuEvent onItem = nullptr, void* data = nullptr, int lastIndex = -1);

// The id the next menu item will get.
UINT NextMenuCommandId();

}  // namespace tk
