#include "time_text.h"

#include <cstdio>
#include <vector>

namespace tocsinet {

std::string twelve_hour_text(clock_time time) {
    int hour = time.hour % 12;
    if (hour == 0)
        hour = 12;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d %s", hour, time.minute, time.second,
                  time.hour < 12 ? "AM" : "PM");
    return buffer;
}

std::string time_text_part(std::string_view time_text, std::string_view part) {
    std::size_t blank = time_text.find(' ');
    std::string_view clock = time_text.substr(0, blank);
    std::string_view designator = blank == std::string_view::npos ? std::string_view{} : time_text.substr(blank + 1);
    if (part == "ampm")
        return std::string(designator);
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t colon = clock.find(':', start);
        fields.push_back(clock.substr(start, colon == std::string_view::npos ? colon : colon - start));
        if (colon == std::string_view::npos)
            break;
        start = colon + 1;
    }
    if (part == "hour")
        return std::string(fields[0]);
    if (part == "minute")
        return fields.size() > 1 ? std::string(fields[1]) : std::string();
    return {};
}

} // namespace tocsinet
