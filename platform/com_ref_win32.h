// Owns one reference to a COM object and releases it on every path out of the scope.
#pragma once

#include <windows.h>

template <typename Interface>
class ComRef {
 public:
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() {
    if (object_) object_->Release();
  }

  Interface* operator->() const { return object_; }
  // For the calls that hand out a new reference: CoCreateInstance, QueryInterface.
  void** out() { return reinterpret_cast<void**>(&object_); }

 private:
  Interface* object_ = nullptr;
};
