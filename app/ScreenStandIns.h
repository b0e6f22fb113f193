#pragma once

// Registers, under the class names the tab configuration uses, the screens whose own
// implementations are not part of the application yet: each is the base screen with its
// navigation bar and an empty content area. A screen class that is already registered is kept.
void registerScreenStandIns();
