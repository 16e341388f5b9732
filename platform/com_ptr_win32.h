#pragma once

// Windows only: COM interfaces and the thread's COM setup, released in time.

#include <objbase.h>

/// Holds one reference to a COM interface and releases it when it goes.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { Reset(); }

  T* operator->() const { return pointer_; }
  T* get() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  /// For a function that hands out a reference: what was held is released first.
  T** out() {
    Reset();
    return &pointer_;
  }
  void Reset() {
    if (pointer_ != nullptr) {
      pointer_->Release();
      pointer_ = nullptr;
    }
  }

 private:
  T* pointer_ = nullptr;
};

/// COM set up for the calling thread (free-threaded), and undone when it goes.
/// A thread that set COM up otherwise already keeps it as it was.
class ComThread {
 public:
  ComThread() {
    const HRESULT result = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    mine_ = SUCCEEDED(result);
    usable_ = mine_ || result == RPC_E_CHANGED_MODE;
  }
  ComThread(const ComThread&) = delete;
  ComThread& operator=(const ComThread&) = delete;
  ~ComThread() {
    if (mine_) {
      CoUninitialize();
    }
  }
  bool Usable() const { return usable_; }

 private:
  bool mine_ = false;
  bool usable_ = false;
};
