// What makes sure an alarm wakes its user: a timer that resumes a sleeping computer, a request
// that keeps the system and the display on, and a sound of the program's own.
#pragma once

#include <windows.h>

#include <optional>

#include "alarm_check.h"
#include "unique_handle.h"

namespace platform {

tocsinet::utc_seconds utc_now();
// The local time zone's rules for the current year.
tocsinet::zone_rule local_zone_rule();

// A waitable timer that resumes the computer from sleep when it is due; cancelled when it goes.
class wake_timer {
  public:
    wake_timer();
    wake_timer(const wake_timer&) = delete;
    wake_timer& operator=(const wake_timer&) = delete;
    ~wake_timer();

    // False when the system refused the timer.
    bool set(tocsinet::utc_seconds due);
    void cancel();
    // When the timer is due, while it is set.
    std::optional<tocsinet::utc_seconds> due() const { return due_; }

  private:
    unique_kernel_handle timer_;
    std::optional<tocsinet::utc_seconds> due_;
};

// Keeps the system and the display on for as long as it lives (SetThreadExecutionState).
class keep_awake {
  public:
    keep_awake();
    keep_awake(const keep_awake&) = delete;
    keep_awake& operator=(const keep_awake&) = delete;
    ~keep_awake();
};

// Plays a WAVE resource of the program over and over until it goes; false when no sound plays.
class looping_sound {
  public:
    explicit looping_sound(int resource_id);
    looping_sound(const looping_sound&) = delete;
    looping_sound& operator=(const looping_sound&) = delete;
    ~looping_sound();

    bool playing() const { return playing_; }

  private:
    bool playing_ = false;
};

} // namespace platform
