#pragma once
// What the program checks before it starts a game: that no output would overwrite the input script or another
// output, that every output can be written, and that the game folder holds a game. Each check happens before
// anything is opened for writing, so a refused run leaves every file as it was.

#include <string>

#include "shell/automation/CommandLine.h"

namespace vorlanex {

// Throws std::invalid_argument with a message for the player when an output (--record, --dump-state,
// --screenshot) is the same file as the input script or as another output, or cannot be written.
void CheckOutputs(const CommandLine& options);

// Empty when `folder` is a readable folder with the first map and the tile library; otherwise
// "FOLDER is not a game folder (WHY)", where WHY carries the system's reason.
std::string GameFolderProblem(const std::string& folder);

}  // namespace vorlanex
