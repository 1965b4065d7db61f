// Controls of the Options window; the folder picker reads `which` and fills the two paths.
#pragma once

namespace forms {

enum options_control : int {
    id_which = 301,
    id_winamp_path,
    id_default_path,
    id_lctos,
    id_etwago,
    id_mtst,
    id_browse_winamp,
    id_browse_music,
    id_options_ok,
    id_options_cancel,
    id_options_SSTab1,
    id_options_Picture1,
    id_options_Picture2,
    id_options_Picture3,
    id_options_Picture4,
    id_options_Picture5,
    id_options_Picture6,
    id_options_Label1,
    id_options_Label2,
    id_options_Line1,
    id_options_Line2,
};

} // namespace forms
