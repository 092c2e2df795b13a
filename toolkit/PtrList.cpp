#include "toolkit/PtrList.h"

namespace tk {

void TPtrList::Grow() {
  if (items_.size() < items_.capacity()) return;
  const size_t count = items_.size();
  items_.reserve(count + (growth_ > 0 ? static_cast<size_t>(growth_) : count / 4 + 1));
}

int32_t TPtrList::Add(void* item) {
  Grow();
  items_.push_back(item);
  return Count() - 1;
}

void TPtrList::Insert(int32_t index, void* item) {
  if (index < 0) return;
  if (index >= Count()) { Add(item); return; }
  Grow();
  items_.insert(items_.begin() + index, item);
}

void TPtrList::Delete(int32_t index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
}

bool TPtrList::Remove(void* item) {
  const int32_t i = IndexOf(item);
  if (i < 0) return false;
  Delete(i);
  return true;
}

int32_t TPtrList::IndexOf(const void* item) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i] == item) return static_cast<int32_t>(i);
  return -1;
}

void* TPtrList::Get(int32_t index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)];
}

void TPtrList::Set(int32_t index, void* item) {
  if (index < 0 || index >= Count()) return;
  items_[static_cast<size_t>(index)] = item;
}

}  // namespace tk
