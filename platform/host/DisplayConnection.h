#pragma once

struct SDL_Window;

namespace host {

// The file descriptor of the connection to the display server behind an SDL window, readable when
// the server has sent something (input, exposure); -1 when SDL does not say (display-less drivers,
// other window systems). Kept apart from the host because the window system's headers define
// names that clash with ours.
int displayConnection(SDL_Window *window);

} // namespace host
