// tarnwick-artwork: writes the editor's bitmaps into a folder, the background and the
// switches also at twice the resolution for HiDPI screens ("codeback.png" and
// "codeback_2x.png"), the knob strips at 1x only.
//   tarnwick-artwork OUTPUT_DIR FONT_DIR [--preview FILE]
// The output depends only on this program and the font files, byte for byte.
#include "BackgroundPainter.h"
#include "Canvas.h"
#include "EditorLayout.h"
#include "Fonts.h"
#include "KnobPainter.h"
#include "SwitchPainter.h"

#include <cstdio>
#include <cstring>
#include <string>

using namespace Tarnwick::Artwork;

// Pixels per unit of the representations written, and their file name suffixes.
struct Representation
{
	int scale;
	const char* suffix;
};
static const Representation kRepresentations[] = {{1, ""}, {2, "_2x"}};

static std::string fileName (const std::string& dir, const std::string& name, const Representation& r)
{
	return dir + "/" + name + r.suffix + ".png";
}

static bool writeBackground (const Fonts& fonts, const std::string& dir, const Representation& r)
{
	Canvas image (kEditorWidth, kEditorHeight, r.scale);
	return BackgroundPainter (fonts).paint (image) && image.writePng (fileName (dir, "codeback", r));
}

// One strip per knob width: knobs of the same width share their file (the editor looks a
// knob's strip up by its width). Only at 1x: beyond it the editor draws the frames itself
// with this painter, at the screen's resolution, and the spare strip of the bitmap
// table (placed nowhere) at every scale.
static bool writeKnobStrips(const std::string& dir)
{
    for (int i = 0; i < kPlacementCount; ++i)
    {
        const ControlPlacement& p = kPlacements[i];
        if (p.kind != ControlKind::Knob || sharedKnobStrip(i) != i)
            continue;
        Canvas strip(p.width, p.width * kKnobFrames);
        KnobPainter::paintStrip(strip.context(), p.width, kKnobFrames, kKnobStartDegrees, kKnobSweepDegrees);
        if (!strip.ok() || !strip.writePng(fileName(dir, p.bitmapName, kRepresentations[0])))
            return false;
	}
    return true;
}

static bool writeSwitches (const Fonts& fonts, const std::string& dir, const Representation& r)
{
	SwitchPainter painter (fonts);
	for (const SwitchArt& art : kSwitches)
	{
		Canvas image (art.width, art.height, r.scale);
		if (!painter.paint (image, art) || !image.writePng (fileName (dir, art.bitmapName, r)))
			return false;
	}
	return true;
}

// The whole window as the editor shows it, knobs at a few different settings:
// for looking at the artwork without building the plug-in.
static bool writePreview (const Fonts& fonts, const std::string& file)
{
	Canvas window (kEditorWidth, kEditorHeight);
	if (!BackgroundPainter (fonts).paint (window))
		return false;
	int n = 0;
	for (const ControlPlacement& p : kPlacements)
	{
		if (p.kind == ControlKind::Knob)
		{
			const int frame = (n * 37 + 20) % kKnobFrames;
			++n;
			KnobPainter::paintFrame (window.context (), p.x, p.y, p.width,
			                         KnobPainter::frameAngle (frame, kKnobFrames, kKnobStartDegrees, kKnobSweepDegrees));
			continue;
		}
        if (p.kind != ControlKind::Switch)
            continue;
        for (const SwitchArt& art : kSwitches)
		{
			if (std::strcmp (art.bitmapName, p.bitmapName) != 0)
				continue;
			Canvas image (art.width, art.height);
			if (!SwitchPainter (fonts).paint (image, art))
				return false;
			// Show the first switch in its second state, the other in its first.
			const int state = (p.x == 0) ? 1 : 0;
			cairo_t* cr = window.context ();
			cairo_save (cr);
			cairo_rectangle (cr, p.x, p.y, p.width, p.height);
			cairo_clip (cr);
			cairo_set_source_surface (cr, image.surface (), p.x, p.y - state * (art.height / 2));
			cairo_paint (cr);
			cairo_restore (cr);
		}
	}
	return window.writePng (file);
}

int main (int argc, char* argv[])
{
	if (argc != 3 && argc != 5)
	{
		std::fprintf (stderr, "usage: %s OUTPUT_DIR FONT_DIR [--preview FILE]\n", argv[0]);
		return 2;
	}
	const std::string dir = argv[1];
	Fonts fonts (argv[2]);
	if (!fonts.ok ())
	{
		std::fprintf (stderr, "tarnwick-artwork: cannot load the DejaVu fonts from %s\n", argv[2]);
		return 1;
	}
	if (argc == 5)
	{
		if (std::strcmp (argv[3], "--preview") != 0 || !writePreview (fonts, argv[4]))
		{
			std::fprintf (stderr, "tarnwick-artwork: cannot write the preview\n");
			return 1;
		}
	}
	for (const Representation& r : kRepresentations)
	{
        if (!writeBackground(fonts, dir, r) || (r.scale == 1 && !writeKnobStrips(dir)) || !writeSwitches(fonts, dir, r))
        {
			std::fprintf (stderr, "tarnwick-artwork: cannot write the bitmaps into %s\n", dir.c_str ());
			return 1;
		}
	}
	return 0;
}
