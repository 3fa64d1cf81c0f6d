// The one piece of assembly behind ForeignFunction (see foreignCall.h).

#include "foreignCall.h"

// EBP keeps the stack pointer from before the arguments across the call;
// the callee keeps EBP in either convention. ECX and EDX are free in both.
extern "C"
    __attribute__((naked)) int __cdecl CallEitherConvention(FARPROC, const int*,
                                                            int) {
  asm("pushl %ebp\n\t"
      "movl %esp, %ebp\n\t"
      "movl 12(%ebp), %edx\n\t"  // words
      "movl 16(%ebp), %ecx\n\t"  // count
      "1:\n\t"                   // push the words, the last first
      "testl %ecx, %ecx\n\t"
      "jz 2f\n\t"
      "decl %ecx\n\t"
      "pushl (%edx,%ecx,4)\n\t"
      "jmp 1b\n\t"
      "2:\n\t"
      "call *8(%ebp)\n\t"
      "movl %ebp, %esp\n\t"  // the arguments are gone, whoever removed them
      "popl %ebp\n\t"
      "ret");
}
