// A meter that is either an LED meter (off image behind, the lit part of the on
// image over it; two LEDs make a lamp) or an analog meter (one frame of a strip of
// needle images), with envelope ballistics.
#pragma once

#include "EnvelopeDetector.h"

#include "vstgui/lib/controls/cvumeter.h"

namespace VSTGUI {

class CVuMeterVx : public CVuMeter
{
public:
	CVuMeterVx (const CRect& size, CBitmap* onBitmap, CBitmap* offBitmap, int32_t nbLed, bool inverted, bool analog,
	            int32_t style = kVertical);
	~CVuMeterVx () override;

	void draw (CDrawContext* context) override;

	bool isInverted () const { return inverted; }
	bool isAnalog () const { return analog; }
	void setFrameHeight (double h) { frameHeight = h; }
	double getFrameHeight () const { return frameHeight; }
	void setFrameCount (double n) { frameCount = n; }
	double getFrameCount () const { return frameCount; }
	void setRestFrame (double z) { restFrame = z; }
	double getRestFrame () const { return restFrame; }
	EnvelopeDetector& getDetector () { return detector; }

	// Source row of the analog strip shown for a detector output d.
	int32_t analogSourceRow (float d) const;
	// Lit extent in pixels of an LED meter of the given extent at a fraction.
	int32_t litExtent (float fraction, CCoord extent) const;

private:
	void drawAnalog (CDrawContext* context);
	void drawLeds (CDrawContext* context);

	bool inverted;
	bool analog;
	double restFrame {52.0};
	double frameHeight {65.0};
	double frameCount {80.0};
	EnvelopeDetector detector;
};

} // namespace VSTGUI
