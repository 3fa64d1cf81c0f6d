// Calls into libraries whose calling convention we do not control.
//
// The capture chip's driver "BtVid_32.Dll" and "wdmI2cDll.dll" come from the
// card's maker and export plain functions under undecorated names. Nothing
// tells whether such a function is __cdecl (the caller removes the
// arguments from the stack) or __stdcall (the function removes them), and
// both are common. Called the wrong way, every call leaves the stack four
// bytes off per argument and the host crashes soon after. A call through a
// ForeignFunction works either way: the arguments go on the stack as both
// conventions expect them, and afterwards the stack pointer is put back
// where it was before them, whoever removed them. Both conventions return
// the result in EAX and keep EBX, ESI, EDI and EBP.
//
// A ForeignFunction is called like a function pointer and, like one, is
// null until bound; every argument and the result are 32-bit words.
#pragma once

#include <windows.h>

#include <type_traits>

// Pushes `count` words from `words` (the last first), calls `function` and
// restores the stack pointer; returns what the function left in EAX.
extern "C" int __cdecl CallEitherConvention(FARPROC function, const int* words,
                                            int count);

namespace foreign {

inline int ToWord(int value) {
  return value;
}

template <typename Pointee>
int ToWord(Pointee* pointer) {
  return static_cast<int>(reinterpret_cast<INT_PTR>(pointer));
}

// A result is a 32-bit word, or nothing.
template <typename Result>
constexpr bool IsWordResult() {
  return sizeof(Result) == 4;
}
template <>
constexpr bool IsWordResult<void>() {
  return true;
}

}  // namespace foreign

template <typename Signature>
class ForeignFunction;

template <typename Result, typename... Args>
class ForeignFunction<Result(Args...)> {
  static_assert(foreign::IsWordResult<Result>(), "results are 32-bit words");

 public:
  constexpr ForeignFunction() = default;
  constexpr ForeignFunction(decltype(nullptr)) {}
  explicit ForeignFunction(FARPROC address) : address_(address) {}

  explicit operator bool() const { return address_ != nullptr; }
  FARPROC address() const { return address_; }

  Result operator()(Args... args) const {
    // One more place than arguments, so that the array is never empty.
    const int words[sizeof...(Args) + 1] = {foreign::ToWord(args)...};
    const int count = static_cast<int>(sizeof...(Args));
    if constexpr (std::is_void<Result>::value) {
      CallEitherConvention(address_, words, count);
    } else {
      return static_cast<Result>(CallEitherConvention(address_, words, count));
    }
  }

 private:
  FARPROC address_ = nullptr;
};
