// Runs a piece of code in a forked child in which the kernel allows no system call but exit and
// exit_group (a seccomp filter). A system call ends the child: a SIGSYS handler records its
// number and the calling stack in memory shared with the parent and exits with a status of its
// own. The code's answer becomes the child's exit status, so nothing has to be written back.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace Tarnwick {
namespace Realtime {

struct TrappedRun
{
	enum class Ending
	{
		kExited,            // the code ran to its end; exitCode holds its answer
		kTrapped,           // the code made system call `syscallNumber`
		kFilterUnavailable, // the kernel refused the filter (no seccomp here)
		kTimedOut,          // the code ran longer than allowed
		kKilled,            // the child died of signal `signal`
		kForkFailed,
	};
	Ending ending = Ending::kForkFailed;
	int exitCode = -1;
	long syscallNumber = -1;
	int signal = 0;
	// Where the system call was made: one line per frame, innermost first.
	std::vector<std::string> stack;

	bool exitedWith (int code) const { return ending == Ending::kExited && exitCode == code; }
	std::string describe () const;
};

class SyscallTrap
{
public:
	// Exit statuses the trap keeps for itself; the code's answers must stay below them.
	static constexpr int kTrappedStatus = 120;
	static constexpr int kFilterUnavailableStatus = 121;
	static constexpr int kThrewStatus = 122;

	// `code` runs in the child under the filter; its answer (0..119) is the exit status.
	static TrappedRun run (const std::function<int ()>& code, unsigned timeoutSeconds = 300);

	// Short name of a system call number, or the number.
	static std::string nameOf (long syscallNumber);
};

} // namespace Realtime
} // namespace Tarnwick
