#include "wake.h"

#include <mmsystem.h>

#include "platform.h"

namespace platform {
namespace {

// FILETIME counts 100 ns from 1601-01-01; the core counts seconds from 1970-01-01.
constexpr long long filetime_per_second = 10'000'000;
constexpr long long filetime_at_1970 = 116'444'736'000'000'000;

tocsinet::zone_change change_of(const SYSTEMTIME& date) {
    return {date.wMonth, date.wDay, date.wDayOfWeek, date.wHour, date.wMinute};
}

// A power request holding the system and the program, and the display too when asked; empty
// when Windows makes none.
unique_kernel_handle create_power_request(const std::wstring& reason, bool display) {
    auto create = system_function<HANDLE WINAPI(PREASON_CONTEXT)>(L"kernel32.dll", "PowerCreateRequest");
    auto set = system_function<BOOL WINAPI(HANDLE, POWER_REQUEST_TYPE)>(L"kernel32.dll", "PowerSetRequest");
    if (!create || !set)
        return {};
    std::wstring text = reason; // the record takes a writable string
    REASON_CONTEXT context{};
    context.Version = POWER_REQUEST_CONTEXT_VERSION;
    context.Flags = POWER_REQUEST_CONTEXT_SIMPLE_STRING;
    context.Reason.SimpleReasonString = text.data();
    HANDLE created = create(&context);
    if (created == INVALID_HANDLE_VALUE || !created)
        return {};
    unique_kernel_handle request(created);
    if (!set(created, PowerRequestSystemRequired) || (display && !set(created, PowerRequestDisplayRequired)))
        return {};
    // Keeps the program running in modern standby; Windows 7 knows no such request and keeps
    // it running with the system request alone.
    set(created, PowerRequestExecutionRequired);
    return request;
}

// PlaySoundW of the WINMM loaded at start; false without it.
bool play_sound(const void* sound, DWORD flags) {
    auto play = system_function<BOOL WINAPI(LPCWSTR, HMODULE, DWORD)>(L"winmm.dll", "PlaySoundW");
    return play && play(static_cast<LPCWSTR>(sound), nullptr, flags);
}

} // namespace

tocsinet::utc_seconds utc_now() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks{{now.dwLowDateTime, now.dwHighDateTime}};
    return (static_cast<long long>(ticks.QuadPart) - filetime_at_1970) / filetime_per_second;
}

tocsinet::zone_rule local_zone_rule() {
    SYSTEMTIME today;
    GetLocalTime(&today);
    TIME_ZONE_INFORMATION zone{};
    if (!GetTimeZoneInformationForYear(today.wYear, nullptr, &zone))
        GetTimeZoneInformation(&zone);
    return {static_cast<int>(zone.Bias + zone.StandardBias),
            static_cast<int>(zone.DaylightBias - zone.StandardBias), change_of(zone.DaylightDate),
            change_of(zone.StandardDate)};
}

wake_timer::wake_timer() : timer_(CreateWaitableTimerW(nullptr, TRUE, nullptr)) {}

wake_timer::~wake_timer() {
    cancel();
}

wake_timer::outcome wake_timer::set(tocsinet::utc_seconds due) {
    LARGE_INTEGER when;
    when.QuadPart = due * filetime_per_second + filetime_at_1970; // positive: an absolute UTC time
    SetLastError(ERROR_SUCCESS);
    // The last argument asks the system to resume from sleep for it.
    if (!timer_ || !SetWaitableTimer(timer_.get(), &when, 0, nullptr, nullptr, TRUE)) {
        due_.reset();
        return outcome::refused;
    }
    due_ = due;
    // A computer that cannot resume from a timer still sets it and says so only here.
    return GetLastError() == ERROR_NOT_SUPPORTED ? outcome::set_but_cannot_wake : outcome::set;
}

void wake_timer::cancel() {
    if (timer_)
        CancelWaitableTimer(timer_.get());
    due_.reset();
}

void power_request::hold(tocsinet::awake_hold level, const std::wstring& reason) {
    using tocsinet::awake_hold;
    if (level == held_ && (level == awake_hold::none || reason == reason_))
        return;
    // A new request for every change: closing the old one releases whatever it held.
    unique_kernel_handle next;
    if (level != awake_hold::none)
        next = create_power_request(reason, level == awake_hold::display);
    if (level != awake_hold::none && !next) {
        EXECUTION_STATE display = level == awake_hold::display ? ES_DISPLAY_REQUIRED : 0;
        SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | display);
        through_thread_state_ = true;
    } else if (through_thread_state_) {
        SetThreadExecutionState(ES_CONTINUOUS);
        through_thread_state_ = false;
    }
    request_ = std::move(next);
    held_ = level;
    reason_ = reason;
}

int ac_line_status() {
    constexpr int unknown = 255;
    SYSTEM_POWER_STATUS status;
    return GetSystemPowerStatus(&status) ? status.ACLineStatus : unknown;
}

looping_sound::looping_sound(int resource_id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resource_id), L"WAVE");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    // Resource memory lives as long as the program, as an asynchronous loop needs.
    const void* wave = loaded ? LockResource(loaded) : nullptr;
    playing_ = wave && play_sound(wave, SND_MEMORY | SND_ASYNC | SND_LOOP | SND_NODEFAULT);
}

looping_sound::~looping_sound() {
    if (playing_)
        play_sound(nullptr, 0);
}

} // namespace platform
