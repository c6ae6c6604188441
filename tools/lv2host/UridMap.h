// The host's URI <-> integer map (urid:map and urid:unmap). Not for the audio thread.
#pragma once

#include <lv2/core/lv2.h>
#include <lv2/urid/urid.h>

#include <memory>
#include <string>
#include <vector>

namespace Tarnwick {
namespace Lv2Host {

class UridMap
{
public:
	UridMap ();
	UridMap (const UridMap&) = delete;
	UridMap& operator= (const UridMap&) = delete;

	LV2_URID map (const char* uri);
	const char* unmap (LV2_URID urid) const;

	const LV2_Feature* mapFeature () const { return &mapFeatureRecord; }
	const LV2_Feature* unmapFeature () const { return &unmapFeatureRecord; }

private:
	std::vector<std::unique_ptr<std::string>> uris; // urid n is uris[n - 1]
	LV2_URID_Map mapRecord;
	LV2_URID_Unmap unmapRecord;
	LV2_Feature mapFeatureRecord;
	LV2_Feature unmapFeatureRecord;
};

} // namespace Lv2Host
} // namespace Tarnwick
