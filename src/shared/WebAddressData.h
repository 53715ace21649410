#pragma once

namespace shared {

// The project's web address, scrambled, and the key that unscrambles it. Made by
// tools/scramble_address.py; a new address takes one run of it.
extern const char *const ScrambledWebAddress; // 176 digits
extern const char *const UnscrambleKey;       // 562 lowercase letters and digits

} // namespace shared
