#pragma once
// The game state as JSON for automated checks: the form's fields, every game-state value and the sprites.

#include <string>

#include <nlohmann/json.hpp>

namespace vorlanex {

class TMainForm;

nlohmann::json DumpState(const TMainForm& form);
// A short fingerprint of the whole dump, the same for the same game in any folder (the dump carries it too).
std::string StateDigest(const TMainForm& form);
// Writes DumpState to a file; throws std::runtime_error naming the file when it cannot be written.
void WriteStateDump(const TMainForm& form, const std::string& path);

}  // namespace vorlanex
