#pragma once

// The game's pictures live in this library as Qt resources:
//   :/assets/title.png  :/assets/enemy.png  :/assets/ship.png
//   :/assets/icon-48.png  :/assets/icon-96.png (the window icon)
// Calling this from an executable is never required; it only gives the
// library a symbol so the linker has something to anchor it by.
void zelvatronAssetsLinked();
