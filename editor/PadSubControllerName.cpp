#include "PadSubControllerName.h"

#include <cstdlib>

namespace Vire2VUR3 {

bool PadSubControllerName::parse (const std::string& name, int32_t& xId, int32_t& yId)
{
	const size_t x = name.find ("_X");
	const size_t y = name.find ("_Y");
	if (x == std::string::npos || y == std::string::npos || !(x < y) || !(y < name.size ()))
		return false;
	xId = static_cast<int32_t> (std::atoi (name.substr (x + 2, y - x - 2).c_str ()));
	yId = static_cast<int32_t> (std::atoi (name.substr (y + 2).c_str ()));
	return true;
}

} // namespace Vire2VUR3
