// The application object for targets that need the window toolkit: created once, on the
// offscreen platform, with a notifier in place of modal boxes. Nothing on the paths fuzzed
// should ever show a box, so one that would is reported as a failure.
#pragma once

void StartFuzzApplication();
