// The plug-in view of an effect that draws its own editor: an empty VSTGUI frame,
// the host's window handed to the effect, and a connector for its edits.
#pragma once

#include "CVSTParameterConnector.h"

#include "effect/CPlugIn.h"

#include "public.sdk/source/vst/vstguieditor.h"

namespace Vire2VUR3 {

class CVexaCustomView : public CVSTParameterConnector, public Steinberg::Vst::VSTGUIEditor
{
public:
	CVexaCustomView (Steinberg::Vst::EditController* controller, Steinberg::ViewRect* size);
	~CVexaCustomView () override;

	// CVSTParameterConnector
	void guiBeginEdit (uint32_t parameterId) override;
	void guiEndEdit (uint32_t parameterId) override;
	void guiSetParameter (uint32_t parameterId, float normalizedValue) override;

	// VSTGUIEditor
	bool PLUGIN_API open (void* parent, const VSTGUI::PlatformType& platformType = VSTGUI::kDefaultNative) override;
	void PLUGIN_API close () override;

	// The platform type as the effect reads it ("X11EmbedWindowID" on Linux).
	static const char* platformTypeText (VSTGUI::PlatformType type);
	// The module's instance handle: the address this library is loaded at.
	static void* moduleInstanceHandle ();

	CPlugIn* effect {nullptr};

private:
	void releaseFrame ();
};

} // namespace Vire2VUR3
