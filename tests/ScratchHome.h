#pragma once

// Gives a program run by hand without $QV_HOME a home of its own in the temporary folder, removed
// when the program exits, so that a test or fuzz program never writes into the user's files.
// Programs run by ctest or scripts/fuzz get $QV_HOME below the build folder and keep it.
void useScratchHomeUnlessSet();
