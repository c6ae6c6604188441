// CKickButtonVx: which of press and release report a value, by kick mode.
#include "CKickButtonVx.h"
#include "RecordingListener.h"

#include <gtest/gtest.h>

using namespace VSTGUI;
using EditorTest::RecordingListener;

namespace {

struct KickRig
{
	explicit KickRig (int32_t mode)
	{
		button = new CKickButtonVx (CRect (0, 0, 20, 20), &listener, 7, nullptr);
		button->kickMode = mode;
	}
	~KickRig () { button->forget (); }

	void press ()
	{
		CPoint inside (10, 10);
		pressResult = button->onMouseDown (inside, CButtonState (kLButton));
	}
	void release ()
	{
		CPoint inside (10, 10);
		releaseResult = button->onMouseUp (inside, CButtonState (kLButton));
	}

	RecordingListener listener;
	CKickButtonVx* button;
	CMouseEventResult pressResult {kMouseEventNotImplemented};
	CMouseEventResult releaseResult {kMouseEventNotImplemented};
};

} // namespace

TEST (KickButton, StartsInModeZero)
{
	RecordingListener listener;
	auto* button = new CKickButtonVx (CRect (0, 0, 20, 20), &listener, 1, nullptr);
	EXPECT_EQ (button->kickMode, 0);
	button->forget ();
}

TEST (KickButton, PressOnlyModeReportsOneOnPressAndNothingOnRelease)
{
	KickRig rig (CKickButtonVx::kSendOnPress);
	rig.press ();
	EXPECT_EQ (rig.listener.events, (std::vector<std::string> {"begin", "value 1"}));
	rig.release ();
	EXPECT_EQ (rig.listener.events, (std::vector<std::string> {"begin", "value 1", "end"}));
	EXPECT_EQ (rig.releaseResult, kMouseEventHandled);
	EXPECT_FLOAT_EQ (rig.button->getValue (), 0.f);
}

TEST (KickButton, ReleaseOnlyModeReportsTheMinimumOnRelease)
{
	KickRig rig (CKickButtonVx::kSendOnRelease);
	rig.button->setMin (0.25f);
	rig.press ();
	EXPECT_EQ (rig.listener.events, (std::vector<std::string> {"begin"}));
	EXPECT_FLOAT_EQ (rig.button->getValue (), 1.f);
	rig.release ();
	EXPECT_EQ (rig.listener.events, (std::vector<std::string> {"begin", "value 0.25", "end"}));
}

TEST (KickButton, BothModeReportsPressAndRelease)
{
	KickRig rig (CKickButtonVx::kSendOnPressAndRelease);
	rig.press ();
	rig.release ();
	EXPECT_EQ (rig.listener.events, (std::vector<std::string> {"begin", "value 1", "value 0", "end"}));
}

TEST (KickButton, IgnoresPressWithoutTheLeftButton)
{
	KickRig rig (CKickButtonVx::kSendOnPressAndRelease);
	CPoint inside (10, 10);
	EXPECT_EQ (rig.button->onMouseDown (inside, CButtonState (kRButton)), kMouseEventNotHandled);
	EXPECT_TRUE (rig.listener.events.empty ());
	EXPECT_FLOAT_EQ (rig.button->getValue (), 0.f);
}
