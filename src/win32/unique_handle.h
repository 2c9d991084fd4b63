// One owner for every operating-system object: UniqueHandle<T, Closer>
// releases its value when it goes out of scope.
#pragma once

#include <windows.h>

#include <utility>

namespace velmora::win32 {

template <typename T, typename Closer, T Invalid = T{}>
class UniqueHandle {
 public:
  UniqueHandle() noexcept = default;
  explicit UniqueHandle(T value) noexcept : value_(value) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : value_(std::exchange(other.value_, Invalid)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.value_, Invalid));
    return *this;
  }
  ~UniqueHandle() { reset(); }

  T get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != Invalid; }
  T release() noexcept { return std::exchange(value_, Invalid); }
  void reset(T value = Invalid) noexcept {
    if (value_ != Invalid) Closer{}(value_);
    value_ = value;
  }

 private:
  T value_ = Invalid;
};

struct CloseHandleCloser {
  void operator()(HANDLE h) const noexcept { ::CloseHandle(h); }
};
struct FreeLibraryCloser {
  void operator()(HMODULE h) const noexcept { ::FreeLibrary(h); }
};
struct DestroyWindowCloser {
  void operator()(HWND h) const noexcept { ::DestroyWindow(h); }
};
struct DeleteObjectCloser {
  void operator()(HGDIOBJ h) const noexcept { ::DeleteObject(h); }
};

// Handles that use 0 for "none" (process, thread, mutex, event).
using UniqueKernelHandle = UniqueHandle<HANDLE, CloseHandleCloser>;
using UniqueModule = UniqueHandle<HMODULE, FreeLibraryCloser>;
using UniqueWindow = UniqueHandle<HWND, DestroyWindowCloser>;
using UniqueFont = UniqueHandle<HFONT, DeleteObjectCloser>;
using UniqueBitmap = UniqueHandle<HBITMAP, DeleteObjectCloser>;

// CreateFileW reports failure as INVALID_HANDLE_VALUE rather than 0.
inline UniqueKernelHandle OwnFileHandle(HANDLE h) noexcept {
  return UniqueKernelHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

}  // namespace velmora::win32
