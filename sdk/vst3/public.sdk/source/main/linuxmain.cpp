#include "public.sdk/source/main/linuxmain.h"

#include <dlfcn.h>

void* moduleHandle = nullptr;

namespace {

int moduleEntryCount = 0;
std::string moduleDirectory;

// Path of the object that holds this code (the module itself, not the host).
std::string findModuleDirectory ()
{
	Dl_info info {};
	if (dladdr (reinterpret_cast<void*> (&ModuleEntry), &info) == 0 || info.dli_fname == nullptr)
		return {};
	std::string path (info.dli_fname);
	const auto slash = path.find_last_of ('/');
	if (slash == std::string::npos)
		return "./";
	return path.substr (0, slash + 1);
}

} // namespace

__attribute__ ((weak)) bool InitModule ()
{
	return true;
}

__attribute__ ((weak)) bool DeinitModule ()
{
	return true;
}

namespace Steinberg {

const std::string& getModuleDirectory ()
{
	return moduleDirectory;
}

} // namespace Steinberg

extern "C" {

bool ModuleEntry (void* sharedLibraryHandle)
{
	if (++moduleEntryCount > 1)
		return true;

	moduleHandle = sharedLibraryHandle;
	moduleDirectory = findModuleDirectory ();
	if (!InitModule ())
	{
		moduleEntryCount = 0;
		moduleHandle = nullptr;
		moduleDirectory.clear ();
		return false;
	}
	return true;
}

bool ModuleExit ()
{
	// An exit without a matching entry must not drive the count below zero.
	if (moduleEntryCount == 0)
		return false;
	if (--moduleEntryCount > 0)
		return true;

	const bool result = DeinitModule ();
	moduleHandle = nullptr;
	moduleDirectory.clear ();
	return result;
}

} // extern "C"
