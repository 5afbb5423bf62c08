// Finding the Intellibox or Twin-Center on the port: a long break, a baud-rate probe, the P50X
// prompt check, the default rate where the command station keeps a fixed one, and the set-up
// commands (version query for the About window, RT255, SE62, XSensOff).
#pragma once

// (Re)opens the host's port with only the break and CTS events, so that the replies stay in
// the input queue for the link's reads. True when a command station answered and is ready for
// P50X commands; false when none answered or it needs the user first; what went wrong is then
// in the connection log and a message box. An EComPort from opening the port passes to the
// caller.
bool DetectP50XInterface();
