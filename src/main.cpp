// Tocsinet starts into its main window; there is no other start routine.
#include <windows.h>

#include <commctrl.h>

#include "alarm.h"
#include "platform.h"
#include "sound_output.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
    platform::load_dlls_from_system_folder();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (!forms::register_alarm_class(instance))
        return 1;
    if (!forms::show_alarm_window(instance, show_command))
        return 1;
    // After the first paint, before any input is read: nothing of the window needs them, and no
    // alarm can be armed before they are there.
    platform::load_sound_dll();
    // For the program's life: the shell's open and the sound system expect it on this thread.
    platform::com_scope com;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        platform::dispatch(message);
    return static_cast<int>(message.wParam);
}
