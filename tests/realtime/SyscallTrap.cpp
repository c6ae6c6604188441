#include "SyscallTrap.h"

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <dlfcn.h>
#include <execinfo.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace Tarnwick {
namespace Realtime {

namespace {

constexpr int kMaxFrames = 32;

// Written by the child's SIGSYS handler, read by the parent.
struct TrapReport
{
	volatile long syscallNumber;
	volatile int frameCount;
	void* frames[kMaxFrames];
};

TrapReport* report = nullptr;

void exitGroup (int status)
{
	// Straight to the kernel: _exit may be wrapped by a sanitizer runtime that does more.
	syscall (SYS_exit_group, status);
	for (;;)
	{
	}
}

void onTrappedSyscall (int, siginfo_t* info, void*)
{
	report->syscallNumber = info->si_syscall;
	// Should the stack walk itself make a system call, the kernel ends the child with SIGSYS
	// (blocked while this handler runs); the number is recorded already.
	report->frameCount = backtrace (report->frames, kMaxFrames);
	exitGroup (SyscallTrap::kTrappedStatus);
}

bool installFilter ()
{
#if defined(__x86_64__)
	struct sock_filter filter[] = {
	    BPF_STMT (BPF_LD | BPF_W | BPF_ABS, offsetof (struct seccomp_data, arch)),
	    BPF_JUMP (BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0),
	    BPF_STMT (BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS),
	    BPF_STMT (BPF_LD | BPF_W | BPF_ABS, offsetof (struct seccomp_data, nr)),
	    BPF_JUMP (BPF_JMP | BPF_JEQ | BPF_K, __NR_exit_group, 2, 0),
	    BPF_JUMP (BPF_JMP | BPF_JEQ | BPF_K, __NR_exit, 1, 0),
	    BPF_STMT (BPF_RET | BPF_K, SECCOMP_RET_TRAP),
	    BPF_STMT (BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
	};
	struct sock_fprog program {};
	program.len = static_cast<unsigned short> (sizeof (filter) / sizeof (filter[0]));
	program.filter = filter;
	if (prctl (PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
		return false;
	return prctl (PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program, 0, 0) == 0;
#else
	return false;
#endif
}

[[noreturn]] void runChild (const std::function<int ()>& code, unsigned timeoutSeconds)
{
	struct sigaction action {};
	action.sa_sigaction = onTrappedSyscall;
	action.sa_flags = SA_SIGINFO;
	sigemptyset (&action.sa_mask);
	sigset_t trap;
	sigemptyset (&trap);
	sigaddset (&trap, SIGSYS);
	if (sigaction (SIGSYS, &action, nullptr) != 0 || sigprocmask (SIG_UNBLOCK, &trap, nullptr) != 0)
		exitGroup (SyscallTrap::kFilterUnavailableStatus);
	// SIGALRM's default action ends a child that hangs.
	signal (SIGALRM, SIG_DFL);
	alarm (timeoutSeconds);
	if (!installFilter ())
		exitGroup (SyscallTrap::kFilterUnavailableStatus);

	int answer = SyscallTrap::kThrewStatus;
	try
	{
		answer = code ();
		if (answer < 0 || answer >= SyscallTrap::kTrappedStatus)
			answer = SyscallTrap::kTrappedStatus - 1;
	}
	catch (...)
	{
		// Never back into the test framework from the child.
	}
	exitGroup (answer);
	for (;;)
	{
	}
}

std::string describeFrame (void* address)
{
	char line[512];
	Dl_info info {};
	if (dladdr (address, &info) != 0 && info.dli_fname)
	{
		const char* object = info.dli_fname;
		const auto offset = reinterpret_cast<const char*> (address) - reinterpret_cast<const char*> (info.dli_fbase);
		if (info.dli_sname)
			std::snprintf (line, sizeof (line), "%s(%s) +0x%tx", object, info.dli_sname, offset);
		else
			std::snprintf (line, sizeof (line), "%s +0x%tx", object, offset);
	}
	else
		std::snprintf (line, sizeof (line), "%p", address);
	return line;
}

} // namespace

TrappedRun SyscallTrap::run (const std::function<int ()>& code, unsigned timeoutSeconds)
{
	TrappedRun result;
	// The first stack walk loads the unwinder: done here, not in the child.
	void* warmUp[2];
	backtrace (warmUp, 2);

	void* shared = mmap (nullptr, sizeof (TrapReport), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
	if (shared == MAP_FAILED)
		return result;
	report = static_cast<TrapReport*> (shared);
	report->syscallNumber = -1;
	report->frameCount = 0;

	std::fflush (nullptr);
	const pid_t child = fork ();
	if (child < 0)
	{
		munmap (shared, sizeof (TrapReport));
		return result;
	}
	if (child == 0)
		runChild (code, timeoutSeconds);

	int status = 0;
	pid_t waited;
	do
		waited = waitpid (child, &status, 0);
	while (waited < 0 && errno == EINTR);

	const long trapped = report->syscallNumber;
	if (waited != child)
		result.ending = TrappedRun::Ending::kKilled;
	else if (WIFEXITED (status) && WEXITSTATUS (status) == kFilterUnavailableStatus)
		result.ending = TrappedRun::Ending::kFilterUnavailable;
	else if (trapped >= 0)
		result.ending = TrappedRun::Ending::kTrapped;
	else if (WIFEXITED (status))
		result.ending = TrappedRun::Ending::kExited;
	else if (WIFSIGNALED (status) && WTERMSIG (status) == SIGALRM)
		result.ending = TrappedRun::Ending::kTimedOut;
	else
		result.ending = TrappedRun::Ending::kKilled;

	if (WIFEXITED (status))
		result.exitCode = WEXITSTATUS (status);
	if (WIFSIGNALED (status))
		result.signal = WTERMSIG (status);
	result.syscallNumber = trapped;
	const int frames = report->frameCount;
	for (int f = 0; f < frames && f < kMaxFrames; ++f)
		result.stack.push_back (describeFrame (report->frames[f]));

	report = nullptr;
	munmap (shared, sizeof (TrapReport));
	return result;
}

std::string TrappedRun::describe () const
{
	switch (ending)
	{
		case Ending::kExited: return "exited with status " + std::to_string (exitCode);
		case Ending::kFilterUnavailable: return "the kernel refused the seccomp filter";
		case Ending::kTimedOut: return "timed out";
		case Ending::kKilled: return "killed by signal " + std::to_string (signal);
		case Ending::kForkFailed: return "fork failed";
		case Ending::kTrapped: break;
	}
	std::string text = "system call " + SyscallTrap::nameOf (syscallNumber);
	for (const std::string& frame : stack)
		text += "\n    at " + frame;
	return text;
}

std::string SyscallTrap::nameOf (long number)
{
	struct Name
	{
		long number;
		const char* name;
	};
	static const Name names[] = {
	    {SYS_read, "read"},
	    {SYS_write, "write"},
	    {SYS_writev, "writev"},
	    {SYS_openat, "openat"},
	    {SYS_close, "close"},
	    {SYS_lseek, "lseek"},
	    {SYS_ioctl, "ioctl"},
	    {SYS_mmap, "mmap"},
	    {SYS_munmap, "munmap"},
	    {SYS_mremap, "mremap"},
	    {SYS_mprotect, "mprotect"},
	    {SYS_madvise, "madvise"},
	    {SYS_brk, "brk"},
	    {SYS_futex, "futex"},
	    {SYS_sched_yield, "sched_yield"},
	    {SYS_nanosleep, "nanosleep"},
	    {SYS_clock_nanosleep, "clock_nanosleep"},
	    {SYS_clock_gettime, "clock_gettime"},
	    {SYS_gettimeofday, "gettimeofday"},
	    {SYS_getpid, "getpid"},
	    {SYS_gettid, "gettid"},
	    {SYS_tgkill, "tgkill"},
	    {SYS_rt_sigaction, "rt_sigaction"},
	    {SYS_rt_sigprocmask, "rt_sigprocmask"},
	    {SYS_sigaltstack, "sigaltstack"},
	    {SYS_prctl, "prctl"},
	    {SYS_clone, "clone"},
	    {SYS_getrandom, "getrandom"},
	    {SYS_poll, "poll"},
	    {SYS_ppoll, "ppoll"},
	    {SYS_sched_getaffinity, "sched_getaffinity"},
	    {SYS_newfstatat, "newfstatat"},
	};
	for (const Name& entry : names)
		if (entry.number == number)
			return std::string (entry.name) + " (" + std::to_string (number) + ")";
	return "number " + std::to_string (number);
}

} // namespace Realtime
} // namespace Tarnwick
