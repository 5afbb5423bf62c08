// What every fuzz target shares: a failed expectation ends the process with a message, so
// libFuzzer keeps the input as a crash and a corpus replay fails.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

// Aborts with what was expected when holds is false.
void Require(bool holds, const char* expectation);

// The fuzzed bytes as a stream that arrives in receive events: each event is one length byte
// (1 to 64 bytes follow) and its bytes, the last event getting what is left.
std::vector<QByteArray> ReceiveEvents(const std::uint8_t* data, std::size_t size);
