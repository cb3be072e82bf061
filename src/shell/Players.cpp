// Who enters the field when a level is built.

#include "shell/MainForm.h"

namespace vorlanex {

// The players' tanks and the first three enemies enter with the tank actors; until those exist a level is
// built with its terrain, background and snow only.
void TMainForm::CreatePlayers() {}

}  // namespace vorlanex
