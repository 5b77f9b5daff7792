#pragma once

// Runs the event loop for ms milliseconds, like the program's own loop does: blocking until the
// next event, never sleeping in between (QTest::qWait naps 10 ms at a time, which would hold
// back the 5 ms repeat).
void runEventLoopFor(int ms);
