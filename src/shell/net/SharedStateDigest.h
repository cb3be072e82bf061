#pragma once
// The state digest two machines compare every few frames. It reads the same field lists as the state dump but
// hashes them as they come instead of building the dump, so that comparing costs a frame next to nothing.

#include <cstdint>

namespace vorlanex {

class TMainForm;

// Everything that takes part in play: the form's scene and counters, every game-state value, every sprite and
// the random generator. The music and sound switches and the help ticker (which depends on the installed fonts)
// are each machine's own and not part of it, nor are the game folder's path and the caption.
std::uint64_t SharedStateDigest(const TMainForm& form);

}  // namespace vorlanex
