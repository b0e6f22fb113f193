#pragma once

// Registers the screen classes the tab configuration names, under their class names: the screens
// that exist, and for each one whose own implementation is not part of the application yet a
// stand-in, the base screen with its navigation bar over an empty content area.
void registerTabScreens();
