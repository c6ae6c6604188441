// CTextLabelVx and CTextEditVx: the units suffix and how copies carry it.
#include "CTextEditVx.h"
#include "CTextLabelVx.h"

#include <gtest/gtest.h>

using namespace VSTGUI;

TEST (UnitsLabel, AppendsOneBlankAndTheSuffix)
{
	auto* label = new CTextLabelVx (CRect (0, 0, 60, 20), "title");
	label->unitsSuffix = "Hz";
	label->setTextWithUnits ("440");
	EXPECT_STREQ (label->getText ().data (), "440 Hz");
	label->forget ();
}

TEST (UnitsLabel, WithoutSuffixShowsTheTextAlone)
{
	auto* label = new CTextLabelVx (CRect (0, 0, 60, 20));
	EXPECT_TRUE (label->unitsSuffix.empty ());
	label->setTextWithUnits ("12.5");
	EXPECT_STREQ (label->getText ().data (), "12.5");
	label->forget ();
}

TEST (UnitsLabel, CopiesKeepTheSuffix)
{
	auto* label = new CTextLabelVx (CRect (0, 0, 60, 20), "x");
	label->unitsSuffix = "dB";
	CView* copy = label->newCopy ();
	auto* copiedLabel = dynamic_cast<CTextLabelVx*> (copy);
	ASSERT_NE (copiedLabel, nullptr);
	EXPECT_EQ (copiedLabel->unitsSuffix, "dB");
	EXPECT_STREQ (copiedLabel->getText ().data (), "x");
	copy->forget ();
	label->forget ();
}

TEST (UnitsEdit, AppendsTheSuffixAndCopiesStartWithout)
{
	auto* edit = new CTextEditVx (CRect (0, 0, 60, 20), nullptr, 3, "0");
	edit->unitsSuffix = "mSec";
	edit->setTextWithUnits ("250");
	EXPECT_STREQ (edit->getText ().data (), "250 mSec");
	EXPECT_EQ (edit->getTag (), 3);
	CView* copy = edit->newCopy ();
	auto* copiedEdit = dynamic_cast<CTextEditVx*> (copy);
	ASSERT_NE (copiedEdit, nullptr);
	EXPECT_TRUE (copiedEdit->unitsSuffix.empty ());
	EXPECT_EQ (copiedEdit->getTag (), 3);
	copy->forget ();
	edit->forget ();
}
