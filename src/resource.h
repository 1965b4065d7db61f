// Resource identifiers shared by the resource script and the code.
#pragma once

#define IDI_TOCSINET 1
#define IDR_ALARM_SOUND 2
