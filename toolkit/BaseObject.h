// Root of every toolkit object: reference counted, with a destroy notification
// and a list of owned things released newest first when the object dies.
#pragma once
#include <cstdint>
#include <utility>
#include <vector>

namespace tk {

class TBaseObject;

using TDestroyNotify = void (*)(void* data, TBaseObject* object);
using TOwnedRoutine = void (*)(void* data);

class TBaseObject {
public:
  TBaseObject() = default;
  TBaseObject(const TBaseObject&) = delete;
  TBaseObject& operator=(const TBaseObject&) = delete;

  // The count starts at 0 and moves in steps of 2; the object dies when it goes below 0,
  // so a fresh object dies on its first Release.
  void AddRef() { refCount_ += 2; }
  int32_t RefCount() const { return refCount_; }
  bool BeingDestroyed() const { return refCount_ < 0; }

  void SetDestroyNotify(TDestroyNotify code, void* data) { notify_ = {code, data}; }

  // Registers (Release, object); released before every earlier registration.
  void AddOwned(TBaseObject* object);
  // Registers any (routine, data) pair, e.g. (DeleteObject, a bitmap).
  void AddOwnedCallback(TOwnedRoutine routine, void* data);

  friend void Release(TBaseObject* object);

protected:
  virtual ~TBaseObject() = default;
  // Type-specific cleanup that must run while the object is still whole (before the
  // destructor chain); the base does nothing.
  virtual void BeforeDestroy() {}

private:
  void Destroy();

  int32_t refCount_ = 0;
  bool destroying_ = false;  // a Release during destruction must not destroy twice
  std::pair<TDestroyNotify, void*> notify_{nullptr, nullptr};
  std::vector<std::pair<TOwnedRoutine, void*>> owned_;
};

// Nothing for null; count - 2; destroyed when the count becomes negative.
void Release(TBaseObject* object);

// Release as an owned-list routine.
void ReleaseOwned(void* object);

}  // namespace tk
