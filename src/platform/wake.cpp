#include "wake.h"

#include <mmsystem.h>

namespace platform {
namespace {

// FILETIME counts 100 ns from 1601-01-01; the core counts seconds from 1970-01-01.
constexpr long long filetime_per_second = 10'000'000;
constexpr long long filetime_at_1970 = 116'444'736'000'000'000;

tocsinet::zone_change change_of(const SYSTEMTIME& date) {
    return {date.wMonth, date.wDay, date.wDayOfWeek, date.wHour, date.wMinute};
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

bool wake_timer::set(tocsinet::utc_seconds due) {
    LARGE_INTEGER when;
    when.QuadPart = due * filetime_per_second + filetime_at_1970; // positive: an absolute UTC time
    // The last argument asks the system to resume from sleep for it.
    if (!timer_ || !SetWaitableTimer(timer_.get(), &when, 0, nullptr, nullptr, TRUE)) {
        due_.reset();
        return false;
    }
    due_ = due;
    return true;
}

void wake_timer::cancel() {
    if (timer_)
        CancelWaitableTimer(timer_.get());
    due_.reset();
}

keep_awake::keep_awake() {
    SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
}

keep_awake::~keep_awake() {
    SetThreadExecutionState(ES_CONTINUOUS);
}

looping_sound::looping_sound(int resource_id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resource_id), L"WAVE");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    // Resource memory lives as long as the program, as an asynchronous loop needs.
    const void* wave = loaded ? LockResource(loaded) : nullptr;
    playing_ = wave && PlaySoundW(static_cast<LPCWSTR>(wave), nullptr,
                                  SND_MEMORY | SND_ASYNC | SND_LOOP | SND_NODEFAULT);
}

looping_sound::~looping_sound() {
    if (playing_)
        PlaySoundW(nullptr, nullptr, 0);
}

} // namespace platform
