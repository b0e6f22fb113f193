#pragma once

#include <string>

namespace base {

// A new random (version 4) UUID: 36 upper-case hex digits and hyphens,
// e.g. "1B4E28BA-2FA1-41D2-883F-0016D3CCA427".
std::string newUuid();

} // namespace base
