// The main window: the alarm time, the alarm file, the volume and the armed state.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

namespace tocsinet {
enum class awake_hold; // alarm_check.h
}
namespace platform {
class listening; // listening.h
}

namespace forms {

inline constexpr const wchar_t* alarm_class = L"TocsinetAlarm";
// Posted to the main window by every settings write that fails.
inline constexpr UINT settings_not_saved_message = WM_APP + 3;

// Controls other windows address by name.
enum alarm_control : int {
    id_time_hour = 101,
    id_time_minute,
    id_time_ampm,
    id_alarm,
    id_browse,
    id_alarm_file,
    id_volume,
    id_volume_perc,
    id_about_icon,
    id_status,
    id_Picture1,
    id_Picture2,
    id_Frame1,
    id_Frame2,
    id_Frame3,
    id_mnuoptions = 201,
    id_mnuabout,
};

bool register_alarm_class(HINSTANCE instance);
// Creates the main window, runs its load handler and shows it.
HWND show_alarm_window(HINSTANCE instance, int show_command);
// When the computer is set to wake for the armed alarm (seconds since 1970, UTC), if it is.
std::optional<std::int64_t> wake_time(HWND alarm_window);
// What the computer is held to for the alarm now.
tocsinet::awake_hold power_hold(HWND alarm_window);
// Listens as the alarm does after it opened its file `seconds_ago`, with what `listening` hears.
void listen(HWND alarm_window, std::unique_ptr<platform::listening> listening, double seconds_ago);

} // namespace forms
