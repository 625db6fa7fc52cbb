#pragma once

// Where users report bugs; shown in the start window.
namespace Contact {

inline constexpr const char* Address = "mxmtool@example.org";

} // namespace Contact
