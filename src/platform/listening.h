// What the alarm hears of its player: the peak meters of the player's audio sessions on the
// default output, or of the output itself where its sessions cannot be listed.
#pragma once

#include <windows.h>

#include <audiopolicy.h>
#include <endpointvolume.h>

#include <optional>
#include <string>
#include <vector>

#include "sound_output.h"
#include "unique_handle.h"

// mingw-w64 only forward-declares the meter.
#ifndef __IAudioMeterInformation_INTERFACE_DEFINED__
#define __IAudioMeterInformation_INTERFACE_DEFINED__
struct IAudioMeterInformation : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetPeakValue(float* peak) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMeteringChannelCount(UINT* channels) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetChannelsPeakValues(UINT32 channels, float* peaks) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryHardwareSupport(DWORD* support) = 0;
};
__CRT_UUID_DECL(IAudioMeterInformation, 0xc02216f6, 0x8c67, 0x4b5b, 0x9d, 0x00, 0xd0, 0x08, 0xe7, 0x3e, 0x00,
                0x64)
#endif

namespace platform {

// Unmutes a session of the player and raises it as the core's rule says; true when it now plays
// as the rule wants it, every change having taken.
bool turn_session_on(ISimpleAudioVolume& volume, bool player);

class listening {
  public:
    // Taken before the open: which sessions the default output has then, or its meter where they
    // cannot be listed. `percent`: the alarm's volume.
    explicit listening(int percent);
    // Listens to this meter alone.
    listening(unique_com<IAudioMeterInformation> meter, int percent);
    listening(const listening&) = delete;
    listening& operator=(const listening&) = delete;

    int percent() const { return percent_; }
    // Whether there is anything to listen to.
    bool can_listen() const { return manager_ || !meters_.empty(); }
    // After the open, at every reading: turns on the player's sessions as they appear and gives
    // the loudest peak of what it listens to; nothing when it can no longer listen.
    std::optional<float> loudest();
    // Whether a session of the player was turned on.
    bool session_set() const { return session_set_; }

  private:
    struct seen_session {
        std::wstring id;
        bool active;
    };
    void take_new_sessions();

    com_scope com_; // first in, last out
    int percent_;
    unique_com<IAudioSessionManager2> manager_;
    std::vector<seen_session> before_open_;
    std::vector<std::wstring> taken_;
    std::vector<unique_com<IAudioMeterInformation>> meters_;
    bool session_set_ = false;
    bool failed_ = false;
};

} // namespace platform
