// How a text file is shown in a multi-line text box.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tocsinet {

// The most a text box is given: a longer file is cut, and never read further than this.
inline constexpr std::size_t text_box_limit = 30000;

// The file's bytes as the box shows them, at most `limit` characters: every line break (CR LF,
// LF or CR alone) as CR LF, since the box breaks lines at CR LF only, and NULs as blanks, since
// the box's text would end at the first one. A text that does not fit ends after its last line
// break when it has one, so no line is shown in part.
std::string text_for_text_box(std::string_view bytes, std::size_t limit = text_box_limit);

} // namespace tocsinet
