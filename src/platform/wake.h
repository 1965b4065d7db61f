// What makes sure an alarm wakes its user: a timer that resumes a sleeping computer, a request
// that keeps the computer, the program and the display going, and a sound of the program's own.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

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

    enum class outcome { set, set_but_cannot_wake, refused };
    // `set_but_cannot_wake`: the timer runs, but this computer cannot resume from sleep for it.
    outcome set(tocsinet::utc_seconds due);
    void cancel();
    // When the timer is due, while it is set.
    std::optional<tocsinet::utc_seconds> due() const { return due_; }

  private:
    unique_kernel_handle timer_;
    std::optional<tocsinet::utc_seconds> due_;
};

// What the program holds against sleep, as a power request whose reason the power settings
// list (powercfg /requests), or through SetThreadExecutionState where there are none. Released
// when it goes.
class power_request {
  public:
    power_request() = default;
    power_request(const power_request&) = delete;
    power_request& operator=(const power_request&) = delete;
    ~power_request() { hold(tocsinet::awake_hold::none, L""); }

    void hold(tocsinet::awake_hold level, const std::wstring& reason);
    tocsinet::awake_hold held() const { return held_; }

  private:
    unique_kernel_handle request_;
    tocsinet::awake_hold held_ = tocsinet::awake_hold::none;
    std::wstring reason_;
    bool through_thread_state_ = false;
};

// 0 on battery, 1 on mains power, 255 unknown.
int ac_line_status();

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
