// The sub-command tables of nivra-card, one function per source file.
#pragma once

#include "cli.h"

#include <vector>

namespace nivracard {

// info, ranges, days, events, keyframes, probe, frames (cmd_card.cpp).
std::vector<Command> card_commands();

// plan, export (cmd_export.cpp).
std::vector<Command> export_commands();

// events-export (cmd_events_export.cpp).
std::vector<Command> events_export_commands();

// activity, loudness (cmd_activity.cpp; none without libavcodec).
std::vector<Command> activity_commands();

} // namespace nivracard
