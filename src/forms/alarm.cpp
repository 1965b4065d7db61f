#include "alarm.h"

#include <commctrl.h>
#include <windowsx.h>

#include <memory>
#include <string>
#include <vector>

#include "TC_Module.h"
#include "about.h"
#include "alarm_course.h"
#include "browse_form.h"
#include "conversions.h"
#include "dialog_frame.h"
#include "geometry.h"
#include "layout.h"
#include "notice_panel.h"
#include "options.h"
#include "platform.h"
#include "resource.h"
#include "tray_text.h"

namespace forms {
namespace {

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
struct alarm_form final : dpi_resources, alarm_course::window_side {
    explicit alarm_form(HWND window) : window(window), course(window, *this) {}
    void show_notice(const wchar_t* notice) override { notices.show(notice); }
    HICON tray_icon() const override { return notification_icon.get(); }

    HWND window;
    window_colours colours;
    focus_keeper focus;
    // Its own state, apart from the window's; gone with the window.
    alarm_course course;
    notice_panel notices{window, id_status};
    // Sent to every top-level window when the shell's task bar (re)starts.
    UINT taskbar_created = 0;
    // At the notification area's size, which the window's icons are not.
    platform::unique_icon notification_icon;

    HWND control(int id) const { return GetDlgItem(window, id); }
};

alarm_form* form_of(HWND window) {
    return reinterpret_cast<alarm_form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void volume_Change(const alarm_form& form) {
    int value = volume_percent(form.window);
    std::wstring caption = std::to_wstring(value) + L"%";
    SetWindowTextW(form.control(id_volume_perc), caption.c_str());
}

void Form_Load(alarm_form& form) {
    std::string file = TC_Module::settings_file();
    SendMessageW(form.control(id_status), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"Alarm - Inactive"));
    double left = tocsinet::leading_number(TC_Module::read_setting(file, "TOCSINET", "X"));
    double top =
        tocsinet::leading_number(TC_Module::read_setting(TC_Module::settings_file(), "TOCSINET", "Y"));
    place_window(form.window, form, left, top);

    std::vector<std::wstring> hours, minutes;
    for (int hour = 1; hour <= 12; ++hour)
        hours.push_back(std::to_wstring(hour));
    for (int minute = 0; minute < 60; ++minute)
        minutes.push_back((minute < 10 ? L"0" : L"") + std::to_wstring(minute));
    platform::add_items(form.control(id_time_hour), hours);
    platform::add_items(form.control(id_time_minute), minutes);
    platform::add_items(form.control(id_time_ampm), {L"AM", L"PM"});

    HWND volume = form.control(id_volume);
    SendMessageW(volume, TBM_SETPOS, TRUE, 50);

    if (tocsinet::flag_is_on(TC_Module::read_setting(TC_Module::settings_file(), "OPTIONS", "LCTOS"))) {
        platform::select_exact(form.control(id_time_hour), TC_Module::current_time_part("hour"));
        platform::select_exact(form.control(id_time_minute), TC_Module::current_time_part("minute"));
        platform::select_exact(form.control(id_time_ampm), TC_Module::current_time_part("ampm"));
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
    TC_Module::write_setting(TC_Module::settings_file(), "STATS", "LOADS",
                             tocsinet::next_counter_text(loads));
}

void alarm_Click(alarm_form& form) {
    form.notices.clear();
    if (text_of(form.window, id_alarm) == L"Activate") {
        bool complete =
            !text_of(form.window, id_time_hour).empty() && !text_of(form.window, id_time_minute).empty() &&
            !text_of(form.window, id_time_ampm).empty() && !text_of(form.window, id_alarm_file).empty();
        if (!complete) {
            platform::message_box(form.window, L"Please select and alarm time and an alarm file", MB_OK);
            return;
        }
        form.course.arm();
    } else {
        form.course.disarm();
    }
}

void alarm_timer_Timer(alarm_form& form) {
    form.course.tick();
}

void Form_Resize(alarm_form& form) {
    if (!tocsinet::flag_is_on(TC_Module::read_setting(TC_Module::settings_file(), "options", "MTST")))
        return;
    std::wstring tip = tocsinet::tray_tooltip(
        form.course.armed(), text_of(form.window, id_time_hour), text_of(form.window, id_time_minute),
        text_of(form.window, id_time_ampm), tocsinet::alarm_file_name(text_of(form.window, id_alarm_file)));
    if (IsIconic(form.window))
        TC_Module::add_tray_icon(form.notification_icon.get(), tip, form.window);
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

void Form_Unload(alarm_form& form) {
    form.course.closing();
    POINT position = restored_position(form.window);
    // In twips at the system's DPI, whatever the DPI of the monitor the window is on.
    int system_dpi = platform::system_dpi();
    auto twips = [&](int pixels) { return tocsinet::position_text(pixels, system_dpi); };
    TC_Module::write_setting(TC_Module::settings_file(), "TOCSINET", "X", twips(position.x));
    TC_Module::write_setting(TC_Module::settings_file(), "TOCSINET", "Y", twips(position.y));
    TC_Module::write_setting(TC_Module::settings_file(), "TOCSINET", "VOLUME",
                             std::to_string(volume_percent(form.window)));
    TC_Module::delete_tray_icon();
    close_open_dialog(about_class);
    close_open_dialog(browse_form_class);
}

void browse_Click(alarm_form& form) {
    EnableWindow(form.window, FALSE);
    // Never left disabled with no picker on screen.
    if (!show_browse_form(instance_of(form.window), form.window))
        EnableWindow(form.window, TRUE);
}

// The popup menu, its left edge at `at` (screen coordinates). The menu's loop runs the alarm's
// ticks, and an alarm that closes the program takes `form` with it.
void about_icon_Click(const alarm_form& form, POINT at) {
    platform::track_popup_menu(form.window, at, {{id_mnuoptions, L"&Options"}, {id_mnuabout, L"&About"}});
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
    about_icon_Click(form, from_keyboard ? platform::centre_of(form.control(id_about_icon)) : at);
    return true;
}

// Again after a change of scale: the notification area may have changed with it.
void load_tray_icon(alarm_form& form) {
    form.notification_icon.reset(platform::load_notification_icon(instance_of(form.window), IDI_TOCSINET));
    TC_Module::change_tray_icon(form.notification_icon.get());
}

void mnuoptions_Click(alarm_form& form) {
    show_options(instance_of(form.window), form.window);
}

void mnuabout_Click(alarm_form& form) {
    show_about(instance_of(form.window), form.window);
}

bool on_create(HWND window) {
    auto form = std::make_unique<alarm_form>(window);

    form->taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
    load_tray_icon(*form);

    create_layout(window, alarm_design, *form);

    platform::set_slider(form->control(id_volume), 100, 1, 5, 10);

    form->notices.start_clock();

    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form.release()));
    Form_Load(*form_of(window));
    return true;
}

void on_command(alarm_form& form, int id, int notification) {
    if (notification == CBN_SELCHANGE || notification == BN_CLICKED)
        form.notices.window_used();
    switch (id) {
    case id_time_hour:
    case id_time_minute:
    case id_time_ampm:
        if (notification == CBN_SELCHANGE)
            form.course.reschedule();
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
            about_icon_Click(form, platform::cursor_position());
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
        else if (wparam == notice_panel::clock_timer)
            form->notices.update();
        else if (wparam == keep_awake_timer)
            form->course.keep_awake_over();
        else if (wparam == listening_timer)
            form->course.listening_tick();
        return 0;
    case WM_TIMECHANGE:
        form->course.reschedule();
        return 0;
    case WM_POWERBROADCAST:
        if (wparam == PBT_APMRESUMEAUTOMATIC)
            form->course.reschedule();
        else if (wparam == PBT_APMPOWERSTATUSCHANGE)
            form->course.power_status_changed();
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wparam) != WA_INACTIVE)
            form->notices.activated();
        [[fallthrough]];
    case WM_CANCELMODE:
    case WM_SETFOCUS:
        return form->focus.on_message(window, message, wparam, lparam, form->control(id_time_hour));
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
            form->notices.window_used();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        form->notices.window_used();
        return 0;
    case notice_panel::seen_message:
        form->notices.seen();
        return 0;
    case settings_not_saved_message:
        form->notices.settings_not_saved();
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
            form->notices.window_used();
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
        return reinterpret_cast<LRESULT>(
            on_control_color(*form, reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam)));
    case WM_CLOSE:
        Form_Unload(*form);
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        EndMenu(); // a popup menu of this window, when the alarm closed the program under it
        KillTimer(window, notice_panel::clock_timer);
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

alarm_course* course_of(HWND alarm_window) {
    alarm_form* form = form_of(alarm_window);
    return form ? &form->course : nullptr;
}

bool register_alarm_class(HINSTANCE instance) {
    WNDCLASSEXW window_class{sizeof window_class};
    window_class.lpfnWndProc = alarm_procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // No class icon: the window gets its icons at its DPI as it is laid out, before it shows.
    window_class.lpszClassName = alarm_class;
    return RegisterClassExW(&window_class) != 0;
}

HWND show_alarm_window(HINSTANCE instance, int show_command) {
    // Made at its size at the system's DPI, and sized again as it is created if its monitor has another.
    SIZE size = window_size(alarm_design, window_style, 0, platform::system_dpi());
    HWND window = CreateWindowExW(0, alarm_class, L"Tocsinet", window_style, 0, 0, size.cx, size.cy, nullptr,
                                  nullptr, instance, nullptr);
    if (!window)
        return nullptr;
    ShowWindow(window, tocsinet::first_show_command(show_command));
    UpdateWindow(window);
    return window;
}

} // namespace forms
