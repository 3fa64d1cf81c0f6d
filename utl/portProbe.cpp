// Probing for I/O port access.
//
// User code on Windows 95/98/Millennium may execute `in`; on the NT family
// (and under Wine) the instruction raises a privileged-instruction
// exception. We cannot ask the system which case we are in: version checks
// lie under compatibility settings, and vectored handlers do not exist
// before Windows XP. So we try one read inside a structured exception frame
// that we register by hand, the way every Win32 system since Windows 95
// dispatches exceptions: a chain of records starting at fs:[0].

#include "portProbe.h"

#include <windows.h>

namespace {

// One record of the thread's exception handler chain, extended by the
// probe's own fields. The system hands the record's address to the handler
// as the establisher frame, which is how the handler finds those fields.
struct ProbeFrame {
  ProbeFrame* next;  // the record that was at fs:[0] before ours
  void* handler;     // called by the system for each exception
  DWORD probeAt;     // address of the guarded `in` instruction
  volatile LONG faulted;
};

// The guarded instruction is `in al, 0x61`: opcode E4 61.
const DWORD kProbeInstructionLength = 2;

EXCEPTION_DISPOSITION __cdecl StepOverProbe(EXCEPTION_RECORD* record,
                                            void* establisherFrame,
                                            CONTEXT* context, void*) {
  ProbeFrame* frame = static_cast<ProbeFrame*>(establisherFrame);
  const DWORD unwinding = EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND;
  if ((record->ExceptionFlags & unwinding) != 0 ||
      context->Eip != frame->probeAt) {
    return ExceptionContinueSearch;  // not ours
  }
  frame->faulted = 1;
  context->Eip += kProbeInstructionLength;
  return ExceptionContinueExecution;
}

}  // namespace

// Registers, reads, unregisters. Kept out of line, so that the frame, which
// must lie on this thread's stack, belongs to this one function.
__attribute__((noinline)) bool PortReadsAllowed() {
  ProbeFrame frame;
  frame.handler = reinterpret_cast<void*>(StepOverProbe);
  frame.faulted = 0;
  asm volatile(
      "movl %%fs:0, %%eax\n\t"
      "movl %%eax, %[next]\n\t"    // frame.next = fs:[0]
      "movl $1f, %[probeAt]\n\t"   // frame.probeAt = the `in` below
      "movl %[frame], %%fs:0\n\t"  // fs:[0] = &frame: our handler is first
      "1: inb $0x61, %%al\n\t"     // the probe; faults where not allowed
      "movl %[next], %%eax\n\t"
      "movl %%eax, %%fs:0\n\t"  // fs:[0] = frame.next: unregistered
      : [next] "=m"(frame.next), [probeAt] "=m"(frame.probeAt)
      : [frame] "r"(&frame)
      : "eax", "memory");
  return frame.faulted == 0;
}

void ReadPort61() {
  asm volatile("inb $0x61, %%al" : : : "eax");
}
