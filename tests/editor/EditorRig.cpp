#include "EditorRig.h"

#include "vstgui/lib/cbitmap.h"

std::vector<ProbeControl> eightControls ()
{
	std::vector<ProbeControl> controls;
	for (int i = 0; i < 8; ++i)
	{
		ProbeControl c;
		c.name = "C" + std::to_string (i);
		c.controlId = static_cast<uint32_t> (100 + i);
		c.minValue = 0.f;
		c.maxValue = 10.f;
		controls.push_back (c);
	}
	return controls;
}

EditorRig::EditorRig (EditorProbeEffect* effect)
: rig (effect), probe (effect)
{
	VSTGUI::CBitmap::setResourceBasePath (TARNWICK_TEST_RESOURCES);
	rig.initialize ();
	handler.controller = rig.processor;
	rig.processor->setComponentHandler (&handler);
}

EditorRig::~EditorRig ()
{
	rig.processor->setComponentHandler (nullptr);
}
