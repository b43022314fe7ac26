// The root of the calculator object classes and the intrusive shared pointer that holds them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "tavrel/statexport/ParseContext.h"

namespace tavrel::statexport {

class NQSObject;

// A holder of an object with an intrusive count. The count starts at 0; taking an object
// raises it, and the holder that lets go when it is below 2 deletes the object.
template <typename T>
class NQSRef {
 public:
  NQSRef() = default;
  NQSRef(std::nullptr_t) {}
  explicit NQSRef(T* object) : object_(object) { take(); }
  NQSRef(const NQSRef& other) : object_(other.object_) { take(); }
  NQSRef(NQSRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  template <typename U>
  NQSRef(const NQSRef<U>& other) : object_(other.get()) {
    take();
  }
  ~NQSRef() { release(); }

  NQSRef& operator=(NQSRef other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }

  T* get() const { return object_; }
  T* operator->() const { return object_; }
  T& operator*() const { return *object_; }
  explicit operator bool() const { return object_ != nullptr; }
  void reset() { *this = NQSRef(); }

 private:
  void take() {
    if (object_) {
      ++object_->refCount_;
    }
  }
  void release() {
    if (!object_) {
      return;
    }
    if (object_->refCount_ < 2) {
      delete object_;
    } else {
      --object_->refCount_;
    }
  }

  T* object_ = nullptr;
};

template <typename T, typename... Args>
NQSRef<T> makeNQS(Args&&... args) {
  return NQSRef<T>(new T(std::forward<Args>(args)...));
}

// A calculator object: a five-nibble type code (its prolog) and a body read from a stream.
class NQSObject {
 public:
  NQSObject() = default;
  NQSObject(const NQSObject&) = delete;
  NQSObject& operator=(const NQSObject&) = delete;
  virtual ~NQSObject() = default;

  virtual std::uint32_t prolog() const = 0;
  virtual const char* typeName() const { return "Unknown Object"; }
  virtual NQSRef<NQSObject> clone() const = 0;
  // Reads the body that follows the prolog, advancing pos; never reads beyond the stream.
  virtual void parse(std::size_t& pos, ParseContext& context) = 0;
  // Appends the text form.
  virtual void toText(std::string& text) const = 0;

  std::string text() const {
    std::string out;
    toText(out);
    return out;
  }
  std::uint32_t refCount() const { return refCount_; }

 private:
  template <typename T>
  friend class NQSRef;
  std::uint32_t refCount_ = 0;
};

using NQSObjectRef = NQSRef<NQSObject>;

// The object's dynamic type when it is a T, else null.
template <typename T>
T* nqsCast(const NQSObjectRef& object) {
  return dynamic_cast<T*>(object.get());
}

}  // namespace tavrel::statexport
