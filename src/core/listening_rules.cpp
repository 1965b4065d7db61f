#include "listening_rules.h"

namespace tocsinet {

listening_verdict judge_listening(int percent, std::optional<float> peak, double seconds_since_open) {
    if (percent <= 0 || !peak)
        return listening_verdict::not_judged;
    if (*peak >= heard_peak)
        return listening_verdict::heard;
    return seconds_since_open >= listening_seconds ? listening_verdict::silent
                                                   : listening_verdict::keep_listening;
}

bool alarm_session(const audio_session& session, int percent) {
    if (percent <= 0 || session.ours || session.system_sounds)
        return false;
    if (session.player)
        return true;
    return session.before == session_before::absent ||
           (session.before == session_before::inactive && session.active_now);
}

output_change session_for_alarm(float level, bool muted, bool player) {
    return {muted, !player && level < 1.0f ? std::optional<float>(1.0f) : std::nullopt};
}

} // namespace tocsinet
