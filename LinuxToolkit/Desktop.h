// What the editor asks of the user's desktop.
#pragma once

namespace LinuxToolkit {

// Opens an address with the desktop's opener (xdg-open) and returns at once: a shell starts
// the opener in the background and ends, so the host waits for no browser.
void OpenAddress(const char* address);

}  // namespace LinuxToolkit
