#pragma once

// Asks for the highest scheduling priority this process may give the calling
// thread. Best effort: without the privilege for a real-time class it takes
// the best ordinary priority it can and never fails.
void RaiseThreadPriority();
// A little below the calling thread's priority (background work: a replay).
void LowerThreadPriority();
