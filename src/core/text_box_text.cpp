#include "text_box_text.h"

namespace tocsinet {

std::string text_for_text_box(std::string_view bytes, std::size_t limit) {
    std::string text;
    text.reserve(bytes.size() < limit ? bytes.size() : limit);
    bool cut = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        bool line_break = c == '\r' || c == '\n';
        if (text.size() + (line_break ? 2 : 1) > limit) {
            cut = true;
            break;
        }
        if (line_break) {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            text += "\r\n";
        } else {
            text += c == '\0' ? ' ' : c;
        }
    }
    if (cut) {
        std::size_t last_break = text.rfind("\r\n");
        if (last_break != std::string::npos)
            text.resize(last_break + 2);
    }
    return text;
}

} // namespace tocsinet
