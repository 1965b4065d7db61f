#include "alarm.h"

#include <commctrl.h>
#include <windowsx.h>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "TC_Module.h"
#include "about.h"
#include "alarm_check.h"
#include "browse_form.h"
#include "conversions.h"
#include "dialog_frame.h"
#include "geometry.h"
#include "layout.h"
#include "listening.h"
#include "listening_rules.h"
#include "options.h"
#include "platform.h"
#include "time_text.h"
#include "tray_text.h"
#include "resource.h"
#include "sound_output.h"
#include "unique_handle.h"
#include "wake.h"

namespace forms {
namespace {

constexpr UINT_PTR alarm_timer = 1;
constexpr UINT alarm_timer_interval_ms = 100;
// The status bar's time panel follows the clock; no alarm logic reads it.
constexpr UINT_PTR clock_timer = 2;
constexpr UINT clock_timer_interval_ms = 1000;
// After the alarm the computer and the display stay on this long for the user to get up.
constexpr UINT_PTR keep_awake_timer = 3;
constexpr UINT keep_awake_after_alarm_ms = 30 * 60 * 1000;
// From the open of the alarm file until its verdict, the alarm listens at every tick.
constexpr UINT_PTR listening_timer = 4;
constexpr UINT listening_interval_ms = 100;
// The computer wakes this long before the alarm, to be up and running when it goes off.
constexpr tocsinet::utc_seconds wake_lead_seconds = 60;
// Posted when the window comes to the user with a notice, so it is seen after the input that
// brought the window up.
constexpr UINT notice_seen_message = WM_APP + 1;

constexpr int client_width = 3825;
constexpr int client_height = 2430;
constexpr DWORD window_style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The armed indicator, then the clock.
constexpr int status_panels[] = {2500, 1440};

// Z order and tab order follow the table: the controls that take the focus come first, in
// the order the Tab key visits them, each list, box and slider after the hidden label that names
// it, and the boxes that frame others come last, beneath them.
constexpr control_spec alarm_layout[] = {
    {label_id, control_kind::hidden_label, L"Hour", 0, 0, 0, 0, 0, false},
    {id_time_hour, control_kind::drop_down_list, nullptr, id_Frame1, 120, 240, 615, 330, true},
    {label_id, control_kind::hidden_label, L"Minute", 0, 0, 0, 0, 0, false},
    {id_time_minute, control_kind::drop_down_list, nullptr, id_Frame1, 840, 240, 615, 330, true},
    {label_id, control_kind::hidden_label, L"AM or PM", 0, 0, 0, 0, 0, false},
    {id_time_ampm, control_kind::drop_down_list, nullptr, id_Frame1, 1560, 240, 615, 330, true},
    {id_alarm, control_kind::button, L"Activate", id_Picture1, 0, 0, 1275, 280, true},
    {id_browse, control_kind::button, L"&Browse...", id_Picture2, 0, 0, 1275, 280, true},
    {label_id, control_kind::hidden_label, L"Alarm file", 0, 0, 0, 0, 0, false},
    {id_alarm_file, control_kind::read_only_edit, L"no file", id_Frame3, 120, 310, 2055, 315, true},
    {label_id, control_kind::hidden_label, L"Volume", 0, 0, 0, 0, 0, false},
    {id_volume, control_kind::slider, nullptr, id_Frame2, 45, 270, 2535, 255, true},
    // Sized to its widest text, "100%".
    {id_volume_perc, control_kind::label, L"50%", id_Frame2, 2640, 235, 435, 210, false},
    {id_about_icon, control_kind::icon_picture, nullptr, 0, 3280, 1560, 480, 480, false},
    {id_Picture1, control_kind::picture, nullptr, id_Frame1, 2280, 240, 1335, 340, false},
    {id_Picture2, control_kind::picture, nullptr, id_Frame3, 2280, 240, 1335, 340, false},
    {id_Frame1, control_kind::frame, L"Time", 0, 50, 0, 3735, 680, false},
    {id_Frame3, control_kind::frame, L"Alarm File", 0, 50, 720, 3735, 680, false},
    {id_Frame2, control_kind::frame, L"Volume", 0, 50, 1440, 3135, 580, false},
    {id_status, control_kind::status_bar, nullptr, 0, 0, 2085, 3825, 345, false, status_panels},
};

constexpr window_design alarm_design{{client_width, client_height}, alarm_layout};

// Its fonts and icons, at the window's DPI.
struct alarm_form : dpi_resources {
    HWND window = nullptr;
    window_colours colours;
    focus_keeper focus;
    // The armed state itself: whether alarm_timer runs.
    bool alarm_timer_enabled = false;
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
    // COM from the first wake time on, so that what the alarm loads of the sound system stays loaded.
    std::optional<platform::com_scope> sound_system;
    // From the wake time until a while after the alarm: the display is held on.
    bool alarm_near = false;
    platform::power_request power;
    // What the user should know, shown in place of the clock until the user next uses the window.
    std::wstring notice;
    // Whether the user has had the window in front since the notice appeared, and whether it is
    // coming to the front now.
    bool notice_seen = false;
    bool activating = false;
    // A settings write that failed is told once a run.
    bool settings_not_saved_told = false;
    // Sent to every top-level window when the shell's task bar (re)starts.
    UINT taskbar_created = 0;
    // At the notification area's size, which the window's icons are not.
    platform::unique_icon tray_icon;

    HWND control(int id) const { return GetDlgItem(window, id); }
};

alarm_form* form_of(HWND window) { return reinterpret_cast<alarm_form*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

std::wstring text_of(const alarm_form& form, int id) { return platform::window_text(form.control(id)); }

int volume_percent(const alarm_form& form) {
    return static_cast<int>(SendMessageW(form.control(id_volume), TBM_GETPOS, 0, 0));
}

void set_status_text(const alarm_form& form, const wchar_t* text) {
    SendMessageW(form.control(id_status), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text));
}

tocsinet::alarm_time alarm_of(const alarm_form& form) {
    return {platform::narrow(text_of(form, id_time_hour)), platform::narrow(text_of(form, id_time_minute)),
            platform::narrow(text_of(form, id_time_ampm))};
}

// What the computer is held to now, named after the alarm for the power settings' list.
void update_power_request(alarm_form& form) {
    tocsinet::awake_hold hold =
        tocsinet::awake_hold_for(form.alarm_timer_enabled, platform::ac_line_status(), form.alarm_near);
    form.power.hold(hold, platform::widen(tocsinet::awake_reason(alarm_of(form))));
}

void set_alarm_near(alarm_form& form, bool alarm_near) {
    form.alarm_near = alarm_near;
    if (!alarm_near)
        KillTimer(form.window, keep_awake_timer);
    update_power_request(form);
}

// Due a little before the next time the lists show; a computer that refuses it still sounds the
// alarm while awake.
platform::wake_timer::outcome set_wake_timer(alarm_form& form) {
    form.zone = platform::local_zone_rule();
    auto instant = tocsinet::next_alarm_instant(alarm_of(form), platform::utc_now(), form.zone);
    form.wake_at.reset();
    if (instant)
        form.wake_at = *instant - wake_lead_seconds;
    auto outcome = form.wake_at ? form.wake.set(*form.wake_at) : platform::wake_timer::outcome::refused;
    if (outcome == platform::wake_timer::outcome::refused)
        form.wake.cancel();
    // The alarm or the clock moved the wake time later: the display may sleep until then.
    set_alarm_near(form, form.alarm_near && form.wake_at && platform::utc_now() >= *form.wake_at);
    return outcome;
}

platform::wake_timer::outcome set_alarm_timer(alarm_form& form, bool enabled) {
    form.alarm_timer_enabled = enabled;
    form.previous_tick.reset();
    if (enabled) {
        SetTimer(form.window, alarm_timer, alarm_timer_interval_ms, nullptr);
        return set_wake_timer(form);
    }
    KillTimer(form.window, alarm_timer);
    form.wake.cancel();
    form.wake_at.reset();
    update_power_request(form);
    return platform::wake_timer::outcome::refused;
}

void select_exact(HWND list, const std::string& text) {
    std::wstring wide = platform::widen(text);
    LRESULT index = SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide.c_str()));
    SendMessageW(list, CB_SETCURSEL, index == CB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(index), 0);
}

void add_item(HWND list, const std::wstring& text) {
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void update_clock_panel(const alarm_form& form) {
    wchar_t text[64] = L"";
    GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, text, 64);
    const wchar_t* shown = form.notice.empty() ? text : form.notice.c_str();
    SendMessageW(form.control(id_status), SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(shown));
}

void show_notice(alarm_form& form, const wchar_t* notice) {
    form.notice = notice;
    form.notice_seen = GetForegroundWindow() == form.window;
    update_clock_panel(form);
}

void clear_notice(alarm_form& form) {
    form.notice.clear();
    update_clock_panel(form);
}

// A click or key in the window gives the clock back, but for the click that brings the window up:
// the notice is shown to the user then.
void window_used(alarm_form& form) {
    if (!form.notice.empty() && !form.activating)
        clear_notice(form);
}

// Brought to the front (from the tray too): a notice already seen gives the clock back; one the
// user has not seen yet stays until the next use.
void on_activate(alarm_form& form) {
    if (form.notice.empty())
        return;
    if (form.notice_seen) {
        clear_notice(form);
    } else {
        form.activating = true;
        PostMessageW(form.window, notice_seen_message, 0, 0);
    }
}

void on_notice_seen(alarm_form& form) {
    form.activating = false;
    form.notice_seen = !form.notice.empty();
}

// The program runs on without its settings; the user learns it once, not at every write.
void on_settings_not_saved(alarm_form& form) {
    if (form.settings_not_saved_told)
        return;
    form.settings_not_saved_told = true;
    show_notice(form, L"Settings not saved");
}

// The saved position is in twips; it moves onto a monitor when none would show it.
void place_window_at(const alarm_form& form, double left_twips, double top_twips, int dpi) {
    RECT current;
    GetWindowRect(form.window, &current);
    tocsinet::rect_px at = tocsinet::window_at_twips(left_twips, top_twips, current.right - current.left,
                                                     current.bottom - current.top, dpi);
    RECT wanted{at.left, at.top, at.right, at.bottom};
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoW(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &monitor);
    auto to_rect = [](const RECT& r) { return tocsinet::rect_px{r.left, r.top, r.right, r.bottom}; };
    tocsinet::rect_px placed = tocsinet::reachable_position(to_rect(wanted), to_rect(monitor.rcMonitor),
                                                            to_rect(monitor.rcWork));
    SetWindowPos(form.window, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The twips count at the system's DPI, as they were saved. A move onto a monitor of another DPI
// lays the window out anew (WM_DPICHANGED) at another size, and the window is placed again at
// that size: a few DPIs at most.
void place_window(const alarm_form& form, double left_twips, double top_twips) {
    int system_dpi = platform::system_dpi();
    for (int attempt = 0, placed_at = 0; attempt < 4 && placed_at != form.dpi; ++attempt) {
        placed_at = form.dpi;
        place_window_at(form, left_twips, top_twips, system_dpi);
    }
}

void volume_Change(const alarm_form& form) {
    int value = volume_percent(form);
    std::wstring caption = std::to_wstring(value) + L"%";
    SetWindowTextW(form.control(id_volume_perc), caption.c_str());
}

void Form_Load(alarm_form& form) {
    std::string file = TC_Module::settings_file();
    set_status_text(form, L"Alarm - Inactive");
    double left = tocsinet::leading_number(TC_Module::read_setting(file, "TOCSINET", "X"));
    double top = tocsinet::leading_number(TC_Module::read_setting(TC_Module::settings_file(), "TOCSINET", "Y"));
    place_window(form, left, top);

    for (int hour = 1; hour <= 12; ++hour)
        add_item(form.control(id_time_hour), std::to_wstring(hour));
    for (int minute = 0; minute < 60; ++minute)
        add_item(form.control(id_time_minute), (minute < 10 ? L"0" : L"") + std::to_wstring(minute));
    add_item(form.control(id_time_ampm), L"AM");
    add_item(form.control(id_time_ampm), L"PM");

    HWND volume = form.control(id_volume);
    SendMessageW(volume, TBM_SETPOS, TRUE, 50);

    if (tocsinet::flag_is_on(TC_Module::read_setting(TC_Module::settings_file(), "OPTIONS", "LCTOS"))) {
        select_exact(form.control(id_time_hour), TC_Module::current_time_part("hour"));
        select_exact(form.control(id_time_minute), TC_Module::current_time_part("minute"));
        select_exact(form.control(id_time_ampm), TC_Module::current_time_part("ampm"));
    }

    std::string stored_volume = TC_Module::read_setting(TC_Module::settings_file(), "TOCSINET", "VOLUME");
    if (!stored_volume.empty()) {
        int current = static_cast<int>(SendMessageW(volume, TBM_GETPOS, 0, 0));
        SendMessageW(volume, TBM_SETPOS, TRUE, tocsinet::volume_from_text(stored_volume, current));
    }
    volume_Change(form);

    if (TC_Module::read_setting(TC_Module::settings_file(), "STATS", "ALARMS").empty())
        TC_Module::write_setting(TC_Module::settings_file(), "STATS", "ALARMS", "0");
    std::string loads = TC_Module::read_setting(TC_Module::settings_file(), "STATS", "LOADS");
    TC_Module::write_setting(TC_Module::settings_file(), "STATS", "LOADS", tocsinet::next_counter_text(loads));
}

void alarm_Click(alarm_form& form) {
    clear_notice(form);
    if (text_of(form, id_alarm) == L"Activate") {
        bool complete = !text_of(form, id_time_hour).empty() && !text_of(form, id_time_minute).empty() &&
                        !text_of(form, id_time_ampm).empty() && !text_of(form, id_alarm_file).empty();
        if (!complete) {
            platform::message_box(form.window, L"Please select and alarm time and an alarm file", MB_OK);
            return;
        }
        SetWindowTextW(form.control(id_alarm), L"Deactivate");
        // That user must keep the computer awake for the alarm.
        if (set_alarm_timer(form, true) == platform::wake_timer::outcome::set_but_cannot_wake)
            show_notice(form, L"Cannot wake PC");
        set_status_text(form, L"Alarm - Active");
    } else {
        SetWindowTextW(form.control(id_alarm), L"Activate");
        // The user is up: nothing holds the computer or the display any more.
        form.alarm_near = false;
        KillTimer(form.window, keep_awake_timer);
        set_alarm_timer(form, false);
        set_status_text(form, L"Alarm - Inactive");
    }
}

// The dialogs that close with the main window, in the order they close.
constexpr const wchar_t* about_class = L"TocsinetAbout";
constexpr const wchar_t* options_class = L"TocsinetOptions";

// A player that has not appeared by then will not; the user hears of it instead of waiting forever.
constexpr double player_wait_seconds = 60;
constexpr DWORD player_poll_ms = 100;

void disarm(alarm_form& form) {
    set_alarm_timer(form, false);
    set_status_text(form, L"Alarm - Inactive");
    SetWindowTextW(form.control(id_alarm), L"Activate");
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
    TC_Module::write_setting(TC_Module::settings_file(), "STATS", "ALARMS", tocsinet::next_counter_text(alarms));
}

// The built-in alarm, heard first: bringing the window back from the tray takes a while.
void start_sound_itself(alarm_form& form) {
    form.sound.emplace(IDR_ALARM_SOUND);
    if (!IsWindowVisible(form.window) || IsIconic(form.window))
        TC_Module::restore_from_tray(form.window);
}

// The built-in alarm sounds on until the user answers its message. Returns false when the main
// window is gone: `form` must not be touched then.
bool answer_alarm(alarm_form& form, const std::wstring& message) {
    HWND window = form.window;
    // The warning icon's own sound is all there is when the built-in sound cannot play.
    platform::message_box(window, message, MB_OK | MB_ICONWARNING | MB_TOPMOST | MB_SETFOREGROUND);
    // A close while the message was up has stopped the sound already and freed `form`.
    if (!IsWindow(window))
        return false;
    form.sound.reset();
    return true;
}

std::wstring nothing_heard_text(const std::wstring& file) {
    return L"The alarm file " + file + L" was opened, but nothing was heard from it.";
}

// No player will come: the program sounds the alarm itself, on screen, until the user answers.
void sound_alarm_itself(alarm_form& form, const std::wstring& file, int shell_result) {
    start_sound_itself(form);
    disarm(form);
    std::wstring reason = platform::widen(tocsinet::open_failure_reason(shell_result));
    answer_alarm(form, L"The alarm file " + file + L" could not be opened: " + reason + L".");
}

// The alarm is over, heard or answered: with the exit option on, the program closes.
void after_alarm(alarm_form& form) {
    if (!tocsinet::flag_is_on(TC_Module::read_setting(TC_Module::settings_file(), "OPTIONS", "ETWAGO")))
        return;
    close_open_dialog(about_class);
    close_open_dialog(browse_form_class);
    close_open_dialog(options_class);
    SendMessageW(form.window, WM_CLOSE, 0, 0);
}

void end_listening(alarm_form& form) {
    KillTimer(form.window, listening_timer);
    if (form.listening)
        form.player_session_set = form.player_session_set || form.listening->session_set();
    form.listening.reset();
}

// Nothing waits where nothing can be judged: no meter, or an alarm at 0 %.
void start_listening(alarm_form& form, std::unique_ptr<platform::listening> listening,
                     const std::wstring& file, double since) {
    end_listening(form);
    if (!listening->can_listen() || tocsinet::judge_listening(listening->percent(), 0.0f, 0) !=
                                        tocsinet::listening_verdict::keep_listening)
        return;
    form.listening = std::move(listening);
    form.listening_since = since;
    form.listened_file = file;
    SetTimer(form.window, listening_timer, listening_interval_ms, nullptr);
}

void listening_timer_Timer(alarm_form& form) {
    if (!form.listening)
        return;
    std::optional<float> peak = form.listening->loudest();
    tocsinet::listening_verdict verdict = tocsinet::judge_listening(
        form.listening->percent(), peak, platform::monotonic_seconds() - form.listening_since);
    if (verdict == tocsinet::listening_verdict::keep_listening)
        return;
    end_listening(form);
    if (verdict == tocsinet::listening_verdict::silent) {
        // At once; the alarm was counted and disarmed when it went off.
        start_sound_itself(form);
        if (form.firing) {
            form.nothing_heard = true;
            return;
        }
        if (!answer_alarm(form, nothing_heard_text(form.listened_file)))
            return;
    }
    if (!form.firing)
        after_alarm(form);
}

// Returns false when the main window is gone: `form` must not be touched then.
bool fire_alarm(alarm_form& form) {
    HWND window = form.window;
    std::wstring file = text_of(form, id_alarm_file);
    int percent = volume_percent(form);
    end_listening(form); // to the alarm before
    platform::turn_sound_on(percent);
    // Taken before the open, to tell the player's sound from what played already.
    auto listening = std::make_unique<platform::listening>(percent);
    int opened = platform::shell_open(window, file, platform::program_directory_wide());
    count_alarm();
    if (opened <= 32) {
        sound_alarm_itself(form, file, opened);
        return IsWindow(window);
    }
    form.player_session_set = false;
    form.nothing_heard = false;
    start_listening(form, std::move(listening), file, platform::monotonic_seconds());

    HWND player = wait_for_player(window);
    if (!IsWindow(window))
        return false;
    bool volume_set =
        player && platform::send_player_volume(player, tocsinet::player_volume(volume_percent(form)));
    // Messages sent to the window while the player took its time may have closed it.
    if (!IsWindow(window))
        return false;
    // The music most likely plays in a player of the user's own; a box that waits helps nobody.
    if (!volume_set && !form.player_session_set && !(form.listening && form.listening->session_set()))
        show_notice(form, L"Volume not set");

    disarm(form);
    if (!IsWindowVisible(window)) {
        TC_Module::delete_tray_icon();
        if (!TC_Module::add_tray_icon(form.tray_icon.get(), L"Tocsinet: Inactive", window))
            TC_Module::restore_from_tray(window);
    }
    if (form.nothing_heard) {
        form.nothing_heard = false;
        return answer_alarm(form, nothing_heard_text(form.listened_file));
    }
    return true;
}

void alarm_timer_Timer(alarm_form& form) {
    // Ticks keep coming while the sequence waits for the player; one alarm fires once.
    if (form.firing)
        return;
    platform::local_now now = platform::read_local_clock();
    if (!form.alarm_near && form.wake_at && now.utc / 1000 >= *form.wake_at) {
        set_alarm_near(form, true);
        // Now, so that the alarm itself waits for nothing.
        if (!form.sound_system) {
            form.sound_system.emplace();
            platform::prepare_sound_output();
        }
    }
    tocsinet::alarm_verdict verdict = tocsinet::check_alarm(tocsinet::twelve_hour_text(now.time), alarm_of(form),
                                                            now.utc, form.previous_tick, form.zone);
    form.previous_tick = now.utc;
    if (verdict == tocsinet::alarm_verdict::missed) {
        // Hours late: it stays armed for the next day, and the user sees it was missed.
        show_notice(form, L"Alarm missed");
        form.alarm_near = false;
        set_wake_timer(form);
    }
    if (verdict != tocsinet::alarm_verdict::fire)
        return;

    form.firing = true;
    // Late or not, the display comes on for the alarm and stays on a while after it.
    if (!form.alarm_near)
        set_alarm_near(form, true);
    if (!fire_alarm(form))
        return;
    form.firing = false;
    SetTimer(form.window, keep_awake_timer, keep_awake_after_alarm_ms, nullptr);
    // Otherwise the listening's verdict ends the alarm.
    if (!form.listening)
        after_alarm(form);
}

// The clock was set or the computer resumed: the wake timer goes by the clock as it is now.
void on_clock_moved(alarm_form& form) {
    if (form.alarm_timer_enabled)
        set_wake_timer(form);
}

void let_the_computer_sleep(alarm_form& form) { set_alarm_near(form, false); }

void Form_Resize(alarm_form& form) {
    if (!tocsinet::flag_is_on(TC_Module::read_setting(TC_Module::settings_file(), "options", "MTST")))
        return;
    std::wstring tip = tocsinet::tray_tooltip(form.alarm_timer_enabled, text_of(form, id_time_hour),
                                              text_of(form, id_time_minute), text_of(form, id_time_ampm),
                                              tocsinet::alarm_file_name(text_of(form, id_alarm_file)));
    if (IsIconic(form.window))
        TC_Module::add_tray_icon(form.tray_icon.get(), tip, form.window);
}

// What the icon reports: a press brings the window back.
void Form_MouseMove(alarm_form& form, LPARAM icon_lparam) {
    HWND window = form.window;
    // Back to normal; a window hidden in the tray takes the state when it is shown again.
    if (IsWindowVisible(window) && IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    if (TC_Module::tray_mouse_message(icon_lparam) == 0)
        return;
    TC_Module::pause_seconds(0.3);
    if (IsWindow(window))
        TC_Module::restore_from_tray(window);
}

// Where the window stands when it is not minimised: a minimised or hidden window reports a
// placeholder far off screen, which the next start must not use.
POINT restored_position(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    if (!IsIconic(window))
        return {rect.left, rect.top};
    WINDOWPLACEMENT placement{sizeof placement};
    GetWindowPlacement(window, &placement);
    // The placement is relative to the work area of the window's monitor.
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoW(MonitorFromRect(&placement.rcNormalPosition, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return {placement.rcNormalPosition.left + monitor.rcWork.left - monitor.rcMonitor.left,
            placement.rcNormalPosition.top + monitor.rcWork.top - monitor.rcMonitor.top};
}

void Form_Unload(alarm_form& form) {
    // Its playback ends here, not at the process end: the window may go, or the session end, under it.
    form.sound.reset();
    end_listening(form);
    POINT position = restored_position(form.window);
    // In twips at the system's DPI, whatever the DPI of the monitor the window is on.
    int system_dpi = platform::system_dpi();
    auto twips = [&](int pixels) { return tocsinet::position_text(pixels, system_dpi); };
    TC_Module::write_setting(TC_Module::settings_file(), "TOCSINET", "X", twips(position.x));
    TC_Module::write_setting(TC_Module::settings_file(), "TOCSINET", "Y", twips(position.y));
    TC_Module::write_setting(TC_Module::settings_file(), "TOCSINET", "VOLUME", std::to_string(volume_percent(form)));
    TC_Module::delete_tray_icon();
    close_open_dialog(about_class);
    close_open_dialog(browse_form_class);
}

void browse_Click(alarm_form& form) {
    EnableWindow(form.window, FALSE);
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(form.window, GWLP_HINSTANCE));
    // Never left disabled with no picker on screen.
    if (!show_browse_form(instance, form.window))
        EnableWindow(form.window, TRUE);
}

// The popup menu, its left edge at `at` (screen coordinates).
void about_icon_Click(const alarm_form& form, POINT at) {
    // The menu's loop runs the alarm's ticks, and an alarm that closes the program takes `form`
    // with it: the menu and the window are held here, apart from it.
    HWND window = form.window;
    platform::unique_menu menu(CreatePopupMenu());
    AppendMenuW(menu.get(), MF_STRING, id_mnuoptions, L"&Options");
    AppendMenuW(menu.get(), MF_STRING, id_mnuabout, L"&About");
    // A popup menu closes on a click elsewhere only when its owner is the foreground window;
    // the posted message lets it close properly afterwards (TrackPopupMenu remarks).
    SetForegroundWindow(window);
    TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, window, nullptr);
    if (IsWindow(window))
        PostMessageW(window, WM_NULL, 0, 0);
}

POINT mouse_position() {
    POINT mouse;
    GetCursorPos(&mouse);
    return mouse;
}

// The context-menu key and Shift+F10 (at -1, -1) open the popup menu at the icon, a right click at
// the mouse, so Options and About are in reach of the keyboard. The file box shows a text box's
// own menu and passes nothing up; should one still come from it, it is not shown twice. False for a
// right click on the title bar, whose menu is the system's.
bool on_context_menu(const alarm_form& form, HWND from, LPARAM lparam) {
    POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    bool from_keyboard = at.x == -1 && at.y == -1;
    if (!from_keyboard && DefWindowProcW(form.window, WM_NCHITTEST, 0, lparam) != HTCLIENT)
        return false;
    if (from == form.control(id_alarm_file))
        return true;
    if (from_keyboard) {
        RECT icon;
        GetWindowRect(form.control(id_about_icon), &icon);
        at = {(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
    }
    about_icon_Click(form, at);
    return true;
}

HINSTANCE instance_of(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

// Again after a change of scale: the notification area may have changed with it.
void load_tray_icon(alarm_form& form) {
    form.tray_icon.reset(platform::load_notification_icon(instance_of(form.window), IDI_TOCSINET));
    TC_Module::change_tray_icon(form.tray_icon.get());
}

void mnuoptions_Click(alarm_form& form) { show_options(instance_of(form.window), form.window); }

void mnuabout_Click(alarm_form& form) { show_about(instance_of(form.window), form.window); }

bool on_create(HWND window) {
    auto form = std::make_unique<alarm_form>();
    form->window = window;

    form->taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
    load_tray_icon(*form);

    create_layout(window, alarm_design, *form);

    HWND volume = form->control(id_volume);
    SendMessageW(volume, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    SendMessageW(volume, TBM_SETLINESIZE, 0, 1);
    SendMessageW(volume, TBM_SETPAGESIZE, 0, 5);
    SendMessageW(volume, TBM_SETTICFREQ, 10, 0);

    update_clock_panel(*form);
    SetTimer(window, clock_timer, clock_timer_interval_ms, nullptr);

    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form.release()));
    Form_Load(*form_of(window));
    return true;
}

void on_command(alarm_form& form, int id, int notification) {
    if (notification == CBN_SELCHANGE || notification == BN_CLICKED)
        window_used(form);
    switch (id) {
    case id_time_hour:
    case id_time_minute:
    case id_time_ampm:
        if (notification == CBN_SELCHANGE && form.alarm_timer_enabled)
            set_wake_timer(form);
        break;
    case id_alarm:
        if (notification == BN_CLICKED)
            alarm_Click(form);
        break;
    case id_browse:
        if (notification == BN_CLICKED)
            browse_Click(form);
        break;
    case id_about_icon:
        if (notification == STN_CLICKED)
            about_icon_Click(form, mouse_position());
        break;
    case id_mnuoptions:
        mnuoptions_Click(form);
        break;
    case id_mnuabout:
        mnuabout_Click(form);
        break;
    default:
        break;
    }
}

// The window is navy (the user's colour in high contrast); each frame is filled with the button
// face like a panel.
void on_erase_background(const alarm_form& form, HDC dc) {
    RECT client;
    GetClientRect(form.window, &client);
    FillRect(dc, &client, form.colours.backdrop_brush());
    for (int frame : {id_Frame1, id_Frame2, id_Frame3}) {
        RECT rect;
        GetWindowRect(form.control(frame), &rect);
        MapWindowPoints(nullptr, form.window, reinterpret_cast<POINT*>(&rect), 2);
        FillRect(dc, &rect, form.colours.panel_brush());
    }
}

HBRUSH on_control_color(const alarm_form& form, HDC dc, HWND control) {
    int id = GetDlgCtrlID(control);
    return form.colours.control_colour(dc, id == id_Picture1 || id == id_Picture2 || id == id_about_icon);
}

LRESULT CALLBACK alarm_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE)
        return on_create(window) ? 0 : -1;
    alarm_form* form = form_of(window);
    if (!form)
        return DefWindowProcW(window, message, wparam, lparam);
    if (message == form->taskbar_created) {
        TC_Module::add_tray_icon_again();
        return 0;
    }
    switch (message) {
    case WM_COMMAND:
        on_command(*form, LOWORD(wparam), HIWORD(wparam));
        return 0;
    case WM_TIMER:
        if (wparam == alarm_timer)
            alarm_timer_Timer(*form);
        else if (wparam == clock_timer)
            update_clock_panel(*form);
        else if (wparam == keep_awake_timer)
            let_the_computer_sleep(*form);
        else if (wparam == listening_timer)
            listening_timer_Timer(*form);
        return 0;
    case WM_TIMECHANGE:
        on_clock_moved(*form);
        return 0;
    case WM_POWERBROADCAST:
        if (wparam == PBT_APMRESUMEAUTOMATIC)
            on_clock_moved(*form);
        else if (wparam == PBT_APMPOWERSTATUSCHANGE)
            update_power_request(*form); // on battery or on mains power now
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wparam) != WA_INACTIVE)
            on_activate(*form);
        if (form->focus.activate(window, wparam, form->control(id_time_hour)))
            return 0;
        return DefWindowProcW(window, message, wparam, lparam);
    case WM_CANCELMODE:
        form->focus.note(window);
        return DefWindowProcW(window, message, wparam, lparam);
    case WM_SETFOCUS:
        form->focus.give_back(window, form->control(id_time_hour));
        return 0;
    case WM_CONTEXTMENU:
        if (on_context_menu(*form, reinterpret_cast<HWND>(wparam), lparam))
            return 0;
        return DefWindowProcW(window, message, wparam, lparam);
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
        colours_changed(window, message, form->colours);
        return 0;
    case WM_PARENTNOTIFY:
        if (LOWORD(wparam) == WM_LBUTTONDOWN || LOWORD(wparam) == WM_RBUTTONDOWN)
            window_used(*form);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        window_used(*form);
        return 0;
    case notice_seen_message:
        on_notice_seen(*form);
        return 0;
    case settings_not_saved_message:
        on_settings_not_saved(*form);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // Windows ends the process afterwards without a close.
        if (wparam)
            Form_Unload(*form);
        return 0;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lparam) == form->control(id_volume)) {
            window_used(*form);
            volume_Change(*form);
        }
        return 0;
    case WM_SIZE:
        // Restored while active, the window itself or nothing may hold the focus.
        if (wparam != SIZE_MINIMIZED && GetActiveWindow() == window && (!GetFocus() || GetFocus() == window))
            form->focus.give_back(window, form->control(id_time_hour));
        SendMessageW(form->control(id_status), WM_SIZE, 0, 0);
        Form_Resize(*form);
        return 0;
    case TC_Module::tray_callback_message:
        Form_MouseMove(*form, lparam);
        return 0;
    case WM_DPICHANGED:
        change_dpi(window, alarm_design, *form, wparam, lparam);
        load_tray_icon(*form);
        return 0;
    case WM_ERASEBKGND:
        on_erase_background(*form, reinterpret_cast<HDC>(wparam));
        return 1;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return reinterpret_cast<LRESULT>(on_control_color(*form, reinterpret_cast<HDC>(wparam),
                                                          reinterpret_cast<HWND>(lparam)));
    case WM_CLOSE:
        Form_Unload(*form);
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        EndMenu(); // a popup menu of this window, when the alarm closed the program under it
        KillTimer(window, alarm_timer);
        KillTimer(window, clock_timer);
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        delete form;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return 0;
    default:
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

} // namespace

bool register_alarm_class(HINSTANCE instance) {
    WNDCLASSEXW window_class{sizeof window_class};
    window_class.lpfnWndProc = alarm_procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TOCSINET));
    window_class.lpszClassName = alarm_class;
    return RegisterClassExW(&window_class) != 0;
}

std::optional<std::int64_t> wake_time(HWND alarm_window) {
    alarm_form* form = form_of(alarm_window);
    return form ? form->wake.due() : std::nullopt;
}

tocsinet::awake_hold power_hold(HWND alarm_window) {
    alarm_form* form = form_of(alarm_window);
    return form ? form->power.held() : tocsinet::awake_hold::none;
}

void listen(HWND alarm_window, std::unique_ptr<platform::listening> listening, double seconds_ago) {
    if (alarm_form* form = form_of(alarm_window))
        start_listening(*form, std::move(listening), text_of(*form, id_alarm_file),
                        platform::monotonic_seconds() - seconds_ago);
}

HWND show_alarm_window(HINSTANCE instance, int show_command) {
    // Sized to its design at the DPI of its monitor as it is created.
    HWND window = CreateWindowExW(0, alarm_class, L"Tocsinet", window_style, 0, 0, 0, 0, nullptr, nullptr, instance,
                                  nullptr);
    if (!window)
        return nullptr;
    ShowWindow(window, tocsinet::first_show_command(show_command));
    UpdateWindow(window);
    return window;
}

} // namespace forms
