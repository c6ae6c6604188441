// Module entry and exit of a VST 3 module on Linux.
#pragma once

#include <string>

// The handle the host passed to the first ModuleEntry; null while the module is not entered.
extern void* moduleHandle;

// Called by the first ModuleEntry and the last ModuleExit. The defaults do nothing and answer
// true; a module defines its own to set up and tear down module-wide state.
bool InitModule ();
bool DeinitModule ();

namespace Steinberg {

// Folder of the shared library that holds the module, ending with '/'; empty before ModuleEntry.
const std::string& getModuleDirectory ();

} // namespace Steinberg

extern "C" {
__attribute__ ((visibility ("default"))) bool ModuleEntry (void* sharedLibraryHandle);
__attribute__ ((visibility ("default"))) bool ModuleExit ();
}
