// What an effect that draws its own editor calls to edit host parameters.
#pragma once

#include <cstdint>

namespace Vire2VUR3 {

class CVSTParameterConnector
{
public:
	virtual ~CVSTParameterConnector () = default;
	virtual void guiBeginEdit (uint32_t /*parameterId*/) {}
	virtual void guiEndEdit (uint32_t /*parameterId*/) {}
	virtual void guiSetParameter (uint32_t /*parameterId*/, float /*normalizedValue*/) {}
};

} // namespace Vire2VUR3
