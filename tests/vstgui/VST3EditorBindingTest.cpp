// VST3Editor's parameter binding, driven offscreen: the frame is built from a
// description but never opened in a window.
#include "TestImages.h"
#include "vstgui/lib/controls/canimknob.h"
#include "vstgui/lib/controls/cbuttons.h"
#include "vstgui/lib/controls/ctextedit.h"
#include "vstgui/lib/controls/cxypad.h"
#include "vstgui/lib/cvstguitimer.h"
#include "vstgui/plugin-bindings/vst3editor.h"
#include "vstgui/plugin-bindings/vst3padcontroller.h"

#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace VSTGUI;
using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

const char* kDescription = R"(<vstgui-ui-description version="1">
  <control-tags>
    <control-tag name="Delay" tag="0"/>
    <control-tag name="Cutoff" tag="2"/>
    <control-tag name="Delay State" tag="8"/>
    <control-tag name="Private" tag="4"/>
  </control-tags>
  <template name="Editor" class="CViewContainer" origin="0, 0" size="485, 270" background-color="~ BlackCColor">
    <view class="CAnimKnob" control-tag="Cutoff" origin="261, 68" size="78, 78" default-value="0.5"/>
    <view class="CAnimKnob" control-tag="Delay" origin="10, 172" size="87, 87"/>
    <view class="COnOffButton" control-tag="Delay State" origin="0, 0" size="96, 48"/>
    <view class="CTextEdit" control-tag="Delay" origin="100, 0" size="60, 20"/>
    <view class="CAnimKnob" control-tag="Private" origin="200, 0" size="20, 20"/>
    <view class="CViewContainer" origin="300, 180" size="80, 80" sub-controller="Pad">
      <view class="CXYPad" custom-view-name="MyPad" origin="0, 0" size="80, 80" round-rect-radius="10"/>
    </view>
  </template>
  <template name="Other" class="CViewContainer" origin="0, 0" size="485, 270">
    <view class="COnOffButton" control-tag="Delay State" origin="1, 1" size="10, 10"/>
  </template>
</vstgui-ui-description>
)";

// The host's side of edits, in call order.
class RecordingHandler : public FObject, public IComponentHandler
{
public:
	tresult PLUGIN_API beginEdit (ParamID id) override
	{
		log << "b" << id << " ";
		return kResultOk;
	}
	tresult PLUGIN_API performEdit (ParamID id, ParamValue v) override
	{
		log << "p" << id << "=" << v << " ";
		return kResultOk;
	}
	tresult PLUGIN_API endEdit (ParamID id) override
	{
		log << "e" << id << " ";
		return kResultOk;
	}
	tresult PLUGIN_API restartComponent (int32) override { return kResultOk; }
	std::string take ()
	{
		std::string s = log.str ();
		log.str ("");
		return s;
	}
	OBJ_METHODS (RecordingHandler, FObject)
	DEFINE_INTERFACES
		DEF_INTERFACE (IComponentHandler)
	END_DEFINE_INTERFACES (FObject)
	REFCOUNT_METHODS (FObject)

private:
	std::ostringstream log;
};

// A pad that, like the framework's, turns the y axis over for values set from outside a drag.
class FlippingPad : public CXYPad
{
public:
	using CXYPad::CXYPad;
	void setValue (float v) override
	{
		if (!isEditing ())
		{
			float x, y;
			calculateXY (v, x, y);
			v = calculateValue (x, 1.f - y);
		}
		CXYPad::setValue (v);
	}
};

// An edit controller with parameters 0–9 and the pad's 20 and 21; its delegate side
// builds "MyPad" and the "Pad" sub-controller, and keeps parameter 4 private.
class TestController : public EditController, public VST3EditorDelegate
{
public:
	TestController ()
	{
		for (int i = 0; i < 10; ++i)
		{
			String128 title {};
			UString (title, 128).fromAscii (("P" + std::to_string (i)).c_str ());
			parameters.addParameter (title, nullptr, i >= 8 ? 1 : 0, 0, ParameterInfo::kCanAutomate, i);
		}
		parameters.addParameter (STR16 ("X"), nullptr, 0, 0, 0, 20);
		parameters.addParameter (STR16 ("Y"), nullptr, 0, 0, 0, 21);
	}
	CView* createCustomView (UTF8StringPtr name, const UIAttributes&, const IUIDescription*, VST3Editor*) override
	{
		customNames.push_back (name);
		if (std::string (name) == "MyPad")
			return new FlippingPad (CRect (0, 0, 80, 80));
		return nullptr;
	}
	IController* createSubController (UTF8StringPtr name, const IUIDescription*, VST3Editor* editor) override
	{
		if (std::string (name) != "Pad")
			return nullptr;
		return new PadController (editor, this, getParameterObject (20), getParameterObject (21));
	}
	bool isPrivateParameter (const ParamID id) override { return id == 4; }
	void didOpen (VST3Editor*) override { ++opened; }
	void willClose (VST3Editor*) override { ++closed; }

	std::vector<std::string> customNames;
	int opened {0};
	int closed {0};
};

class OffscreenEditor : public VST3Editor
{
public:
	OffscreenEditor (EditController* c, const char* templ, const char* file) : VST3Editor (c, templ, file) {}
	bool openOffscreen ()
	{
		frame = new CFrame (CRect (0, 0, rect.getWidth (), rect.getHeight ()), this);
		return createFrameContent ();
	}
	void closeOffscreen ()
	{
		unbindAll ();
		frame->removeAll ();
		frame->forget ();
		frame = nullptr;
	}
	void tick () { notify (nullptr, CVSTGUITimer::kMsgTimer); }
	template <typename T>
	T* viewAt (CCoord x, CCoord y)
	{
		auto root = frame->getView (0)->asViewContainer ();
		CView* v = root->getViewAt (CPoint (x, y));
		if (auto c = v ? v->asViewContainer () : nullptr)
			v = c->getViewAt (CPoint (x, y));
		return dynamic_cast<T*> (v);
	}
	void press (CCoord x, CCoord y) { CPoint p (x, y); frame->platformOnMouseDown (p, CButtonState (kLButton)); }
	void move (CCoord x, CCoord y) { CPoint p (x, y); frame->platformOnMouseMoved (p, CButtonState (kLButton)); }
	void mouseUp (CCoord x, CCoord y) { CPoint p (x, y); frame->platformOnMouseUp (p, CButtonState (kLButton)); }
};

struct EditorFixture : ::testing::Test
{
	void SetUp () override
	{
		folder.writeText ("test.uidesc", kDescription);
		controller = new TestController ();
		handler = new RecordingHandler ();
		controller->setComponentHandler (handler);
		editor = new OffscreenEditor (controller, "Editor", "test.uidesc");
	}
	void TearDown () override
	{
		editor->release ();
		controller->setComponentHandler (nullptr);
		controller->release ();
		handler->release ();
	}
	VSTGUITest::ResourceFolder folder;
	TestController* controller {nullptr};
	RecordingHandler* handler {nullptr};
	OffscreenEditor* editor {nullptr};
};

} // namespace

TEST_F (EditorFixture, SizeComesFromTheTemplateAndIsFixed)
{
	ViewRect r;
	ASSERT_EQ (editor->getSize (&r), kResultTrue);
	EXPECT_EQ (r.getWidth (), 485);
	EXPECT_EQ (r.getHeight (), 270);
	EXPECT_EQ (editor->canResize (), kResultFalse);
	ViewRect other (0, 0, 600, 400);
	EXPECT_EQ (editor->onSize (&other), kResultFalse);
	ViewRect same (0, 0, 485, 270);
	EXPECT_EQ (editor->onSize (&same), kResultTrue);
	EXPECT_EQ (editor->checkSizeConstraint (&other), kResultTrue);
	EXPECT_EQ (other.getWidth (), 485);
	EXPECT_EQ (editor->isPlatformTypeSupported (kPlatformTypeX11EmbedWindowID), kResultTrue);
	EXPECT_EQ (editor->isPlatformTypeSupported (kPlatformTypeHWND), kResultFalse);
	// No window to attach to: refused without a crash.
	EXPECT_EQ (editor->attached (nullptr, kPlatformTypeX11EmbedWindowID), kResultFalse);
}

TEST_F (EditorFixture, DraggingAKnobEditsItsParameter)
{
	controller->setParamNormalized (2, 0.5);
	ASSERT_TRUE (editor->openOffscreen ());
	auto knob = editor->viewAt<CAnimKnob> (300, 100);
	ASSERT_NE (knob, nullptr);
	EXPECT_FLOAT_EQ (knob->getValue (), 0.5f);
	EXPECT_EQ (knob->getListener (), static_cast<IControlListener*> (editor));
	// The knob asks the editor for its mode: the host's, linear here.
	controller->setKnobMode (Steinberg::Vst::kLinearMode);
	editor->press (300, 100);
	editor->move (300, 80);
	editor->mouseUp (300, 80);
	EXPECT_EQ (handler->take (), "b2 p2=0.6 e2 ");
	EXPECT_NEAR (controller->getParamNormalized (2), 0.6, 1e-6);
	editor->closeOffscreen ();
}

TEST_F (EditorFixture, AHostChangeMovesTheControlAtTheNextTick)
{
	ASSERT_TRUE (editor->openOffscreen ());
	auto knob = editor->viewAt<CAnimKnob> (50, 200);
	ASSERT_NE (knob, nullptr);
	controller->setParamNormalized (0, 0.9);
	EXPECT_FLOAT_EQ (knob->getValue (), 0.f);
	editor->tick ();
	EXPECT_FLOAT_EQ (knob->getValue (), 0.9f);
	auto edit = editor->viewAt<CTextEdit> (110, 10);
	ASSERT_NE (edit, nullptr);
	EXPECT_STREQ (edit->getText ().data (), "0.9000");
	EXPECT_EQ (handler->take (), "");
	editor->closeOffscreen ();
}

TEST_F (EditorFixture, ClickingTheSwitchTogglesItsParameter)
{
	ASSERT_TRUE (editor->openOffscreen ());
	editor->press (20, 20);
	editor->mouseUp (20, 20);
	EXPECT_EQ (handler->take (), "b8 p8=1 e8 ");
	EXPECT_EQ (controller->getParamNormalized (8), 1.);
	editor->press (20, 20);
	editor->mouseUp (20, 20);
	EXPECT_EQ (handler->take (), "b8 p8=0 e8 ");
	editor->closeOffscreen ();
}

TEST_F (EditorFixture, TextEditParsesThroughTheParameter)
{
	ASSERT_TRUE (editor->openOffscreen ());
	auto edit = editor->viewAt<CTextEdit> (110, 10);
	ASSERT_NE (edit, nullptr);
	edit->commitText ("0.25");
	EXPECT_EQ (handler->take (), "b0 p0=0.25 e0 ");
	EXPECT_EQ (controller->getParamNormalized (0), 0.25);
	// The knob on the same parameter follows.
	EXPECT_FLOAT_EQ (editor->viewAt<CAnimKnob> (50, 200)->getValue (), 0.25f);
	editor->closeOffscreen ();
}

TEST_F (EditorFixture, PrivateParametersStayUnbound)
{
	ASSERT_TRUE (editor->openOffscreen ());
	EXPECT_EQ (editor->findControlForParameter (4), nullptr);
	EXPECT_NE (editor->findControlForParameter (2), nullptr);
	editor->press (210, 10);
	editor->move (210, 0);
	editor->mouseUp (210, 0);
	EXPECT_EQ (handler->take (), "");
	editor->closeOffscreen ();
}

TEST_F (EditorFixture, PadControllerEditsBothParametersAsOneGesture)
{
	ASSERT_TRUE (editor->openOffscreen ());
	EXPECT_EQ (controller->customNames, (std::vector<std::string> {"MyPad"}));
	auto pad = editor->viewAt<CXYPad> (340, 220);
	ASSERT_NE (pad, nullptr);
	// Drag to x = 0.25, y = 0.75 of the 70 px travel.
	editor->press (300 + 5 + 17.5, 180 + 5 + 52.5);
	editor->mouseUp (300 + 5 + 17.5, 180 + 5 + 52.5);
	EXPECT_EQ (handler->take (), "b20 b21 p20=0.25 p21=0.75 e20 e21 ");
	EXPECT_EQ (controller->getParamNormalized (20), 0.25);
	EXPECT_EQ (controller->getParamNormalized (21), 0.75);
	// Its own edit does not come back to the pad.
	float dragged = pad->getValue ();
	editor->tick ();
	EXPECT_FLOAT_EQ (pad->getValue (), dragged);

	// The host moves both parameters: the pad follows at the next tick.
	controller->setParamNormalized (20, 0.5);
	controller->setParamNormalized (21, 0.125);
	editor->tick ();
	EXPECT_FLOAT_EQ (pad->getValue (), CXYPad::calculateValue (0.5f, 0.875f));
	EXPECT_EQ (handler->take (), "");
	editor->closeOffscreen ();
}

TEST_F (EditorFixture, ExchangeViewHappensAtTheNextTick)
{
	ASSERT_TRUE (editor->openOffscreen ());
	EXPECT_FALSE (editor->exchangeView ("NoSuchTemplate"));
	EXPECT_TRUE (editor->exchangeView ("Other"));
	EXPECT_TRUE (editor->isRecreateViewPending ());
	EXPECT_NE (editor->findControlForParameter (2), nullptr);
	editor->tick ();
	EXPECT_FALSE (editor->isRecreateViewPending ());
	EXPECT_EQ (editor->findControlForParameter (2), nullptr);
	EXPECT_NE (editor->findControlForParameter (8), nullptr);
	editor->closeOffscreen ();
}

TEST (VST3Editor, MissingDescriptionGivesAnEmptyEditor)
{
	VSTGUITest::ResourceFolder folder;
	auto controller = new TestController ();
	auto editor = new OffscreenEditor (controller, "Editor", "nothing.uidesc");
	ViewRect r;
	editor->getSize (&r);
	EXPECT_GT (r.getWidth (), 0);
	EXPECT_FALSE (editor->openOffscreen ());
	EXPECT_EQ (editor->getFrame ()->getNbViews (), 0u);
	editor->closeOffscreen ();
	editor->release ();
	controller->release ();
}
