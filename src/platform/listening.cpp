#include "listening.h"

#include <audioclient.h>
#include <mmdeviceapi.h>

#include <algorithm>

#include "listening_rules.h"
#include "platform.h"

#ifndef AUDCLNT_S_NO_SINGLE_PROCESS
#define AUDCLNT_S_NO_SINGLE_PROCESS AUDCLNT_SUCCESS(0x00d)
#endif

namespace platform {
namespace {

template <class Interface> unique_com<Interface> query(IUnknown& object) {
    unique_com<Interface> result;
    if (FAILED(object.QueryInterface(IID_PPV_ARGS(result.put()))))
        result.reset();
    return result;
}

std::wstring instance_id(IAudioSessionControl2& session) {
    wchar_t* id = nullptr;
    if (FAILED(session.GetSessionInstanceIdentifier(&id)) || !id)
        return {};
    std::wstring copy = id;
    CoTaskMemFree(id);
    return copy;
}

bool is_active(IAudioSessionControl2& session) {
    AudioSessionState state = AudioSessionStateInactive;
    return SUCCEEDED(session.GetState(&state)) && state == AudioSessionStateActive;
}

// Every session the manager lists now; false when it cannot list them.
template <class Visit> bool for_each_session(IAudioSessionManager2& manager, Visit visit) {
    unique_com<IAudioSessionEnumerator> sessions;
    int count = 0;
    if (FAILED(manager.GetSessionEnumerator(sessions.put())) || !sessions ||
        FAILED(sessions.get()->GetCount(&count)))
        return false;
    for (int index = 0; index < count; ++index) {
        unique_com<IAudioSessionControl> control;
        if (SUCCEEDED(sessions.get()->GetSession(index, control.put())) && control)
            if (auto session = query<IAudioSessionControl2>(*control.get()))
                visit(*session.get());
    }
    return true;
}

DWORD player_process() {
    DWORD process = 0;
    if (HWND player = find_player_window())
        GetWindowThreadProcessId(player, &process);
    return process;
}

} // namespace

bool turn_session_on(ISimpleAudioVolume& volume, bool player) {
    float level = 0;
    BOOL muted = FALSE;
    if (FAILED(volume.GetMasterVolume(&level)) || FAILED(volume.GetMute(&muted)))
        return false;
    tocsinet::output_change change = tocsinet::session_for_alarm(level, muted != FALSE, player);
    bool set = !change.unmute || SUCCEEDED(volume.SetMute(FALSE, nullptr));
    return (!change.raise_to || SUCCEEDED(volume.SetMasterVolume(*change.raise_to, nullptr))) && set;
}

// No device, no COM or any failure leaves nothing to listen to: the alarm then goes as it always
// did, unjudged.
listening::listening(int percent) : percent_(percent) {
    unique_com<IMMDeviceEnumerator> devices;
    unique_com<IMMDevice> device;
    if (!com_.usable() ||
        FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                IID_PPV_ARGS(devices.put()))) ||
        FAILED(devices.get()->GetDefaultAudioEndpoint(eRender, eConsole, device.put())))
        return;
    if (SUCCEEDED(device.get()->Activate(__uuidof(IAudioSessionManager2), CLSCTX_ALL, nullptr,
                                         reinterpret_cast<void**>(manager_.put()))) &&
        for_each_session(*manager_.get(), [&](IAudioSessionControl2& session) {
            before_open_.push_back({instance_id(session), is_active(session)});
        }))
        return;
    manager_.reset();
    before_open_.clear();
    // The output's own meter hears every program, but it is better than nothing.
    unique_com<IAudioMeterInformation> meter;
    if (SUCCEEDED(device.get()->Activate(__uuidof(IAudioMeterInformation), CLSCTX_ALL, nullptr,
                                         reinterpret_cast<void**>(meter.put()))) &&
        meter)
        meters_.push_back(std::move(meter));
}

listening::listening(unique_com<IAudioMeterInformation> meter, int percent) : percent_(percent) {
    meters_.push_back(std::move(meter));
}

void listening::take_new_sessions() {
    DWORD player = player_process();
    bool listed = for_each_session(*manager_.get(), [&](IAudioSessionControl2& session) {
        std::wstring id = instance_id(session);
        if (id.empty() || std::ranges::find(taken_, id) != taken_.end())
            return;
        DWORD process = 0;
        HRESULT owner = session.GetProcessId(&process); // a session of several processes names its first
        if (owner != S_OK && owner != AUDCLNT_S_NO_SINGLE_PROCESS)
            return;
        auto before = std::ranges::find(before_open_, id, &seen_session::id);
        using enum tocsinet::session_before;
        tocsinet::audio_session facts{.ours = process == GetCurrentProcessId(),
                                      .system_sounds = session.IsSystemSoundsSession() == S_OK,
                                      .player = player != 0 && process == player,
                                      .before = before == before_open_.end() ? absent
                                                : before->active             ? active
                                                                             : inactive,
                                      .active_now = is_active(session)};
        if (!tocsinet::alarm_session(facts, percent_))
            return;
        taken_.push_back(id);
        if (auto volume = query<ISimpleAudioVolume>(session);
            volume && turn_session_on(*volume.get(), facts.player))
            session_set_ = true;
        if (auto meter = query<IAudioMeterInformation>(session))
            meters_.push_back(std::move(meter));
    });
    failed_ = failed_ || !listed;
}

std::optional<float> listening::loudest() {
    if (manager_ && !failed_)
        take_new_sessions();
    if (failed_ || !can_listen())
        return std::nullopt;
    float loudest = 0;
    for (const auto& meter : meters_) {
        float peak = 0;
        if (SUCCEEDED(meter.get()->GetPeakValue(&peak)))
            loudest = std::max(loudest, peak);
        else if (!manager_) // the one meter there is, gone with its device
            return std::nullopt;
    }
    return loudest;
}

} // namespace platform
