#include "sound_output.h"

#include <mmdeviceapi.h>

#include "conversions.h"

namespace platform {

// No output device, no COM, or any failure below leaves the output as it was and the alarm goes on
// as it always did: the player or the built-in sound still plays, and a message about the mixer
// would wake nobody.
default_output::default_output() {
    unique_com<IMMDeviceEnumerator> devices;
    unique_com<IMMDevice> device;
    bool reached = com_.usable() &&
                   SUCCEEDED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                              IID_PPV_ARGS(devices.put()))) &&
                   SUCCEEDED(devices.get()->GetDefaultAudioEndpoint(eRender, eConsole, device.put())) &&
                   SUCCEEDED(device.get()->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr,
                                                    reinterpret_cast<void**>(volume_.put())));
    if (!reached)
        volume_.reset();
}

void turn_sound_on(IAudioEndpointVolume& volume, int percent) {
    float level = 0;
    BOOL muted = FALSE;
    if (FAILED(volume.GetMasterVolumeLevelScalar(&level)) || FAILED(volume.GetMute(&muted)))
        return;
    tocsinet::output_change change = tocsinet::output_for_alarm(level, muted != FALSE, percent);
    if (change.unmute)
        volume.SetMute(FALSE, nullptr);
    if (change.raise_to)
        volume.SetMasterVolumeLevelScalar(*change.raise_to, nullptr);
}

void turn_sound_on(int percent) {
    default_output output;
    if (output.volume())
        turn_sound_on(*output.volume(), percent);
}

} // namespace platform
