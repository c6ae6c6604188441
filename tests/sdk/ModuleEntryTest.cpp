#include "public.sdk/source/main/linuxmain.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <gtest/gtest.h>

namespace {
int initCalls = 0;
int deinitCalls = 0;
bool initSucceeds = true;
} // namespace

// The module's own hooks replace the library's defaults.
bool InitModule ()
{
	++initCalls;
	return initSucceeds;
}

bool DeinitModule ()
{
	++deinitCalls;
	return true;
}

namespace {

using namespace Steinberg;

class ModuleEntryTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		initCalls = 0;
		deinitCalls = 0;
		initSucceeds = true;
	}
	int handleValue = 0;
	void* handle = &handleValue;
};

TEST_F (ModuleEntryTest, FirstEntryInitialisesLastExitDeinitialises)
{
	EXPECT_EQ (moduleHandle, nullptr);
	EXPECT_TRUE (getModuleDirectory ().empty ());

	ASSERT_TRUE (ModuleEntry (handle));
	EXPECT_EQ (initCalls, 1);
	EXPECT_EQ (moduleHandle, handle);
	const std::string directory = getModuleDirectory ();
	ASSERT_FALSE (directory.empty ());
	EXPECT_EQ (directory.back (), '/');

	ASSERT_TRUE (ModuleEntry (nullptr));
	EXPECT_EQ (initCalls, 1);
	EXPECT_EQ (moduleHandle, handle); // the first caller's handle stays

	EXPECT_TRUE (ModuleExit ());
	EXPECT_EQ (deinitCalls, 0);
	EXPECT_EQ (moduleHandle, handle);

	EXPECT_TRUE (ModuleExit ());
	EXPECT_EQ (deinitCalls, 1);
	EXPECT_EQ (moduleHandle, nullptr);
	EXPECT_TRUE (getModuleDirectory ().empty ());
}

TEST_F (ModuleEntryTest, ExitWithoutEntryIsRefusedAndDoesNotUnbalanceTheCount)
{
	EXPECT_FALSE (ModuleExit ());
	EXPECT_EQ (deinitCalls, 0);
	ASSERT_TRUE (ModuleEntry (handle));
	EXPECT_EQ (initCalls, 1);
	EXPECT_TRUE (ModuleExit ());
	EXPECT_EQ (deinitCalls, 1);
}

TEST_F (ModuleEntryTest, FailedInitialisationLeavesTheModuleUnentered)
{
	initSucceeds = false;
	EXPECT_FALSE (ModuleEntry (handle));
	EXPECT_EQ (moduleHandle, nullptr);
	EXPECT_FALSE (ModuleExit ());
	EXPECT_EQ (deinitCalls, 0);

	initSucceeds = true;
	ASSERT_TRUE (ModuleEntry (handle));
	EXPECT_EQ (initCalls, 2);
	EXPECT_TRUE (ModuleExit ());
	EXPECT_EQ (deinitCalls, 1);
}

TEST (ViewInterfaceIds, AreDefinedWithTheirPublishedValues)
{
	EXPECT_EQ (IPlugView::iid, FUID (0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29));
	EXPECT_EQ (IPlugFrame::iid, FUID (0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3));
	EXPECT_EQ (IPlugViewContentScaleSupport::iid,
	           FUID (0x65ED9690, 0x8AC44525, 0x8AADEF7A, 0x72EA703F));
	EXPECT_EQ (Linux::IEventHandler::iid, FUID (0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983));
	EXPECT_EQ (Linux::ITimerHandler::iid, FUID (0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9));
	EXPECT_EQ (Linux::IRunLoop::iid, FUID (0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389));
}

} // namespace
