#pragma once

// Where users report bugs; shown in the start window.
namespace Contact {

inline constexpr const char* Address = "maintainers@users.noreply.c-seed-37029f85.example";

} // namespace Contact
