#pragma once

#include <functional>

// Runs the event loop for ms milliseconds, like the program's own loop does: blocking until the
// next event, never sleeping in between (QTest::qWait naps 10 ms at a time, which would hold
// back the 5 ms repeat).
void runEventLoopFor(int ms);
// Runs the event loop until done() holds, at most timeoutMs; false if it never did.
bool runEventLoopUntil(const std::function<bool()> &done, int timeoutMs);
