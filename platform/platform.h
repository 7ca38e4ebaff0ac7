// Start and release of the platform layer as a whole.
#pragma once

// The platform's own start-up (window and event layers). False if it cannot start.
bool platform_start();
// Closes every window, frees every image and sound, lets the libraries go.
void platform_release();
