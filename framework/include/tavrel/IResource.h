#pragma once

#include "tavrel/Export.h"

namespace tavrel {

// Common base of objects handed between modules: the module that made an object also
// deletes it, through release().
class TAVREL_API IResource {
 public:
  virtual ~IResource() = default;

  // Frees what the object holds; release() runs it before deleting the object.
  virtual void destroy() {}
  virtual void release() {
    destroy();
    delete this;
  }
};

// Releases a resource that may be null.
inline void releaseResource(IResource* resource) {
  if (resource != nullptr) {
    resource->release();
  }
}

}  // namespace tavrel
