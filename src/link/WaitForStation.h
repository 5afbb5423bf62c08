// A link's bounded wait for something the station is to say, with the window's events running.
#pragma once

#include "link/LinkObserver.h"

// Waits in short millisecond waits of the observer until done() holds or about limitMs have
// passed; the result is done(). A close ends each of those waits at once, and so this one soon.
template <typename Done>
bool WaitForStation(LinkObserver& observer, int limitMs, Done&& done) {
  constexpr int kSliceMs = 10;
  for (int waited = 0; !done() && waited < limitMs; waited += kSliceMs) observer.WaitMs(kSliceMs);
  return done();
}
