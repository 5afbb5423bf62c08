// Decoder of the reply to the version query 0xA0: firmware versions and serial number for the
// About IB/TC window.
#pragma once

class P50XDecoderContext;

void DecodeVersionReply(P50XDecoderContext& context);
