#include "toolkit/MenuObject.h"
#include "toolkit/MenuTemplate.h"
#include "toolkit/Platform.h"
#include <windowsx.h>
#include <algorithm>

namespace tk {

namespace {

UINT g_nextCommandId = FirstMenuCommandId;
constexpr size_t MaxAccelerators = 1000;

MENUITEMINFOA ItemInfo(UINT mask) {
  MENUITEMINFOA mii{};
  mii.cbSize = sizeof(mii);
  mii.fMask = mask;
  return mii;
}

// WM_COMMAND from a menu (high word 0) or an accelerator (1) with no control.
TReply MenuCommand(TWindowObject& window, const TMessageRecord& msg) {
  if (msg.Msg != WM_COMMAND || msg.LParam != 0 || HIWORD(msg.WParam) >= 2) return PassOn;
  if (!TMenuObject::DispatchCommand(&window, LOWORD(msg.WParam))) return PassOn;
  return 0;
}

// The popup menu at the mouse, or at the client origin for the keyboard (lParam -1).
TReply ContextMenu(TWindowObject& window, const TMessageRecord& msg) {
  TMenuObject* menu = window.PopupMenu();
  if (msg.Msg != WM_CONTEXTMENU || !menu || !menu->Handle()) return PassOn;
  POINT pt{GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)};
  if (msg.LParam == -1) {
    pt = {0, 0};
    ClientToScreen(msg.Wnd, &pt);
  }
  TrackPopupMenu(menu->Handle(), menu->PopupFlags(), pt.x, pt.y, 0, msg.Wnd, nullptr);
  return 0;
}

// A menu bar is ours to destroy, not the system's along with the window.
TReply DetachMenuBar(TWindowObject& window, const TMessageRecord& msg) {
  if (msg.Msg == WM_DESTROY)
    for (TMenuObject* menu : window.Menus())
      if (menu->IsMenuBar() && GetMenu(msg.Wnd) == menu->Handle()) SetMenu(msg.Wnd, nullptr);
  return PassOn;
}

// The keyboard step of every window: its own accelerator table, failing that its
// top-level form's.
TReply TranslateAccelerators(TWindowObject& window, const TMessageRecord& msg) {
  MSG native{msg.Wnd, msg.Msg, msg.WParam, msg.LParam, 0, {0, 0}};
  if (HACCEL table = window.AcceleratorTable(); table && TranslateAcceleratorA(msg.Wnd, table, &native)) return 0;
  TWindowObject* top = &window;
  while (top->Parent() && (top->Style() & WS_CHILD)) top = top->Parent();
  HACCEL topTable = top->AcceleratorTable();
  HWND topWnd = top->HandleIfCreated();
  if (top != &window && topTable && topWnd && TranslateAcceleratorA(topWnd, topTable, &native)) return 0;
  return PassOn;
}

void ReleaseWindowMenus(TWindowObject* window) {
  window->SetPopupMenu(nullptr);
  std::vector<TMenuObject*>& menus = window->Menus();
  while (!menus.empty()) {
    TMenuObject* menu = menus.back();
    menus.pop_back();
    menu->ForgetWindow();
    Release(menu);
  }
}

}  // namespace

UINT NextMenuCommandId() { return g_nextCommandId; }

HMENU TMenuObject::Handle() const { return root_ ? submenu_.get() : menu_.get(); }

TMenuObject* TMenuObject::ItemAt(int indexOrId) {
  if (root_) return root_->ItemAt(indexOrId);
  if (indexOrId == -1) return this;
  if (indexOrId >= static_cast<int>(FirstMenuCommandId)) {
    for (TMenuObject* item : items_)
      if (item->id_ == static_cast<UINT>(indexOrId)) return item;
    return nullptr;
  }
  if (indexOrId < 0 || indexOrId >= ItemCount()) return nullptr;
  return items_[static_cast<size_t>(indexOrId)];
}

int TMenuObject::IndexOf(const TMenuObject* item) const {
  const TMenuObject* root = root_ ? root_ : this;
  if (item == root) return -1;
  const auto it = std::find(root->items_.begin(), root->items_.end(), item);
  return it == root->items_.end() ? -2 : static_cast<int>(it - root->items_.begin());
}

HMENU TMenuObject::Container() const {
  if (!root_) return nullptr;
  return parentItem_ ? parentItem_->submenu_.get() : root_->menu_.get();
}

UINT TMenuObject::PositionInContainer() const {
  UINT pos = 0;
  for (TMenuObject* sibling : root_->items_) {
    if (sibling == this) break;
    if (sibling->parentItem_ == parentItem_ && sibling->visible_) ++pos;
  }
  return pos;
}

void TMenuObject::ApplyState() {
  HMENU container = Container();
  if (!container || !visible_) return;
  MENUITEMINFOA mii = ItemInfo(MIIM_STATE);
  mii.fState = state_;
  SetMenuItemInfoA(container, id_, FALSE, &mii);
}

bool TMenuObject::InsertIntoContainer() {
  HMENU container = Container();
  if (!container) return false;
  MENUITEMINFOA mii = ItemInfo(MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE | MIIM_DATA);
  mii.fType = separator_ ? MFT_SEPARATOR : MFT_STRING;
  if (radioGroup_) mii.fType |= MFT_RADIOCHECK;
  mii.fState = state_;
  mii.wID = id_;
  mii.hSubMenu = submenu_.get();
  mii.dwItemData = reinterpret_cast<ULONG_PTR>(this);
  if (!separator_) {
    mii.dwTypeData = const_cast<char*>(text_.c_str());
    mii.cch = static_cast<UINT>(text_.size());
  }
  return InsertMenuItemA(container, PositionInContainer(), TRUE, &mii) != FALSE;
}

void TMenuObject::ChangeState(int indexOrId, UINT bits, bool on) {
  TMenuObject* item = ItemAt(indexOrId);
  if (!item || !item->root_) return;
  item->state_ = on ? (item->state_ | bits) : (item->state_ & ~bits);
  item->ApplyState();
}

// Disabled and greyed go together, so enabling clears both.
void TMenuObject::SetItemEnabled(int indexOrId, bool on) { ChangeState(indexOrId, MFS_DISABLED | MFS_GRAYED, !on); }
void TMenuObject::SetItemChecked(int indexOrId, bool on) { ChangeState(indexOrId, MFS_CHECKED, on); }
void TMenuObject::SetItemDefault(int indexOrId, bool on) { ChangeState(indexOrId, MFS_DEFAULT, on); }

bool TMenuObject::ItemChecked(int indexOrId) {
  TMenuObject* item = ItemAt(indexOrId);
  return item && (item->state_ & MFS_CHECKED) != 0;
}

bool TMenuObject::ItemEnabled(int indexOrId) {
  TMenuObject* item = ItemAt(indexOrId);
  return item && (item->state_ & (MFS_DISABLED | MFS_GRAYED)) == 0;
}

void TMenuObject::SetItemVisible(int indexOrId, bool on) {
  TMenuObject* item = ItemAt(indexOrId);
  if (!item || !item->root_ || item->visible_ == on) return;
  if (on) {
    item->visible_ = true;
    item->InsertIntoContainer();
  } else {
    // RemoveMenu keeps a submenu alive: it is still ours.
    if (HMENU container = item->Container()) RemoveMenu(container, item->id_, MF_BYCOMMAND);
    item->visible_ = false;
  }
}

void TMenuObject::SetItemAccelerator(int indexOrId, BYTE fVirt, WORD key) {
  TMenuObject* item = ItemAt(indexOrId);
  if (!item || !item->root_) return;
  item->accel_ = (static_cast<uint32_t>(key) << 8) | fVirt;
  item->root_->RebuildAccelerators();
}

void TMenuObject::RebuildAccelerators() {
  TWindowObject* window = root_ ? root_->window_ : window_;
  if (!window) return;
  std::vector<ACCEL> table;
  for (TMenuObject* menu : window->Menus()) {
    for (TMenuObject* item : menu->items_) {
      if (!item->accel_ || table.size() >= MaxAccelerators) continue;
      ACCEL a{};
      a.fVirt = static_cast<BYTE>(item->accel_ & 0xFF);
      a.key = static_cast<WORD>(item->accel_ >> 8);
      a.cmd = static_cast<WORD>(item->id_);
      table.push_back(a);
    }
  }
  tk::unique_haccel accel;
  if (!table.empty()) accel.reset(CreateAcceleratorTableA(table.data(), static_cast<int>(table.size())));
  if (accel) SetKeyboardStep(&TranslateAccelerators);
  window->SetAcceleratorTable(std::move(accel));
}

void TMenuObject::SetItemEvents(int first, const std::vector<TEvent<TMenuEvent>>& events) {
  TMenuObject* root = root_ ? root_ : this;
  for (size_t i = 0; i < events.size(); ++i) {
    if (TMenuObject* item = root->ItemAt(first + static_cast<int>(i)); item && item != root)
      item->onItem_ = events[i];
  }
}

void TMenuObject::SelectRadio() {
  // The neighbouring visible items of the same group form the run to choose from.
  std::vector<TMenuObject*> siblings;
  for (TMenuObject* s : root_->items_)
    if (s->parentItem_ == parentItem_ && s->visible_) siblings.push_back(s);
  const auto self = std::find(siblings.begin(), siblings.end(), this);
  if (self == siblings.end()) return;
  auto first = self, last = self;
  while (first != siblings.begin() && (*(first - 1))->radioGroup_ == radioGroup_) --first;
  while (last + 1 != siblings.end() && (*(last + 1))->radioGroup_ == radioGroup_) ++last;
  for (auto it = first; it <= last; ++it) (*it)->state_ &= ~static_cast<UINT>(MFS_CHECKED);
  state_ |= MFS_CHECKED;
  if (HMENU container = Container())
    CheckMenuRadioItem(container, static_cast<UINT>(first - siblings.begin()),
                       static_cast<UINT>(last - siblings.begin()), static_cast<UINT>(self - siblings.begin()),
                       MF_BYPOSITION);
}

bool TMenuObject::DispatchCommand(TWindowObject* window, UINT id) {
  if (!window) return false;
  for (TMenuObject* menu : window->Menus()) {
    TMenuObject* item = menu->ItemAt(static_cast<int>(id));
    if (!item || item == menu) continue;
    if (item->radioGroup_) {
      item->SelectRadio();
    } else if (item->checkable_) {
      item->state_ ^= MFS_CHECKED;
      item->ApplyState();
    }
    const int index = menu->IndexOf(item);
    // The handler may release the menu; keep it alive until the event returns.
    menu->AddRef();
    const TEvent<TMenuEvent> ev = item->onItem_ ? item->onItem_ : menu->onItem_;
    if (ev) ev.code(ev.data, menu, index);
    Release(menu);
    return true;
  }
  return false;
}

BOOL TMenuObject::Popup(int x, int y) {
  TMenuObject* root = root_ ? root_ : this;
  HMENU menu = Handle();
  TWindowObject* form = root->window_;
  if (!menu || !form) return FALSE;
  const bool topLevel = !(form->Style() & WS_CHILD);
  // One row still on the screen: a window wholly off it is never mapped under X, and
  // keys reach only a mapped window. Its empty region shows none of it.
  const int parkedTop = GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN) - 1;
  RECT saved{};
  bool wasVisible = true;
  if (topLevel) {
    saved = {form->Left(), form->Top(), form->Left() + form->Width(), form->Top() + form->Height()};
    wasVisible = form->Visible();
    if (!wasVisible) {
      form->SetTop(parkedTop);
      tk::unique_hrgn none(CreateRectRgn(0, 0, 0, 0));
      if (none && SetWindowRgn(form->Handle(), none.get(), FALSE)) (void)none.release();  // the window owns it now
    }
    form->Show();  // the owner must be the foreground window, or the menu takes no keys and never closes
  }
  MSG pending;
  if (PeekMessageA(&pending, nullptr, 0, 0, PM_REMOVE)) {
    if (pending.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(pending.wParam));  // not ours to swallow
    } else {
      TranslateMessage(&pending);
      DispatchMessageA(&pending);
    }
  }
  if (root->onBeforePopup_) root->onBeforePopup_.code(root->onBeforePopup_.data, root);
  AddRef();
  const BOOL result = TrackPopupMenu(menu, popupFlags_, x, y, 0, form->Handle(), nullptr);
  if (topLevel && !wasVisible && !BeingDestroyed()) {
    // moved meanwhile, it was shown where it is meant to be: it keeps that place
    const bool parked = form->Top() == parkedTop;
    // A dialog the form owns takes the keys back, not whichever window the hiding would
    // activate (under X it may even take them after a command has fronted the dialog).
    if (HWND owned = parked ? EnabledOwnedWindow(form->HandleIfCreated()) : nullptr) SetActiveWindow(owned);
    if (parked) form->Hide();
    if (HWND wnd = form->HandleIfCreated()) SetWindowRgn(wnd, nullptr, FALSE);
    if (parked) {
      form->SetPosition(saved.left, saved.top);
      form->SetWidth(saved.right - saved.left);
      form->SetHeight(saved.bottom - saved.top);
    }
  }
  Release(this);
  return result;
}

void TMenuObject::ForgetWindow() {
  if (root_ || !window_) return;
  if (menuBar_ && window_->HandleIfCreated() && GetMenu(window_->HandleIfCreated()) == menu_.get())
    SetMenu(window_->HandleIfCreated(), nullptr);  // DestroyWindow would destroy it under us
  window_ = nullptr;
  for (TMenuObject* item : items_) item->window_ = nullptr;
}

void TMenuObject::BeforeDestroy() {
  if (root_) return;  // items die with their menu
  if (window_) {
    auto& menus = window_->Menus();
    menus.erase(std::remove(menus.begin(), menus.end(), this), menus.end());
    if (menuBar_ && window_->HandleIfCreated() && GetMenu(window_->HandleIfCreated()) == menu_.get())
      SetMenu(window_->HandleIfCreated(), nullptr);
    if (window_->PopupMenu() == this) window_->SetPopupMenu(nullptr);
    bool anyAccel = false;
    for (TMenuObject* item : items_) anyAccel = anyAccel || item->accel_;
    if (anyAccel) {
      for (TMenuObject* item : items_) item->accel_ = 0;
      RebuildAccelerators();
    }
  }
  // Children come after their parent in template order, so walking backwards detaches
  // every submenu from its container before destroying it: nothing is destroyed twice.
  for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
    TMenuObject* item = *it;
    if (item->submenu_ && item->visible_) {
      if (HMENU container = item->Container()) RemoveMenu(container, item->id_, MF_BYCOMMAND);
    }
    item->submenu_.reset();
  }
  menu_.reset();
  auto items = std::move(items_);
  items_.clear();
  for (auto it = items.rbegin(); it != items.rend(); ++it) Release(*it);
}

TMenuObject* BuildMenu(TWindowObject* window, const std::vector<std::string>& texts, TMenuEvent onItem, void* data,
                       int lastIndex) {
  auto* menu = new TMenuObject();
  menu->window_ = window;
  menu->onItem_ = {onItem, data};
  const std::vector<TMenuTemplateItem> parsed = ParseMenuTemplate(texts, lastIndex);
  const bool first = window && window->Menus().empty();
  if (!parsed.empty()) {
    HWND wnd = window && first && !(window->Style() & WS_CHILD) ? window->Handle() : nullptr;
    if (wnd) {
      menu->menu_.reset(CreateMenu());
      menu->menuBar_ = true;
    } else {
      menu->menu_.reset(CreatePopupMenu());
    }
    for (const TMenuTemplateItem& t : parsed) {
      auto* item = new TMenuObject();
      item->root_ = menu;
      item->window_ = window;
      item->parentItem_ = t.Parent >= 0 ? menu->items_[static_cast<size_t>(t.Parent)] : nullptr;
      item->id_ = g_nextCommandId++;
      item->text_ = t.Text;
      item->separator_ = t.Separator;
      item->checkable_ = t.Checkable;
      item->radioGroup_ = t.RadioGroup;
      item->state_ = t.Separator ? (MFS_DISABLED | MFS_GRAYED) : (t.Checked ? MFS_CHECKED : 0);
      if (t.HasSubmenu) item->submenu_.reset(CreatePopupMenu());
      menu->items_.push_back(item);
      item->InsertIntoContainer();
    }
    if (menu->menuBar_) SetMenu(wnd, menu->menu_.get());
  }
  if (window) {
    if (first) window->AttachHandler(&MenuCommand);
    window->AttachHandler(&ContextMenu);
    if (menu->menuBar_) window->AttachHandler(&DetachMenuBar);
    AddWindowDestroyHook(&ReleaseWindowMenus);
    window->Menus().push_back(menu);
  }
  return menu;
}

}  // namespace tk
