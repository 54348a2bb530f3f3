// The test switches the reference host turns on through exports of its
// own, read in this one place. The host program has none of them: there
// every switch stays off and every length whole.
#pragma once

// How many times shorter the listener's waits and pauses are (1: whole).
// Looked up once, at the first call.
int HostPauseDivisor();
// Turns the seam's lock-order check on when the host asks for it; called
// at the plug-in's start.
void TakeHostTestSwitches();
// True when the host lifts the rate one sender is allowed (the benchmarks
// measure the filing path at full speed). Looked up once.
bool HostLiftsSenderRate();
// How far the reference host puts the server's clock ahead of this
// station's, in seconds; false (and *seconds untouched) where the host
// has no such switch. Asked at every clock check, since tests move it.
bool HostServerClockOffset(long long* seconds);
