// Where start-up's time goes: each step's end, in milliseconds since the process was created.
// Kept only when the environment variable ORV_STARTUP_PROFILE names a file (the benchmark sets
// it); the lines "step ms" are written there once the window has painted.
#pragma once

namespace orv {

void StartupMark(const char* step);
void WriteStartupProfile();

}  // namespace orv
