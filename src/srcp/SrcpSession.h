// The sessions with the SRCP server on this machine (port 4303): the command connection opened
// when the user chooses "SRCP 0.8", the handshake of "Verbinden", and the end of session of
// "Sluiten". Send errors of the socket layer (ESocketError) go to the caller.
#pragma once

// Starts connecting the command connection; the greeting arrives later in the receive log.
void StartSrcpCommandSession();

// Opens the sessions that the greeting in the receive log asks for and switches the power on
// where the server expects it; sends nothing when no greeting has been recognised.
void SrcpHandshake();

// Switches the power off, ends the command session and closes both connections.
void EndSrcpSession();
