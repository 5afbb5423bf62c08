// Decoder of the reply to the version query 0xA0: firmware versions and serial number for the
// About IB/TC window.
#pragma once

#include "platform/Task.h"

class P50XDecoderContext;

Task<void> DecodeVersionReply(P50XDecoderContext& context);
