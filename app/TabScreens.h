#pragma once

// Registers under their class names the screens the application creates by name: the user guide
// and the screens the tab configuration names. A tab screen whose own implementation is not part of
// the application yet gets a stand-in: the base screen with its navigation bar over an empty
// content area.
void registerTabScreens();
