// The computer's own sound output, turned on for the alarm.
#pragma once

#include <windows.h>

#include <endpointvolume.h>

#include "unique_handle.h"

namespace platform {

// COM on this thread for one scope, as the shell wants it (ShellExecute's remarks). It is left
// alone when the thread already has another apartment kind (RPC_E_CHANGED_MODE): COM works there
// too, and that apartment is not ours to end.
class com_scope {
  public:
    com_scope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    com_scope(const com_scope&) = delete;
    com_scope& operator=(const com_scope&) = delete;
    // Every success, S_FALSE too, is balanced by its own CoUninitialize.
    ~com_scope() {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }

    bool usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

  private:
    HRESULT result_;
};

// The volume control of the default output device while it lives; null when there is none.
class default_output {
  public:
    default_output();

    IAudioEndpointVolume* volume() const { return volume_.get(); }

  private:
    com_scope com_; // first in, last out: the control is released before COM ends
    unique_com<IAudioEndpointVolume> volume_;
};

// Unmutes the output and raises its level to the alarm's percent, as the core's rule says.
void turn_sound_on(IAudioEndpointVolume& volume, int percent);
// The same on the default output device, when there is one.
void turn_sound_on(int percent);
// Loads the sound system ahead of the alarm; it stays loaded while a com_scope of this thread lasts.
inline void prepare_sound_output() { default_output{}; }

} // namespace platform
