// A control listener that writes down what its controls tell it, in order.
#pragma once

#include "vstgui/lib/controls/ccontrol.h"

#include <sstream>
#include <string>
#include <vector>

namespace EditorTest {

class RecordingListener : public VSTGUI::IControlListener
{
public:
	void valueChanged (VSTGUI::CControl* control) override
	{
		std::ostringstream s;
		s << "value " << control->getValue ();
		events.push_back (s.str ());
		values.push_back (control->getValue ());
	}
	void controlBeginEdit (VSTGUI::CControl*) override { events.push_back ("begin"); }
	void controlEndEdit (VSTGUI::CControl*) override { events.push_back ("end"); }

	std::vector<std::string> events;
	std::vector<float> values;
};

} // namespace EditorTest
