// Entry points that older hosts call around loading the module; nothing to do.
#include "pluginterfaces/base/fplatform.h"

extern "C" {

SMTG_EXPORT_SYMBOL bool InitDll ()
{
	return true;
}

SMTG_EXPORT_SYMBOL bool ExitDll ()
{
	return true;
}

} // extern "C"
