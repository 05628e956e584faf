#include "protocol/ThreadPriority.h"

#include <algorithm>

#if defined(__linux__)
#include <sys/resource.h>
#endif

void RaiseThreadPriority() {
#if defined(__linux__)
  // Each thread has a nice value of its own here. Ask for the best one first
  // and step down until the system allows it: without privileges that is the
  // thread's current value, and nothing changes. Real-time classes are more
  // than the parser needs and could starve the window on a small machine.
  const int current = getpriority(PRIO_PROCESS, 0);
  for (int nice = -20; nice < current; ++nice) {
    if (setpriority(PRIO_PROCESS, 0, nice) == 0) return;
  }
#endif
}

void LowerThreadPriority() {
#if defined(__linux__)
  constexpr int kBelowNormal = 2;
  const int current = getpriority(PRIO_PROCESS, 0);
  (void)setpriority(PRIO_PROCESS, 0, std::min(current + kBelowNormal, 19));
#endif
}
