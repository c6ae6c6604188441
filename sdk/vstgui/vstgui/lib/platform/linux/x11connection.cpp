#include "x11connection.h"

#include <cerrno>
#include <chrono>
#include <thread>

namespace VSTGUI {

Display* openX11Display ()
{
	constexpr int kAttempts = 6;
	std::chrono::milliseconds pause (1);
	for (int attempt = 1;; ++attempt)
	{
		errno = 0;
		if (Display* display = XOpenDisplay (nullptr))
			return display;
		// Only a server too busy to take the connection is worth waiting for.
		if ((errno != EAGAIN && errno != ECONNRESET) || attempt == kAttempts)
			return nullptr;
		std::this_thread::sleep_for (pause);
		pause *= 2;
	}
}

} // namespace VSTGUI
