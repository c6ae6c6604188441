// Copies into the fixed buffers of the VST 2 interface never overrun them and
// never cut a character in half.
#include "Vst2Text.h"

#include "pluginterfaces/base/ustring.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

TEST (Vst2Text, CopyBytesCutsAtTheBufferSize)
{
	char buffer[12];
	std::memset (buffer, 0x55, sizeof (buffer));
	Vst2Text::copyBytes (buffer, 8, "Feedback Level");
	EXPECT_STREQ (buffer, "Feedbac");
	EXPECT_EQ (buffer[8], 0x55);
	Vst2Text::copyBytes (buffer, 8, nullptr);
	EXPECT_STREQ (buffer, "");
	Vst2Text::copyBytes (buffer, 0, "x"); // nothing to write into
	EXPECT_STREQ (buffer, "");
	Vst2Text::copyBytes (nullptr, 8, "x");
}

TEST (Vst2Text, Utf16BecomesUtf8WithoutSplittingACharacter)
{
	const TChar text[] = {'-', 0x221E, 0}; // minus infinity: 1 + 3 bytes
	char buffer[8];
	std::memset (buffer, 0x55, sizeof (buffer));
	Vst2Text::copyUtf16 (buffer, 8, text);
	EXPECT_STREQ (buffer, "-\xE2\x88\x9E");
	Vst2Text::copyUtf16 (buffer, 4, text); // room for 3 bytes: the sign only
	EXPECT_STREQ (buffer, "-");
	EXPECT_EQ (buffer[2], '\x88'); // untouched remains of the previous copy

	const TChar pair[] = {0xD83D, 0xDE00, 'a', 0}; // one character outside the BMP
	char wide[16];
	Vst2Text::copyUtf16 (wide, sizeof (wide), pair);
	EXPECT_STREQ (wide, "\xF0\x9F\x98\x80" "a");
	const TChar lone[] = {0xDC00, 'b', 0};
	Vst2Text::copyUtf16 (wide, sizeof (wide), lone);
	EXPECT_STREQ (wide, "\xEF\xBF\xBD" "b");
}

TEST (Vst2Text, Utf8BecomesUtf16)
{
	TChar out[8];
	Vst2Text::toUtf16 (out, 8, "-\xE2\x88\x9E" "5");
	EXPECT_EQ (out[0], '-');
	EXPECT_EQ (out[1], 0x221E);
	EXPECT_EQ (out[2], '5');
	EXPECT_EQ (out[3], 0);
	Vst2Text::toUtf16 (out, 3, "abcdef");
	EXPECT_EQ (out[1], 'b');
	EXPECT_EQ (out[2], 0);
	Vst2Text::toUtf16 (out, 8, "\xE2\x88"); // cut short
	EXPECT_EQ (out[0], 0xFFFD);
	Vst2Text::toUtf16 (out, 8, nullptr);
	EXPECT_EQ (out[0], 0);
}

TEST (Vst2Text, MakeUniqueNumbersLaterClashesWithinTheBuffer)
{
	// "Delay2" is someone's own name, so the second "Delay" gets 3; the clipped clash keeps
	// within 7 bytes and never splits a UTF-8 sequence.
	std::vector<std::string> names = {"Delay",   "Delay", "Delay2",        "Joystic",
	                                  "Joystic", "Gain",  "Prema\xC3\xA9", "Prema\xC3\xA9"};
	Vst2Text::makeUnique (names, 8);
	const std::vector<std::string> expected = {"Delay",   "Delay3", "Delay2",        "Joystic",
	                                           "Joysti2", "Gain",   "Prema\xC3\xA9", "Prema2"};
	EXPECT_EQ (names, expected);
}
