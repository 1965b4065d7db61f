// The alarm's course, from arming to the end of the alarm: the zone's rules, the wake timer and the
// power hold, the tick that fires it, the player, the listening and the built-in sound. The main
// window drives it and shows what it tells.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "alarm_check.h"
#include "wake.h"

namespace platform {
class listening; // listening.h
}

namespace forms {

// The main window's timers the course runs; the window's procedure hands their ticks to it.
inline constexpr UINT_PTR alarm_timer = 1;
// After the alarm the computer and the display stay on a while for the user to get up.
inline constexpr UINT_PTR keep_awake_timer = 3;
// From the open of the alarm file until its verdict, the alarm listens at every tick.
inline constexpr UINT_PTR listening_timer = 4;

// A control's text and the volume slider's position, where the alarm's time, file and volume live.
std::wstring text_of(HWND window, int id);
int volume_percent(HWND window);

class alarm_course;
// The main window's course; null before the window is made and once it is gone.
alarm_course* course_of(HWND alarm_window);

class alarm_course {
  public:
    // What the course asks of the window it runs in.
    class window_side {
      public:
        virtual void show_notice(const wchar_t* notice) = 0;
        // At the notification area's size, for the window that goes back there after the alarm.
        virtual HICON tray_icon() const = 0;

      protected:
        ~window_side() = default;
    };

    alarm_course(HWND window, window_side& side);
    alarm_course(const alarm_course&) = delete;
    alarm_course& operator=(const alarm_course&) = delete;
    ~alarm_course();

    // The armed state is `alarm_timer` running; the button's caption and the first status panel
    // change with it, here only.
    bool armed() const { return alarm_timer_running; }
    void arm();
    // By the user: nothing holds the computer or the display any more.
    void disarm();
    // At every tick of `alarm_timer`, `keep_awake_timer` and `listening_timer`.
    void tick();
    void keep_awake_over();
    void listening_tick();
    // The alarm time or the clock moved (set, or the computer resumed): the wake timer goes by both
    // as they are now.
    void reschedule();
    // On battery or on mains power now.
    void power_status_changed();
    // The window closes or the session ends: the sound and the listening end before anything else.
    void closing();

    // Listens as the alarm does after it opened its file `seconds_ago`, with what `listening` hears.
    void listen(std::unique_ptr<platform::listening> listening, double seconds_ago);
    std::optional<std::int64_t> wake_time() const { return wake.due(); }
    tocsinet::awake_hold power_hold() const { return power.held(); }

  private:
    void set_armed(bool armed);
    void disarm_after_alarm();
    void update_power_request();
    void set_alarm_near(bool alarm_is_near);
    platform::wake_timer::outcome set_wake_timer();
    void start_sound_itself();
    bool answer_alarm(const std::wstring& message);
    void sound_alarm_itself(const std::wstring& file, int shell_result);
    void after_alarm();
    void end_listening();
    void start_listening(std::unique_ptr<platform::listening> heard, const std::wstring& file, double since);
    bool fire_alarm();

    HWND window;
    window_side& side;
    // Whether this course set `alarm_timer` and has not killed it: it is the timer's only caller.
    bool alarm_timer_running = false;
    // The previous tick of this arming, to catch an alarm second a late tick skipped.
    std::optional<tocsinet::utc_millis> previous_tick;
    // Set while the firing sequence runs, so a nested tick cannot start it again.
    bool firing = false;
    // The built-in alarm while its message is up; a close ends it before anything else goes.
    std::optional<platform::looping_sound> sound;
    // What the alarm hears of its file, from the open (`listening_since`, monotonic seconds) until
    // the verdict.
    std::unique_ptr<platform::listening> listening;
    double listening_since = 0;
    std::wstring listened_file;
    // A session of the player was turned on: the volume is set, with no command to the player.
    bool player_session_set = false;
    // Nothing was heard while the firing sequence waited for the player: the message comes at the
    // end of the wait.
    bool nothing_heard = false;
    platform::wake_timer wake;
    // When the computer should be up for the armed alarm, whether or not Windows can wake it.
    std::optional<tocsinet::utc_seconds> wake_at;
    // The local zone's rules, read again whenever the clock moves: reading them takes long.
    tocsinet::zone_rule zone;
    // The sound system is loaded at the first wake time (and stays loaded while COM, started for the
    // program's life, does), so that the alarm itself waits for nothing.
    bool sound_system_loaded = false;
    // From the wake time until a while after the alarm: the display is held on.
    bool alarm_near = false;
    platform::power_request power;
};

} // namespace forms
