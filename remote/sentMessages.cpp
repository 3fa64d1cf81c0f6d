// MsgWaitForMultipleObjects and PeekMessage as Windows 95 has them: neither
// the Ex form of the wait nor PeekMessage's PM_QS_ filters exist there.

#include "sentMessages.h"

namespace {

// Answers the messages sent to this thread so far. A PeekMessage that
// removes nothing is enough: sent messages are answered before the queue
// is looked at at all.
void AnswerSentMessages() {
  MSG message;
  PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
}

}  // namespace

bool WaitAnsweringSentMessages(HANDLE object, DWORD milliseconds) {
  DWORD start = GetTickCount();
  for (;;) {
    // The wait wakes only for messages that arrive after the last look at
    // the queue, so the look comes first.
    AnswerSentMessages();
    DWORD elapsed = GetTickCount() - start;
    DWORD left = elapsed < milliseconds ? milliseconds - elapsed : 0;
    DWORD result =
        MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_SENDMESSAGE);
    if (result == WAIT_OBJECT_0) return true;
    if (result != WAIT_OBJECT_0 + 1) return false;  // the time is up
  }
}

bool AnsweringSentMessage() {
  return InSendMessage() != FALSE;
}
