// Decoding of the replies to binary P50X commands: the router from command byte to decoder, and
// the status, power, turnout, event, locomotive-event and list replies.
#pragma once

#include "platform/Task.h"

class P50XDecoderContext;

// Reads and decodes the reply to the binary command commandByte (taken modulo 256); reads
// nothing for a command byte without a decoder. The context lives until the decoding ends: the
// command that starts it awaits it at once.
Task<void> DecodeP50XReply(int commandByte, P50XDecoderContext& context);

// The command station's words for a reply byte to the turnout command 0x90; null for a value it
// does not document.
const char* TurnoutReplyText(unsigned char reply);
