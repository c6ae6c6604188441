#include "UridMap.h"

namespace Tarnwick {
namespace Lv2Host {

UridMap::UridMap ()
{
	mapRecord.handle = this;
	mapRecord.map = [] (LV2_URID_Map_Handle handle, const char* uri) {
		return static_cast<UridMap*> (handle)->map (uri);
	};
	unmapRecord.handle = this;
	unmapRecord.unmap = [] (LV2_URID_Unmap_Handle handle, LV2_URID urid) {
		return static_cast<UridMap*> (handle)->unmap (urid);
	};
	mapFeatureRecord = {LV2_URID__map, &mapRecord};
	unmapFeatureRecord = {LV2_URID__unmap, &unmapRecord};
}

LV2_URID UridMap::map (const char* uri)
{
	if (!uri)
		return 0;
	for (std::size_t i = 0; i < uris.size (); ++i)
		if (*uris[i] == uri)
			return static_cast<LV2_URID> (i + 1);
	uris.push_back (std::make_unique<std::string> (uri));
	return static_cast<LV2_URID> (uris.size ());
}

const char* UridMap::unmap (LV2_URID urid) const
{
	if (urid == 0 || urid > uris.size ())
		return nullptr;
	return uris[urid - 1]->c_str ();
}

} // namespace Lv2Host
} // namespace Tarnwick
