// The adapter's own parameter classes: tapers, display and parsing at their edges.
#include "adapter/FastApprox.h"
#include "LogParameter.h"
#include "PeakParameter.h"
#include "VoltOctaveParameter.h"

#include "TextHelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Vire2VUR3;

namespace {

std::u16string shown (const Parameter& parameter, ParamValue normalized)
{
	String128 text {};
	parameter.toString (normalized, text);
	return text16 (text);
}

} // namespace

TEST (FastApprox, Log2StaysWithinTheApproximationError)
{
	for (float x = 0.001f; x < 1.0e6f; x *= 1.37f)
		EXPECT_NEAR (fastlog2 (x), std::log2 (x), 2.0e-4) << x;
}

TEST (FastApprox, Pow2StaysWithinTheApproximationError)
{
	for (float p = -20.f; p <= 20.f; p += 0.173f)
		EXPECT_NEAR (fastpow2 (p) / std::exp2 (p), 1.0, 1.0e-4) << p;
}

TEST (FastApprox, Pow2OfHostileArgumentsStaysFinite)
{
	EXPECT_TRUE (std::isfinite (fastpow2 (std::numeric_limits<float>::quiet_NaN ())));
	EXPECT_TRUE (std::isfinite (fastpow2 (1.0e30f)));
	const float tiny = fastpow2 (-1000.f);
	EXPECT_GE (tiny, 0.f);
	EXPECT_LT (tiny, 1.0e-37f);
}

TEST (LogParameter, ConstructorFillsTheInformationFromThePlainDefault)
{
	LogParameter parameter (STR16 ("Freq"), 7, STR16 ("Hz"), 20., 20000., 2000., 0,
	                        ParameterInfo::kCanAutomate, 3);
	const ParameterInfo& info = parameter.getInfo ();
	EXPECT_EQ (text16 (info.title), u"Freq");
	EXPECT_EQ (text16 (info.units), u"Hz");
	EXPECT_EQ (info.id, 7u);
	EXPECT_EQ (info.stepCount, 0);
	EXPECT_EQ (info.flags, ParameterInfo::kCanAutomate);
	EXPECT_EQ (info.unitId, 3);
	EXPECT_EQ (info.defaultNormalizedValue, parameter.toNormalized (2000.));
	EXPECT_EQ (parameter.getNormalized (), info.defaultNormalizedValue);
	EXPECT_EQ (parameter.getMin (), 20.);
	EXPECT_EQ (parameter.getMax (), 20000.);
}

TEST (LogParameter, MinimumMapsToTenToTheMinus2Point4AndMaximumToOne)
{
	LogParameter parameter (STR16 ("Freq"), 0, nullptr, 20., 20000., 20.);
	parameter.setPrecision (2);
	EXPECT_EQ (parameter.toNormalized (20.), static_cast<float> (std::pow (10., -2.4)));
	EXPECT_NEAR (parameter.toNormalized (20.), 0.00398, 0.00001);
	EXPECT_EQ (parameter.toNormalized (20000.), 1.0);
	EXPECT_EQ (shown (parameter, parameter.toNormalized (20.)), u"20.00");
	EXPECT_EQ (shown (parameter, 1.), u"20000.00");
}

TEST (LogParameter, NormalizedZeroShowsTheMinimumAndBelowTheKneeGoesUnderIt)
{
	LogParameter parameter (STR16 ("Freq"), 0, nullptr, 20., 20000., 20.);
	parameter.setPrecision (2);
	EXPECT_EQ (parameter.toPlain (0.), 20.);
	EXPECT_EQ (shown (parameter, 0.), u"20.00");
	// No clamping: 10^-3 lies below 10^-2.4 and so below the minimum.
	EXPECT_LT (parameter.toPlain (0.001), 20.);
}

TEST (LogParameter, PlainFollowsTheLogarithmicCurve)
{
	LogParameter parameter (STR16 ("Freq"), 0, nullptr, 20., 20000., 20.);
	const float e = static_cast<float> (std::log10 (0.5f) * 0.4166666666666667 + 1.0);
	EXPECT_EQ (parameter.toPlain (0.5), 20. + 19980. * e);
}

TEST (LogParameter, TextRoundTripsThroughTheTaper)
{
	LogParameter parameter (STR16 ("Freq"), 0, nullptr, 20., 20000., 20.);
	ParamValue normalized = -1.;
	ASSERT_TRUE (parameter.fromString (STR16 ("2000"), normalized));
	EXPECT_EQ (normalized, parameter.toNormalized (2000.));
	EXPECT_NEAR (parameter.toPlain (normalized), 2000., 0.05);
	ASSERT_TRUE (parameter.fromString (STR16 ("  440.5 Hz"), normalized));
	EXPECT_NEAR (parameter.toPlain (normalized), 440.5, 0.05);
}

TEST (LogParameter, FromStringRefusesTextWithoutANumberOrWithANonFiniteOne)
{
	LogParameter parameter (STR16 ("Freq"), 0, nullptr, 20., 20000., 20.);
	ParamValue normalized = 0.25;
	EXPECT_FALSE (parameter.fromString (STR16 ("abc"), normalized));
	EXPECT_FALSE (parameter.fromString (STR16 (""), normalized));
	EXPECT_FALSE (parameter.fromString (STR16 ("nan"), normalized));
	EXPECT_FALSE (parameter.fromString (STR16 ("inf"), normalized));
	EXPECT_EQ (normalized, 0.25);
}

TEST (LogParameter, FromStringKeepsTheNormalizedValueInsideZeroToOne)
{
	LogParameter parameter (STR16 ("Freq"), 0, nullptr, 20., 20000., 20.);
	ParamValue normalized = 0.;
	ASSERT_TRUE (parameter.fromString (STR16 ("1e9"), normalized));
	EXPECT_EQ (normalized, 1.);
	ASSERT_TRUE (parameter.fromString (STR16 ("-1e9"), normalized));
	EXPECT_GE (normalized, 0.);
	EXPECT_LE (normalized, 1.);
}

TEST (LogParameter, PrecisionSetsTheDecimalPlaces)
{
	LogParameter parameter (STR16 ("Freq"), 0, nullptr, 20., 20000., 20.);
	parameter.setPrecision (0);
	EXPECT_EQ (shown (parameter, 1.), u"20000");
	parameter.setPrecision (4);
	EXPECT_EQ (shown (parameter, 1.), u"20000.0000");
}

TEST (LogParameter, LongTitlesAreCutTo127Units)
{
	std::u16string longTitle (300, u'x');
	LogParameter parameter (reinterpret_cast<const TChar*> (longTitle.c_str ()), 0);
	EXPECT_EQ (text16 (parameter.getInfo ().title).size (), 127u);
}

TEST (VoltOctaveParameter, TenOctavesPutTheMiddleCloseTo640)
{
	VoltOctaveParameter parameter (STR16 ("Pitch"), 1, STR16 ("Hz"), 20., 20480., 640.);
	EXPECT_NEAR (parameter.toNormalized (640.), 0.5, 0.001);
	EXPECT_NEAR (parameter.getInfo ().defaultNormalizedValue, 0.5, 0.001);
	EXPECT_NEAR (parameter.toPlain (0.5), 640., 1.);
	EXPECT_NEAR (parameter.toNormalized (20.), 0., 0.0001);
	EXPECT_NEAR (parameter.toNormalized (20480.), 1., 0.0001);
}

TEST (VoltOctaveParameter, ToPlainFollowsTheFastApproximations)
{
	VoltOctaveParameter parameter (STR16 ("Pitch"), 1, nullptr, 20., 20480., 640.);
	const float p = 20.f * fastpow2 (fastlog2 (20480.f / 20.f) * 0.3f);
	const float fraction = static_cast<float> ((p - 20.) / (20480. - 20.));
	EXPECT_EQ (parameter.toPlain (0.3), 20. + (20480. - 20.) * fraction);
	EXPECT_EQ (parameter.toNormalized (1000.), fastlog2 (static_cast<float> (1000. / 20.)) /
	                                               fastlog2 (static_cast<float> (20480. / 20.)));
}

TEST (VoltOctaveParameter, EachOctaveTakesATenthOfTheRange)
{
	VoltOctaveParameter parameter (STR16 ("Pitch"), 1, nullptr, 20., 20480., 640.);
	double frequency = 20.;
	for (int octave = 0; octave <= 10; ++octave, frequency *= 2.)
	{
		EXPECT_NEAR (parameter.toNormalized (frequency), octave / 10., 0.0005) << frequency;
		EXPECT_NEAR (parameter.toPlain (octave / 10.) / frequency, 1., 0.0005) << frequency;
	}
}

TEST (VoltOctaveParameter, TextShowsAndReadsPlainValues)
{
	VoltOctaveParameter parameter (STR16 ("Pitch"), 1, nullptr, 20., 20480., 640.);
	parameter.setPrecision (1);
	EXPECT_EQ (shown (parameter, 0.), u"20.0");
	ParamValue normalized = 0.;
	ASSERT_TRUE (parameter.fromString (STR16 ("1280"), normalized));
	EXPECT_NEAR (normalized, 0.6, 0.001);
	EXPECT_FALSE (parameter.fromString (STR16 ("Hz"), normalized));
	ASSERT_TRUE (parameter.fromString (STR16 ("0"), normalized));
	EXPECT_GE (normalized, 0.);
	EXPECT_LE (normalized, 1.);
}

TEST (PeakParameter, StartsAtFullScaleWithAHalfDefault)
{
	PeakParameter parameter (ParameterInfo::kIsReadOnly, 4, STR16 ("Meter"));
	const ParameterInfo& info = parameter.getInfo ();
	EXPECT_EQ (text16 (info.title), u"Meter");
	EXPECT_EQ (info.id, 4u);
	EXPECT_EQ (info.flags, ParameterInfo::kIsReadOnly);
	EXPECT_EQ (info.stepCount, 0);
	EXPECT_EQ (info.unitId, 0);
	EXPECT_EQ (info.defaultNormalizedValue, 0.5);
	EXPECT_EQ (parameter.getNormalized (), 1.0);
}

TEST (PeakParameter, ShowsDecibelsAndMinusInfinityForSilence)
{
	PeakParameter parameter (ParameterInfo::kIsReadOnly, 4, STR16 ("Meter"));
	EXPECT_EQ (shown (parameter, 0.00005), u"-\u221E");
	EXPECT_EQ (shown (parameter, 0.0001), u"-\u221E");
	EXPECT_EQ (shown (parameter, 0.), u"-\u221E");
	EXPECT_EQ (shown (parameter, 1.0), u"0.000");
	EXPECT_EQ (shown (parameter, 0.5), u"-6.021");
	EXPECT_EQ (shown (parameter, 0.001), u"-60.000");
}

TEST (PeakParameter, TakesNoTextAndKeepsIdentityConversions)
{
	PeakParameter parameter (ParameterInfo::kIsReadOnly, 4, STR16 ("Meter"));
	ParamValue normalized = 0.7;
	EXPECT_FALSE (parameter.fromString (STR16 ("-6.0"), normalized));
	EXPECT_EQ (normalized, 0.7);
	EXPECT_EQ (parameter.toPlain (0.3), 0.3);
	EXPECT_EQ (parameter.toNormalized (0.8), 0.8);
}
