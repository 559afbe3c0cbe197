// The decoder chain: tries video decoders in order and moves to the next one
// when a decoder gives up before its first picture.
#pragma once

#include "decode/decoder.h"

#include <functional>
#include <vector>

namespace nivra {

struct ChainEntry
{
    QString label; // fixed text for the log
    // Returns an owned decoder, or null with the reason filled in.
    std::function<std::unique_ptr<VideoDecoder>(QString *reason)> make;
};

// Creates a chain over entries and starts it. Returns null when no entry can
// be made; *reason is then the last reason any entry gave, or "Your graphics
// card cannot decode this video." when none gave one.
std::unique_ptr<VideoDecoder> startChainDecoder(std::vector<ChainEntry> entries, QString *reason);

// The policy that a NIVRA_DECODE value selects ("hw", "sw", "auto", trimmed,
// any case), or -1 for any other value.
int decodePolicyOverride(const QString &text);

// The chain entries for a codec (1 or 2) under a policy, after the
// NIVRA_SKIP_HW / NIVRA_SKIP_SW switches.
std::vector<ChainEntry> videoChainEntries(int codec, int policy);

} // namespace nivra
