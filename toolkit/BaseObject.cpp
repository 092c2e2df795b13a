#include "toolkit/BaseObject.h"

namespace tk {

void TBaseObject::AddOwned(TBaseObject* object) {
  AddOwnedCallback(&ReleaseOwned, object);
}

void TBaseObject::AddOwnedCallback(TOwnedRoutine routine, void* data) {
  owned_.emplace_back(routine, data);
}

void TBaseObject::Destroy() {
  // The notification is taken out first so that it runs exactly once.
  auto notify = std::exchange(notify_, {nullptr, nullptr});
  if (notify.first) notify.first(notify.second, this);

  auto owned = std::move(owned_);
  owned_.clear();
  for (auto it = owned.rbegin(); it != owned.rend(); ++it)
    if (it->first) it->first(it->second);

  BeforeDestroy();
  delete this;
}

void Release(TBaseObject* object) {
  if (!object) return;
  object->refCount_ -= 2;
  if (object->refCount_ < 0 && !object->destroying_) {
    object->destroying_ = true;
    object->Destroy();
  }
}

void ReleaseOwned(void* object) {
  Release(static_cast<TBaseObject*>(object));
}

}  // namespace tk
