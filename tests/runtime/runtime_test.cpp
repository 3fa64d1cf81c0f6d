// The runtime's pieces where they could differ from what they replace:
// printf's formatting, text mode's line ends across the writer's buffer,
// and a call that leaves the stack as it found it in either convention.
#include <gtest/gtest.h>
#include <limits.h>

#include <string>

#include "foreignCall.h"
#include "harness.h"
#include "textFile.h"
#include "textFormat.h"

namespace {

std::string Formatted(const char* format, ...) {
  char buffer[256];
  TextBuffer out(buffer, sizeof buffer);
  va_list args;
  va_start(args, format);
  FormatText(out, format, args);
  va_end(args);
  return std::string(buffer, static_cast<size_t>(out.length()));
}

TEST(Format, AsPrintfFormatsWhatOurMessagesUse) {
  EXPECT_EQ("-2147483648 0 42", Formatted("%d %d %d", INT_MIN, 0, 42));
  EXPECT_EQ("4294967295 ff FF", Formatted("%u %x %X", 0xFFFFFFFFu, 255, 255));
  EXPECT_EQ("0x0A/0x97", Formatted("0x%02X/0x%02X", 10, 0x97));
  EXPECT_EQ("[   -7][-0007][-7   ]",
            Formatted("[%5d][%05d][%-5d]", -7, -7, -7));
  EXPECT_EQ("[  ab][ab  ][(null)]",
            Formatted("[%4s][%-4s][%s]", "ab", "ab", nullptr));
  EXPECT_EQ("100% c q 12", Formatted("100%% %c %q %ld", 'c', 12L));
  EXPECT_EQ("ends with", Formatted("ends with%"));
}

TEST(Format, ABufferTooSmallKeepsWhatFitsTerminated) {
  char buffer[6] = "xxxxx";
  EXPECT_EQ(5, FormatInto(buffer, sizeof buffer, "%s", "overlong"));
  EXPECT_STREQ("overl", buffer);
}

// More text than the writer's buffer holds, with line feeds everywhere,
// also where a CR LF pair meets the buffer's end.
TEST(TextFile, EveryLineFeedBecomesCrLfAcrossBufferBoundaries) {
  harness::TempDir dir;
  std::string path = dir.File("text.txt");
  std::string text, expected;
  for (int i = 0; i < 700; ++i) {
    text += i % 3 ? "a" : "\n";
    expected += i % 3 ? "a" : "\r\n";
  }
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  {
    TextFileWriter writer(file);
    for (char c : text) writer.Write(&c, 1);
  }
  CloseHandle(file);
  EXPECT_EQ(expected, harness::ReadText(path));
}

// The same three-argument function in both conventions: each gives the
// arguments in order, and the stack pointer is the same after every call.
int __cdecl WeighCdecl(int a, int b, int c) {
  return a * 100 + b * 10 + c;
}
int __stdcall WeighStdcall(int a, int b, int c) {
  return a * 100 + b * 10 + c;
}

template <typename Function>
ForeignFunction<int(int, int, int)> Foreign(Function* function) {
  return ForeignFunction<int(int, int, int)>(
      reinterpret_cast<FARPROC>(reinterpret_cast<void*>(function)));
}

void* StackPointer() {
  void* sp;
  asm volatile("movl %%esp, %0" : "=r"(sp));
  return sp;
}

TEST(ForeignCall, EitherConventionGetsItsArgumentsAndLeavesTheStack) {
  for (auto weigh : {Foreign(WeighCdecl), Foreign(WeighStdcall)}) {
    void* before = StackPointer();
    int sum = 0;
    for (int i = 0; i < 1000; ++i) sum += weigh(1, 2, i % 10);
    EXPECT_EQ(before, StackPointer());
    EXPECT_EQ(1000 * 120 + 100 * 45, sum);
  }
}

}  // namespace
