// new and delete on the process heap, where the C++ runtime would keep its
// own. Without exceptions a failed allocation returns null, which the
// nothrow form tells its caller.
#include <windows.h>

#include <new>

namespace {

void* Allocate(size_t size) {
  return HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
}

void Free(void* memory) {
  if (memory) HeapFree(GetProcessHeap(), 0, memory);
}

}  // namespace

// The tag of the nothrow form, which the C++ runtime would define.
namespace std {
extern const nothrow_t nothrow;
const nothrow_t nothrow{};
}  // namespace std

void* operator new(size_t size) {
  return Allocate(size);
}

void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}

void operator delete(void* memory) noexcept {
  Free(memory);
}

void operator delete(void* memory, size_t) noexcept {
  Free(memory);
}

void operator delete(void* memory, const std::nothrow_t&) noexcept {
  Free(memory);
}
