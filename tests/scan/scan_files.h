#pragma once

#include <string_view>

namespace tessaro::testing {

// A small RCM template: USERLEVELS on line 1, the comment on line 15, the unit
// record and two holes from line 19.
inline constexpr std::string_view kSmallTemplate =
    "USERLEVELS,1,1,1\r\n"
    "L2\r\nL3\r\nL4\r\nL5\r\nL6\r\nL7\r\nL8\r\nL9\r\nL10\r\nL11\r\nL12\r\nL13\r\nL14\r\n"
    "\"Template\",0\r\n"
    "L16\r\nL17\r\nL18\r\n"
    "MET,0,0,0,0.000000\r\n"
    "HOL,0,0,0,0.000000\r\n"
    "DRI,0,0,0,0.000000\r\n"
    "DOW,0,0,0,0.000000\r\n"
    "HOL,0,0,0,0.000000\r\n"
    "DRI,0,0,0,0.000000\r\n"
    "DOW,0,0,0,0.000000\r\n";

// A metric panel with one hole on each face.
inline constexpr std::string_view kPanelGcode =
    "G71 X800 Y600 Z18\r\n"
    "G81 P1 X100 Y0 Z-5 E1 G54\r\n"
    "G81 P2 X200 Y0 Z-5 E1 G54\r\n"
    "G81 P3 X0 Y50 Z-5 E1 G54\r\n"
    "G81 P4 X0 Y60 Z-5 E1 G54\r\n";

// Refused on its first line.
inline constexpr std::string_view kRefusedGcode = "%\r\nG81 P1 X100 Y0 Z-5 E1 G54\r\n";

}  // namespace tessaro::testing
