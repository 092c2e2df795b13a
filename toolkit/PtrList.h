// A list of untyped pointers with the toolkit's lookup rules: IndexOf gives -1 for
// an absent item, and reading outside 0..Count-1 gives null instead of faulting.
#pragma once
#include "toolkit/BaseObject.h"
#include <cstdint>
#include <vector>

namespace tk {

class TPtrList : public TBaseObject {
public:
  TPtrList() = default;
  ~TPtrList() override = default;

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  int32_t Capacity() const { return static_cast<int32_t>(items_.capacity()); }
  // 0: grow by a quarter of the count plus one.
  void SetGrowthStep(int32_t step) { growth_ = step < 0 ? 0 : step; }

  int32_t Add(void* item);
  // Shifts the tail up; an index past the end appends, a negative one does nothing.
  void Insert(int32_t index, void* item);
  // Shifts the tail down; an index outside the list does nothing.
  void Delete(int32_t index);
  // Deletes the first occurrence; false when absent.
  bool Remove(void* item);
  int32_t IndexOf(const void* item) const;
  void* Get(int32_t index) const;
  void Set(int32_t index, void* item);
  void Clear() { items_.clear(); }
  void* operator[](int32_t index) const { return Get(index); }

  std::vector<void*>::const_iterator begin() const { return items_.begin(); }
  std::vector<void*>::const_iterator end() const { return items_.end(); }

private:
  void Grow();
  std::vector<void*> items_;
  int32_t growth_ = 0;
};

}  // namespace tk
