// Waiting on a thread that may have windows. A host's window thread answers
// the messages that other threads send to it (SendMessage) only when it
// takes them from its queue; a thread blocked in WaitForSingleObject answers
// none, and a sender waiting for it waits as long as it does.
#pragma once

#include <windows.h>

// Waits at most `milliseconds` for `object`, answering the messages sent to
// this thread meanwhile. Posted messages stay in the queue for the host's
// own message loop. True when the object was signalled.
bool WaitAnsweringSentMessages(HANDLE object, DWORD milliseconds);

// Whether this thread is now answering a message that another thread sent
// it, which that thread waits for.
bool AnsweringSentMessage();
