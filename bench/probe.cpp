// Measures a program from inside Wine for bench/run.sh; prints one "key value" line per figure.
//   probe startup <runs> <exe> <window class> [<exe> <window class> ...]
//                 (the programs in turn; each line of a program's figures begins with its place in
//                 the list; also its window's controls, to compare baselines, and the median of the
//                 first program's time over its time in the same round)
//   probe idle-cpu <exe> <window class> <seconds>
//   probe armed-cpu <exe> <seconds>
//   probe wait-cpu <exe> <seconds>      (run with a shifted clock: the alarm goes off ~20 s after start)
//   probe firing-delay <exe> <runs>     (run with a shifted clock)
//   probe sound-delay <exe> <capture> [tray]  (shifted clock; <capture>: the file the sound device
//                                              writes; tray: the window waits in the notification area)
//   probe sound-cpu <exe> <capture> <seconds>
//   probe picker <exe> <folder> <runs>
//   probe objects <exe> <cycles>
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "alarm.h"
#include "browse_form.h"

namespace {

double now_ms() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct running {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
    double started_ms = 0;
    double visible_ms = 0;
};

struct find_state {
    DWORD process_id;
    const wchar_t* class_name;
    HWND found;
};

HWND window_of(DWORD process_id, const wchar_t* class_name) {
    find_state state{process_id, class_name, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<find_state*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t name[64];
            if (owner == s->process_id && GetClassNameW(window, name, 64) && lstrcmpiW(name, s->class_name) == 0 &&
                IsWindowVisible(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&state));
    return state.found;
}

std::wstring folder_of(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

running launch(const std::wstring& exe, const wchar_t* class_name) {
    running r;
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW startup{sizeof startup};
    r.started_ms = now_ms();
    std::wstring directory = folder_of(exe);
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(), &startup,
                        &r.process))
        throw std::runtime_error("cannot start the program");
    while (!(r.window = window_of(r.process.dwProcessId, class_name))) {
        if (now_ms() - r.started_ms > 60000)
            throw std::runtime_error("the window did not appear");
        Sleep(1);
    }
    r.visible_ms = now_ms();
    return r;
}

void close(running& r) {
    PostMessageW(r.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(r.process.hProcess, 20000) != WAIT_OBJECT_0)
        TerminateProcess(r.process.hProcess, 1);
    CloseHandle(r.process.hProcess);
    CloseHandle(r.process.hThread);
}

// Wine reports no CPU times for other processes, so they are read where the system keeps them:
// the unix process whose command line names the exe (drive Z: is the unix root).
std::string read_small_file(const std::wstring& path, std::size_t limit = 4096) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string text(limit, '\0');
    DWORD got = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
    CloseHandle(file);
    text.resize(got);
    return text;
}

std::wstring unix_process_of(const std::wstring& exe) {
    std::string wanted(exe.begin(), exe.end());
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE)
        return {};
    std::wstring result;
    do {
        if (!std::iswdigit(found.cFileName[0]))
            continue;
        std::wstring folder = std::wstring(L"Z:\\proc\\") + found.cFileName;
        std::string command = read_small_file(folder + L"\\cmdline");
        if (command.find(wanted) != std::string::npos && command.find("bench_probe") == std::string::npos) {
            result = folder;
            break;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return result;
}

double cpu_ms(const std::wstring& exe) {
    std::wstring folder = unix_process_of(exe);
    if (folder.empty())
        throw std::runtime_error("cannot find the program's process");
    std::string stat = read_small_file(folder + L"\\stat");
    // After the name in parentheses: state, then fields 4..; utime and stime are fields 14 and 15.
    std::size_t close_paren = stat.rfind(')');
    if (close_paren == std::string::npos)
        throw std::runtime_error("cannot read the program's CPU times");
    std::vector<std::string> fields;
    std::size_t start = close_paren + 2;
    while (start < stat.size()) {
        std::size_t end = stat.find(' ', start);
        fields.push_back(stat.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    if (fields.size() < 13)
        throw std::runtime_error("cannot read the program's CPU times");
    double ticks = std::stod(fields[11]) + std::stod(fields[12]);
    return ticks * 10.0; // 100 clock ticks per second
}

// Resident memory of the unix process, KB, for the growth over many dialogs.
double resident_kb(const std::wstring& exe) {
    std::string status = read_small_file(unix_process_of(exe) + L"\\status");
    std::size_t at = status.find("VmRSS:");
    return at == std::string::npos ? 0 : std::stod(status.substr(at + 6));
}

// Windows of the process, top-level and child, as the window objects it holds.
int window_count(DWORD process_id) {
    struct count_state {
        DWORD process_id;
        int count;
    } state{process_id, 0};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<count_state*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->process_id)
                return TRUE;
            ++s->count;
            EnumChildWindows(
                window, [](HWND, LPARAM d) -> BOOL { ++reinterpret_cast<count_state*>(d)->count; return TRUE; }, data);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&state));
    return state.count;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}
double worst(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

void settle(DWORD ms) { Sleep(ms); }

void select_entry(HWND window, int id, int index) {
    HWND list = GetDlgItem(window, id);
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

// Arms the alarm for the given time of day on the program's clock.
void arm(HWND window, int hour24, int minute) {
    int twelve = hour24 % 12 == 0 ? 12 : hour24 % 12;
    select_entry(window, forms::id_time_hour, twelve - 1);
    select_entry(window, forms::id_time_minute, minute);
    select_entry(window, forms::id_time_ampm, hour24 < 12 ? 0 : 1);
    SendMessageW(GetDlgItem(window, forms::id_alarm), BM_CLICK, 0, 0);
}

std::wstring settings_of(const std::wstring& exe) { return folder_of(exe) + L"\\tocsinet.ini"; }

int alarms_counted(const std::wstring& exe) {
    return static_cast<int>(GetPrivateProfileIntW(L"STATS", L"ALARMS", 0, settings_of(exe).c_str()));
}

// The window's controls as "<count> <hash>" of their classes and styles: the same for two windows
// with the same controls, in whatever order and place.
std::string controls_of(HWND window) {
    std::vector<std::wstring> found;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            wchar_t name[64] = L"";
            GetClassNameW(child, name, 64);
            reinterpret_cast<std::vector<std::wstring>*>(data)->push_back(
                std::wstring(name) + L" " + std::to_wstring(GetWindowLongW(child, GWL_STYLE)) + L" " +
                std::to_wstring(GetWindowLongW(child, GWL_EXSTYLE)));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    std::sort(found.begin(), found.end());
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (const std::wstring& control : found)
        for (wchar_t c : control)
            hash = (hash ^ static_cast<std::uint32_t>(c)) * 16777619u;
    char text[32];
    std::snprintf(text, sizeof text, "%zu %08x", found.size(), static_cast<unsigned>(hash));
    return text;
}

// The programs take turns, so that a busy moment of the machine falls on all of them alike.
void startup(int runs, std::span<wchar_t*> programs) {
    struct figures {
        std::vector<double> times, peaks;
        std::string controls;
    };
    std::vector<figures> of(programs.size() / 2);
    for (int i = 0; i < runs; ++i)
        for (std::size_t p = 0; p < of.size(); ++p) {
            running r = launch(programs[2 * p], programs[2 * p + 1]);
            of[p].times.push_back(r.visible_ms - r.started_ms);
            settle(500);
            PROCESS_MEMORY_COUNTERS memory{sizeof memory};
            GetProcessMemoryInfo(r.process.hProcess, &memory, sizeof memory);
            of[p].peaks.push_back(static_cast<double>(memory.PeakWorkingSetSize) / 1024.0);
            of[p].controls = controls_of(r.window);
            close(r);
        }
    for (std::size_t p = 0; p < of.size(); ++p) {
        std::vector<double> first_over_this;
        for (int i = 0; i < runs; ++i)
            first_over_this.push_back(of[0].times[i] / of[p].times[i]);
        std::printf("%zu startup_ms_median %.1f\n%zu startup_ms_worst %.1f\n%zu peak_kb_median %.0f\n%zu controls %s\n"
                    "%zu first_over_this_median %.2f\n",
                    p, median(of[p].times), p, worst(of[p].times), p, median(of[p].peaks), p, of[p].controls.c_str(),
                    p, median(first_over_this));
    }
}

void idle_cpu(const std::wstring& exe, const wchar_t* class_name, int seconds) {
    running r = launch(exe, class_name);
    settle(1000);
    double before = cpu_ms(exe);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    std::printf("cpu_ms %.1f\n", cpu_ms(exe) - before);
    close(r);
}

void armed_cpu(const std::wstring& exe, int seconds) {
    running r = launch(exe, forms::alarm_class);
    SYSTEMTIME now;
    GetLocalTime(&now);
    // Far from now, so it does not go off while measured.
    arm(r.window, (now.wHour + 6) % 24, now.wMinute);
    settle(1000);
    double before = cpu_ms(exe);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    std::printf("cpu_ms %.1f\n", cpu_ms(exe) - before);
    close(r);
}

// The next minute on this (shifted) clock that leaves time to arm.
void next_alarm_minute(int& hour, int& minute, SYSTEMTIME& alarm_start) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    int minute_of_day = now.wHour * 60 + now.wMinute + (now.wSecond > 50 ? 2 : 1);
    hour = minute_of_day / 60 % 24;
    minute = minute_of_day % 60;
    alarm_start = now;
    alarm_start.wHour = static_cast<WORD>(hour);
    alarm_start.wMinute = static_cast<WORD>(minute);
    alarm_start.wSecond = 0;
    alarm_start.wMilliseconds = 0;
}

double local_ms(const SYSTEMTIME& t) {
    FILETIME f;
    SystemTimeToFileTime(&t, &f);
    return static_cast<double>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000.0;
}

double local_now_ms() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return local_ms(now);
}

// Starts the program on a fresh settings file, arms it for the next minute (minimised to the
// notification area when asked) and waits until the alarm is counted, which it is right after the
// shell took the open request. Returns the milliseconds from the alarm second's start to then.
double fire_next_minute(const std::wstring& exe, running& r, const wchar_t* alarm_file = nullptr,
                        bool from_tray = false) {
    DeleteFileW(settings_of(exe).c_str());
    if (from_tray)
        WritePrivateProfileStringW(L"OPTIONS", L"MTST", L"1", settings_of(exe).c_str());
    r = launch(exe, forms::alarm_class);
    int hour, minute;
    SYSTEMTIME alarm_start;
    next_alarm_minute(hour, minute, alarm_start);
    if (alarm_file)
        SendMessageW(GetDlgItem(r.window, forms::id_alarm_file), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(alarm_file));
    arm(r.window, hour, minute);
    if (from_tray) {
        PostMessageW(r.window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        for (double start = now_ms(); IsWindowVisible(r.window); Sleep(1))
            if (now_ms() - start > 10000)
                throw std::runtime_error("the window did not go to the notification area");
    }
    while (alarms_counted(exe) < 1) {
        if (local_now_ms() - local_ms(alarm_start) > 120000)
            throw std::runtime_error("the alarm did not go off");
        Sleep(1);
    }
    return local_now_ms() - local_ms(alarm_start);
}

void end(running& r) {
    TerminateProcess(r.process.hProcess, 0);
    WaitForSingleObject(r.process.hProcess, 10000);
    CloseHandle(r.process.hProcess);
    CloseHandle(r.process.hThread);
}

void wait_cpu(const std::wstring& exe, int seconds) {
    running r;
    // A program that starts and ends at once: the shell opened the file, but no player appears.
    fire_next_minute(exe, r, L"C:\\windows\\system32\\rundll32.exe");
    double before = cpu_ms(exe);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    std::printf("cpu_ms %.1f\n", cpu_ms(exe) - before);
    end(r);
}

void firing_delay(const std::wstring& exe, int runs) {
    std::vector<double> delays;
    for (int i = 0; i < runs; ++i) {
        running r;
        delays.push_back(fire_next_minute(exe, r));
        end(r);
    }
    std::printf("delay_ms_median %.1f\ndelay_ms_worst %.1f\n", median(delays), worst(delays));
}

// The alarm file "no file" cannot be opened, so the program plays its own sound. Returns the
// milliseconds from the alarm second's start to the first sample that is not silence.
double first_audio_ms(const std::wstring& exe, const std::wstring& capture, running& r, bool from_tray = false) {
    DeleteFileW(capture.c_str());
    double counted_after = fire_next_minute(exe, r, nullptr, from_tray);
    double counted = local_now_ms();
    for (;;) {
        std::string samples = read_small_file(capture, 1 << 20);
        if (samples.find_first_not_of('\0') != std::string::npos)
            return counted_after + local_now_ms() - counted;
        if (local_now_ms() - counted > 30000)
            throw std::runtime_error("no sound was played");
        Sleep(1);
    }
}

void sound_delay(const std::wstring& exe, const std::wstring& capture, bool from_tray) {
    running r;
    double delay = first_audio_ms(exe, capture, r, from_tray);
    std::printf("first_audio_ms %.1f\n", delay);
    end(r);
}

void sound_cpu(const std::wstring& exe, const std::wstring& capture, int seconds) {
    running r;
    first_audio_ms(exe, capture, r);
    double before = cpu_ms(exe);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    std::printf("cpu_ms %.1f\n", cpu_ms(exe) - before);
    end(r);
}

void picker(const std::wstring& exe, const std::wstring& folder, int runs) {
    DeleteFileW(settings_of(exe).c_str());
    WritePrivateProfileStringW(L"MUSIC", L"DEFAULT PATH", folder.c_str(), settings_of(exe).c_str());
    running r = launch(exe, forms::alarm_class);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double start = now_ms();
        PostMessageW(GetDlgItem(r.window, forms::id_browse), BM_CLICK, 0, 0);
        HWND picker = nullptr;
        while (!(picker = window_of(r.process.dwProcessId, forms::browse_form_class)))
            Sleep(1);
        times.push_back(now_ms() - start);
        SendMessageW(picker, WM_CLOSE, 0, 0);
        while (!IsWindowEnabled(r.window))
            Sleep(1);
    }
    std::printf("open_ms_median %.1f\nopen_ms_worst %.1f\n", median(times), worst(times));
    close(r);
}

// Opens and closes every dialog the program has, many times, and counts its window objects.
void objects(const std::wstring& exe, int cycles) {
    DeleteFileW(settings_of(exe).c_str());
    running r = launch(exe, forms::alarm_class);
    settle(500);
    int windows_before = window_count(r.process.dwProcessId);
    double memory_before = resident_kb(exe);
    struct dialog {
        const wchar_t* class_name;
        int menu_command; // 0: the Browse button
    };
    const dialog dialogs[] = {{forms::browse_form_class, 0},
                              {L"TocsinetOptions", forms::id_mnuoptions},
                              {L"TocsinetAbout", forms::id_mnuabout}};
    int opened = 0;
    for (int i = 0; i < cycles; ++i)
        for (const dialog& d : dialogs) {
            if (d.menu_command)
                PostMessageW(r.window, WM_COMMAND, static_cast<WPARAM>(d.menu_command), 0);
            else
                PostMessageW(GetDlgItem(r.window, forms::id_browse), BM_CLICK, 0, 0);
            HWND window = nullptr;
            double start = now_ms();
            while (!(window = window_of(r.process.dwProcessId, d.class_name)) && now_ms() - start < 5000)
                Sleep(1);
            if (!window)
                continue;
            ++opened;
            SendMessageW(window, WM_CLOSE, 0, 0);
        }
    settle(500);
    std::printf("dialogs_opened %d\nwindows_before %d\nwindows_after %d\nrss_kb_before %.0f\nrss_kb_after %.0f\n", opened,
                windows_before, window_count(r.process.dwProcessId), memory_before, resident_kb(exe));
    close(r);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        std::wstring what = argc > 1 ? argv[1] : L"";
        if (what == L"startup" && argc >= 5 && argc % 2 == 1)
            startup(_wtoi(argv[2]), std::span(argv + 3, static_cast<std::size_t>(argc - 3)));
        else if (what == L"idle-cpu" && argc == 5)
            idle_cpu(argv[2], argv[3], _wtoi(argv[4]));
        else if (what == L"armed-cpu" && argc == 4)
            armed_cpu(argv[2], _wtoi(argv[3]));
        else if (what == L"wait-cpu" && argc == 4)
            wait_cpu(argv[2], _wtoi(argv[3]));
        else if (what == L"firing-delay" && argc == 4)
            firing_delay(argv[2], _wtoi(argv[3]));
        else if (what == L"sound-delay" && (argc == 4 || argc == 5))
            sound_delay(argv[2], argv[3], argc == 5 && std::wstring(argv[4]) == L"tray");
        else if (what == L"sound-cpu" && argc == 5)
            sound_cpu(argv[2], argv[3], _wtoi(argv[4]));
        else if (what == L"picker" && argc == 5)
            picker(argv[2], argv[3], _wtoi(argv[4]));
        else if (what == L"objects" && argc == 4)
            objects(argv[2], _wtoi(argv[3]));
        else {
            std::fputs("usage: see the top of bench/probe.cpp\n", stderr);
            return 2;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "probe: %s\n", error.what());
        return 1;
    }
    return 0;
}
