#pragma once

// Makes sure the game's plug-in control file exists in the player's profile and is registered,
// elevating when needed. The hall goes on whatever it returns.
bool EnsurePluginControl();
