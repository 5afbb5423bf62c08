// Decoders of the programming-track event reply (0xCE) and the feedback event reply (0xCB).
#pragma once

class P50XDecoderContext;

void DecodeProgrammingTrackReply(P50XDecoderContext& context);
void DecodeFeedbackReply(P50XDecoderContext& context);
