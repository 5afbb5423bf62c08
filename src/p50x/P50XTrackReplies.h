// Decoders of the programming-track event reply (0xCE) and the feedback event reply (0xCB).
#pragma once

#include "platform/Task.h"

class P50XDecoderContext;

Task<void> DecodeProgrammingTrackReply(P50XDecoderContext& context);
Task<void> DecodeFeedbackReply(P50XDecoderContext& context);
