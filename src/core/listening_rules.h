// What the alarm makes of its player's sound: whether it was heard, and which audio sessions it
// turns on.
#pragma once

#include <optional>

#include "conversions.h"

namespace tocsinet {

// The alarm listens this long after the open; a reading at or above -60 dBFS is heard.
inline constexpr double listening_seconds = 30;
inline constexpr float heard_peak = 0.001f;

enum class listening_verdict { keep_listening, heard, silent, not_judged };

// `peak`: the loudest reading of this tick, nothing where no meter can be had. An alarm at 0 %
// is meant to be silent and is never judged.
listening_verdict judge_listening(int percent, std::optional<float> peak, double seconds_since_open);

// An audio session of the default output as the alarm finds it.
enum class session_before { absent, inactive, active }; // at the open
struct audio_session {
    bool ours = false;          // this program's
    bool system_sounds = false; // the chimes of Windows
    bool player = false;        // of the process whose window got the volume command
    session_before before = session_before::absent;
    bool active_now = false;
};

// The player's sessions: the one of the player's window, and any other that is new or has become
// active since the open. Sessions that played before the open, ours and the system's are left
// alone; so is every session at 0 %.
bool alarm_session(const audio_session& session, int percent);

// A chosen session is unmuted and raised to full, never lowered: the device already stands at the
// alarm's percent, and a session's level multiplies it. The player's own level is what its volume
// command set.
output_change session_for_alarm(float level, bool muted, bool player);

} // namespace tocsinet
