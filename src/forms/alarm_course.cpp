#include "alarm_course.h"

#include <commctrl.h>

#include "TC_Module.h"
#include "about.h"
#include "alarm.h"
#include "browse_form.h"
#include "conversions.h"
#include "dialog_frame.h"
#include "listening.h"
#include "listening_rules.h"
#include "options.h"
#include "platform.h"
#include "resource.h"
#include "sound_output.h"
#include "time_text.h"

namespace forms {
namespace {

constexpr UINT alarm_timer_interval_ms = 100;
constexpr UINT keep_awake_after_alarm_ms = 30 * 60 * 1000;
constexpr UINT listening_interval_ms = 100;
// The computer wakes this long before the alarm, to be up and running when it goes off.
constexpr tocsinet::utc_seconds wake_lead_seconds = 60;
// A player that has not appeared by then will not; the user hears of it instead of waiting forever.
constexpr double player_wait_seconds = 60;
constexpr DWORD player_poll_ms = 100;

tocsinet::alarm_time alarm_of(HWND window) {
    return {platform::narrow(text_of(window, id_time_hour)),
            platform::narrow(text_of(window, id_time_minute)),
            platform::narrow(text_of(window, id_time_ampm))};
}

// Waits for the player's window while the window events still run. Null when the bound passed
// or the main window went away meanwhile.
HWND wait_for_player(HWND window) {
    double give_up = platform::monotonic_seconds() + player_wait_seconds;
    for (;;) {
        if (!platform::process_pending_messages() || !IsWindow(window))
            return nullptr;
        if (HWND player = platform::find_player_window())
            return player;
        if (platform::monotonic_seconds() >= give_up)
            return nullptr;
        platform::wait_for_message(player_poll_ms);
    }
}

void count_alarm() {
    std::string alarms = TC_Module::read_setting(TC_Module::settings_file(), "STATS", "ALARMS");
    if (alarms.empty()) {
        TC_Module::write_setting(TC_Module::settings_file(), "STATS", "ALARMS", "1");
        return;
    }
    alarms = TC_Module::read_setting(TC_Module::settings_file(), "STATS", "ALARMS");
    TC_Module::write_setting(TC_Module::settings_file(), "STATS", "ALARMS",
                             tocsinet::next_counter_text(alarms));
}

std::wstring nothing_heard_text(const std::wstring& file) {
    return L"The alarm file " + file + L" was opened, but nothing was heard from it.";
}

} // namespace

std::wstring text_of(HWND window, int id) {
    return platform::window_text(GetDlgItem(window, id));
}

int volume_percent(HWND window) {
    return static_cast<int>(SendMessageW(GetDlgItem(window, id_volume), TBM_GETPOS, 0, 0));
}

alarm_course::alarm_course(HWND window, window_side& side) : window(window), side(side) {}

// Its timers go with the window; none ticks for a window on its way out.
alarm_course::~alarm_course() {
    KillTimer(window, alarm_timer);
}

// What the computer is held to now, named after the alarm for the power settings' list.
void alarm_course::update_power_request() {
    tocsinet::awake_hold hold = tocsinet::awake_hold_for(armed(), platform::ac_line_status(), alarm_near);
    power.hold(hold, platform::widen(tocsinet::awake_reason(alarm_of(window))));
}

void alarm_course::power_status_changed() {
    update_power_request();
}

void alarm_course::set_alarm_near(bool alarm_is_near) {
    alarm_near = alarm_is_near;
    if (!alarm_is_near)
        KillTimer(window, keep_awake_timer);
    update_power_request();
}

void alarm_course::keep_awake_over() {
    set_alarm_near(false);
}

// Due a little before the next time the lists show; a computer that refuses it still sounds the
// alarm while awake.
platform::wake_timer::outcome alarm_course::set_wake_timer() {
    zone = platform::local_zone_rule();
    auto instant = tocsinet::next_alarm_instant(alarm_of(window), platform::utc_now(), zone);
    wake_at.reset();
    if (instant)
        wake_at = *instant - wake_lead_seconds;
    auto outcome = wake_at ? wake.set(*wake_at) : platform::wake_timer::outcome::refused;
    if (outcome == platform::wake_timer::outcome::refused)
        wake.cancel();
    // The alarm or the clock moved the wake time later: the display may sleep until then.
    set_alarm_near(alarm_near && wake_at && platform::utc_now() >= *wake_at);
    return outcome;
}

void alarm_course::reschedule() {
    if (armed())
        set_wake_timer();
}

// The armed state's three holders, set together.
void alarm_course::set_armed(bool armed) {
    previous_tick.reset();
    if (armed)
        SetTimer(window, alarm_timer, alarm_timer_interval_ms, nullptr);
    else
        KillTimer(window, alarm_timer);
    alarm_timer_running = armed;
    SetWindowTextW(GetDlgItem(window, id_alarm), armed ? L"Deactivate" : L"Activate");
    SendMessageW(GetDlgItem(window, id_status), SB_SETTEXTW, 0,
                 reinterpret_cast<LPARAM>(armed ? L"Alarm - Active" : L"Alarm - Inactive"));
}

void alarm_course::arm() {
    set_armed(true);
    // That user must keep the computer awake for the alarm.
    if (set_wake_timer() == platform::wake_timer::outcome::set_but_cannot_wake)
        side.show_notice(L"Cannot wake PC");
}

void alarm_course::disarm_after_alarm() {
    set_armed(false);
    wake.cancel();
    wake_at.reset();
    update_power_request();
}

void alarm_course::disarm() {
    alarm_near = false;
    KillTimer(window, keep_awake_timer);
    disarm_after_alarm();
}

// The built-in alarm, heard first: bringing the window back from the tray takes a while.
void alarm_course::start_sound_itself() {
    sound.emplace(IDR_ALARM_SOUND);
    if (!IsWindowVisible(window) || IsIconic(window))
        TC_Module::restore_from_tray(window);
}

// The built-in alarm sounds on until the user answers its message. Returns false when the main
// window is gone: the course must not be touched then.
bool alarm_course::answer_alarm(const std::wstring& message) {
    HWND owner = window;
    // The warning icon's own sound is all there is when the built-in sound cannot play.
    platform::message_box(owner, message, MB_OK | MB_ICONWARNING | MB_TOPMOST | MB_SETFOREGROUND);
    // A close while the message was up has stopped the sound already and freed the course.
    if (!IsWindow(owner))
        return false;
    sound.reset();
    return true;
}

// No player will come: the program sounds the alarm itself, on screen, until the user answers.
void alarm_course::sound_alarm_itself(const std::wstring& file, int shell_result) {
    start_sound_itself();
    disarm_after_alarm();
    std::wstring reason = platform::widen(tocsinet::open_failure_reason(shell_result));
    answer_alarm(L"The alarm file " + file + L" could not be opened: " + reason + L".");
}

// The alarm is over, heard or answered: with the exit option on, the program closes (and the
// course with it).
void alarm_course::after_alarm() {
    if (!tocsinet::flag_is_on(TC_Module::read_setting(TC_Module::settings_file(), "OPTIONS", "ETWAGO")))
        return;
    close_open_dialog(about_class);
    close_open_dialog(browse_form_class);
    close_open_dialog(options_class);
    SendMessageW(window, WM_CLOSE, 0, 0);
}

void alarm_course::end_listening() {
    KillTimer(window, listening_timer);
    if (listening)
        player_session_set = player_session_set || listening->session_set();
    listening.reset();
}

void alarm_course::closing() {
    // Its playback ends here, not at the process end: the window may go, or the session end, under it.
    sound.reset();
    end_listening();
}

// Nothing waits where nothing can be judged: no meter, or an alarm at 0 %.
void alarm_course::start_listening(std::unique_ptr<platform::listening> heard, const std::wstring& file,
                                   double since) {
    end_listening();
    if (!heard->can_listen() ||
        tocsinet::judge_listening(heard->percent(), 0.0f, 0) != tocsinet::listening_verdict::keep_listening)
        return;
    listening = std::move(heard);
    listening_since = since;
    listened_file = file;
    SetTimer(window, listening_timer, listening_interval_ms, nullptr);
}

void alarm_course::listen(std::unique_ptr<platform::listening> heard, double seconds_ago) {
    start_listening(std::move(heard), text_of(window, id_alarm_file),
                    platform::monotonic_seconds() - seconds_ago);
}

void alarm_course::listening_tick() {
    if (!listening)
        return;
    std::optional<float> peak = listening->loudest();
    tocsinet::listening_verdict verdict = tocsinet::judge_listening(
        listening->percent(), peak, platform::monotonic_seconds() - listening_since);
    if (verdict == tocsinet::listening_verdict::keep_listening)
        return;
    end_listening();
    if (verdict == tocsinet::listening_verdict::silent) {
        // At once; the alarm was counted and disarmed when it went off.
        start_sound_itself();
        if (firing) {
            nothing_heard = true;
            return;
        }
        if (!answer_alarm(nothing_heard_text(listened_file)))
            return;
    }
    if (!firing)
        after_alarm();
}

// Returns false when the main window is gone: the course must not be touched then.
bool alarm_course::fire_alarm() {
    HWND owner = window;
    std::wstring file = text_of(owner, id_alarm_file);
    int percent = volume_percent(owner);
    end_listening(); // to the alarm before
    platform::turn_sound_on(percent);
    // Taken before the open, to tell the player's sound from what played already.
    auto heard = std::make_unique<platform::listening>(percent);
    int opened = platform::shell_open(owner, file, platform::program_directory_wide());
    count_alarm();
    if (opened <= 32) {
        sound_alarm_itself(file, opened);
        return IsWindow(owner);
    }
    player_session_set = false;
    nothing_heard = false;
    start_listening(std::move(heard), file, platform::monotonic_seconds());

    HWND player = wait_for_player(owner);
    if (!IsWindow(owner))
        return false;
    bool volume_set =
        player && platform::send_player_volume(player, tocsinet::player_volume(volume_percent(owner)));
    // Messages sent to the window while the player took its time may have closed it.
    if (!IsWindow(owner))
        return false;
    // The music most likely plays in a player of the user's own; a box that waits helps nobody.
    if (!volume_set && !player_session_set && !(listening && listening->session_set()))
        side.show_notice(L"Volume not set");

    disarm_after_alarm();
    if (!IsWindowVisible(owner)) {
        TC_Module::delete_tray_icon();
        if (!TC_Module::add_tray_icon(side.tray_icon(), L"Tocsinet: Inactive", owner))
            TC_Module::restore_from_tray(owner);
    }
    if (nothing_heard) {
        nothing_heard = false;
        return answer_alarm(nothing_heard_text(listened_file));
    }
    return true;
}

void alarm_course::tick() {
    // Ticks keep coming while the sequence waits for the player; one alarm fires once.
    if (firing)
        return;
    platform::local_now now = platform::read_local_clock();
    if (!alarm_near && wake_at && now.utc / 1000 >= *wake_at) {
        set_alarm_near(true);
        if (!sound_system_loaded) {
            sound_system_loaded = true;
            platform::prepare_sound_output();
        }
    }
    tocsinet::alarm_verdict verdict = tocsinet::check_alarm(tocsinet::twelve_hour_text(now.time),
                                                            alarm_of(window), now.utc, previous_tick, zone);
    previous_tick = now.utc;
    if (verdict == tocsinet::alarm_verdict::missed) {
        // Hours late: it stays armed for the next day, and the user sees it was missed.
        side.show_notice(L"Alarm missed");
        alarm_near = false;
        set_wake_timer();
    }
    if (verdict != tocsinet::alarm_verdict::fire)
        return;

    firing = true;
    // Late or not, the display comes on for the alarm and stays on a while after it.
    if (!alarm_near)
        set_alarm_near(true);
    if (!fire_alarm())
        return;
    firing = false;
    SetTimer(window, keep_awake_timer, keep_awake_after_alarm_ms, nullptr);
    // Otherwise the listening's verdict ends the alarm.
    if (!listening)
        after_alarm();
}

std::optional<std::int64_t> wake_time(HWND alarm_window) {
    alarm_course* course = course_of(alarm_window);
    return course ? course->wake_time() : std::nullopt;
}

tocsinet::awake_hold power_hold(HWND alarm_window) {
    alarm_course* course = course_of(alarm_window);
    return course ? course->power_hold() : tocsinet::awake_hold::none;
}

void listen(HWND alarm_window, std::unique_ptr<platform::listening> listening, double seconds_ago) {
    if (alarm_course* course = course_of(alarm_window))
        course->listen(std::move(listening), seconds_ago);
}

} // namespace forms
