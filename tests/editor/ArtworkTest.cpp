// The bitmap generator: file format, sizes, frame order and byte-identical output.
#include "EditorLayout.h"
#include "KnobPainter.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace Tarnwick::Artwork;

namespace {

std::vector<unsigned char> readFile (const std::string& path)
{
	std::ifstream in (path, std::ios::binary);
	return std::vector<unsigned char> ((std::istreambuf_iterator<char> (in)), std::istreambuf_iterator<char> ());
}

uint32_t bigEndian32 (const std::vector<unsigned char>& b, size_t at)
{
	return (uint32_t (b[at]) << 24) | (uint32_t (b[at + 1]) << 16) | (uint32_t (b[at + 2]) << 8) | uint32_t (b[at + 3]);
}

struct PngHeader
{
	bool valid = false;
	uint32_t width = 0, height = 0;
	int bitDepth = 0, colourType = 0;
};

PngHeader readHeader (const std::string& path)
{
	PngHeader h;
	const std::vector<unsigned char> b = readFile (path);
	static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
	if (b.size () < 33 || !std::equal (signature, signature + 8, b.begin ()))
		return h;
	if (b[12] != 'I' || b[13] != 'H' || b[14] != 'D' || b[15] != 'R')
		return h;
	h.valid = true;
	h.width = bigEndian32 (b, 16);
	h.height = bigEndian32 (b, 20);
	h.bitDepth = b[24];
	h.colourType = b[25];
	return h;
}

std::string runGenerator (const std::string& name)
{
	const std::string dir = std::string (TARNWICK_TEST_SCRATCH) + "/" + name;
	const std::string command = "rm -rf '" + dir + "' && mkdir -p '" + dir + "' && '" TARNWICK_ARTWORK_EXE "' '" + dir +
	                            "' '" TARNWICK_DEJAVU_DIR "'";
	EXPECT_EQ (std::system (command.c_str ()), 0) << command;
	return dir;
}

// The background and the switches at 1x and 2x; one knob strip per knob width, at 1x only
// (the editor paints knob frames beyond 1x).
std::vector<std::string> expectedFiles ()
{
    std::vector<std::string> files = {"codeback.png", "codeback_2x.png"};
    for (int i = 0; i < kPlacementCount; ++i)
    {
        const ControlPlacement& p = kPlacements[i];
        if (p.kind == ControlKind::Switch)
        {
            files.push_back(std::string(p.bitmapName) + ".png");
            files.push_back(std::string(p.bitmapName) + "_2x.png");
        }
        else if (p.kind == ControlKind::Knob && sharedKnobStrip(i) == i)
            files.push_back(std::string(p.bitmapName) + ".png");
    }
	return files;
}

// The images the build drew into the bundle.
class ArtworkTest : public ::testing::Test
{
protected:
	static std::string file (const std::string& name) { return std::string (TARNWICK_BUNDLE_RESOURCES) + "/" + name; }
};

struct Image
{
	cairo_surface_t* surface;
	explicit Image (const std::string& path) : surface (cairo_image_surface_create_from_png (path.c_str ())) {}
    explicit Image(cairo_surface_t* s)
        : surface(s)
    {
    }
    ~Image () { cairo_surface_destroy (surface); }
	bool ok () const { return cairo_surface_status (surface) == CAIRO_STATUS_SUCCESS; }
	int width () const { return cairo_image_surface_get_width (surface); }
	int height () const { return cairo_image_surface_get_height (surface); }
	uint32_t pixel (int x, int y) const
	{
		const unsigned char* data = cairo_image_surface_get_data (surface);
		const int stride = cairo_image_surface_get_stride (surface);
		return reinterpret_cast<const uint32_t*> (data + y * stride)[x];
	}
	int alpha (int x, int y) const { return int (pixel (x, y) >> 24); }
};

// Counts strongly orange pixels (the lit value arc) in one knob frame.
int amberPixels (const Image& strip, int frame, int size)
{
	int count = 0;
	for (int y = frame * size; y < (frame + 1) * size; ++y)
		for (int x = 0; x < size; ++x)
		{
			const uint32_t p = strip.pixel (x, y);
			const int a = int (p >> 24), r = int ((p >> 16) & 0xFF), g = int ((p >> 8) & 0xFF), b = int (p & 0xFF);
			if (a > 200 && r > 150 && r > g + 40 && g > b + 30)
				++count;
		}
	return count;
}

} // namespace

TEST_F (ArtworkTest, WritesEveryBitmapAsEightBitRgba)
{
	for (const std::string& name : expectedFiles ())
	{
		const PngHeader h = readHeader (file (name));
		ASSERT_TRUE (h.valid) << name;
		EXPECT_EQ (h.bitDepth, 8) << name;
		EXPECT_EQ (h.colourType, 6) << name; // RGBA
	}
}

TEST_F (ArtworkTest, BitmapsHaveTheLayoutSizes)
{
	struct Size
	{
		const char* file;
		uint32_t w, h;
    } sizes[] = {
        {"codeback.png", 485, 270}, {"delaystate.png", 96, 98}, {"active.png", 80, 104},
        {"cutk.png", 78, 10530},    {"offsetk.png", 80, 10800}, {"ratiok.png", 87, 11745},
        {"resk.png", 76, 10260},    {"fdbk.png", 84, 11340},    {"wdk.png", 79, 10665},
    };
    for (const Size& s : sizes)
	{
		const PngHeader h = readHeader (file (s.file));
		ASSERT_TRUE (h.valid) << s.file;
		EXPECT_EQ (h.width, s.w) << s.file;
		EXPECT_EQ (h.height, s.h) << s.file;
		std::string twice = s.file;
		twice.insert (twice.size () - 4, "_2x");
        const bool knob = s.h > 2 * s.w;
        if (knob)
        {
            EXPECT_FALSE(readHeader(file(twice)).valid) << twice << ": knob frames beyond 1x are painted";
            continue;
        }
        const PngHeader h2 = readHeader (file (twice));
		ASSERT_TRUE (h2.valid) << twice;
		EXPECT_EQ (h2.width, 2 * s.w) << twice;
		EXPECT_EQ (h2.height, 2 * s.h) << twice;
	}
}

namespace {

int channel (uint32_t p, int shift)
{
	return int ((p >> shift) & 0xFF);
}

// How the 2x image compares with the 1x one over rows [top, bottom) of the 1x image:
// the mean channel difference after shrinking it by 2 x 2 averages, and the share of its
// pixels clearly unlike the 1x image enlarged pixel by pixel.
void compareTwice (const Image& single, const Image& twice, int top, int bottom, double& shrunkDifference,
                   double& unlikeEnlarged)
{
	double total = 0.;
	int unlike = 0;
	for (int y = top; y < bottom; ++y)
		for (int x = 0; x < single.width (); ++x)
		{
			const uint32_t one = single.pixel (x, y);
			for (int k = 0; k < 4; ++k)
			{
				const uint32_t two = twice.pixel (2 * x + k % 2, 2 * y + k / 2);
				for (int shift : {0, 8, 16, 24})
				{
					if (std::abs (channel (two, shift) - channel (one, shift)) > 24)
					{
						++unlike;
						break;
					}
				}
			}
			for (int shift : {0, 8, 16, 24})
			{
				int sum = 0;
				for (int k = 0; k < 4; ++k)
					sum += channel (twice.pixel (2 * x + k % 2, 2 * y + k / 2), shift);
				total += std::abs ((sum + 2) / 4 - channel (one, shift));
			}
		}
	const double pixels = double (single.width ()) * (bottom - top);
	shrunkDifference = total / (4. * pixels);
	unlikeEnlarged = unlike / (4. * pixels);
}

} // namespace

TEST_F (ArtworkTest, TwiceTheResolutionIsTheSameDrawingNotAnEnlargement)
{
	struct Case
	{
		const char* name;
		int top, bottom; // rows of the 1x image compared
    } cases[] = {{"codeback", 0, 270}, {"active", 0, 104}, {"delaystate", 0, 98}};
    for (const Case& c : cases)
	{
		Image single (file (std::string (c.name) + ".png"));
		Image twice (file (std::string (c.name) + "_2x.png"));
		ASSERT_TRUE (single.ok () && twice.ok ()) << c.name;
		double shrunk = 0., unlike = 0.;
		compareTwice (single, twice, c.top, c.bottom, shrunk, unlike);
		EXPECT_LT (shrunk, 3.) << c.name;
		EXPECT_GT (unlike, 0.01) << c.name;
	}
    // The knob frames the editor paints at 2x against the strip's frames at 1x.
    Image strip(file("cutk.png"));
    ASSERT_TRUE(strip.ok());
    Image painted(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 78 * 2, 78 * 2 * kKnobFrames));
    cairo_t* cr = cairo_create(painted.surface);
    cairo_scale(cr, 2., 2.);
    KnobPainter::paintStrip(cr, 78, kKnobFrames, kKnobStartDegrees, kKnobSweepDegrees);
    cairo_destroy(cr);
    cairo_surface_flush(painted.surface);
    for (int first : {0, 100})
    {
        double shrunk = 0., unlike = 0.;
        compareTwice(strip, painted, 78 * first, 78 * (first + 3), shrunk, unlike);
        EXPECT_LT(shrunk, 3.) << first;
        EXPECT_GT(unlike, 0.01) << first;
    }
}

TEST_F (ArtworkTest, AnotherRunWritesIdenticalBytes)
{
	const std::string second = runGenerator ("again");
    // Nothing more: no file the editor does not read, no two files of the same bytes.
    const std::string list = second + "/../written.txt";
    ASSERT_EQ(std::system(("ls '" + second + "' > '" + list + "'").c_str()), 0);
    std::ifstream written(list);
    std::vector<std::string> names;
    for (std::string name; std::getline(written, name);)
        names.push_back(name);
    std::vector<std::string> expected = expectedFiles();
    std::sort(expected.begin(), expected.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, expected);
    for (size_t i = 0; i < expected.size(); ++i)
        for (size_t j = i + 1; j < expected.size(); ++j)
            EXPECT_FALSE(readFile(second + "/" + expected[i]) == readFile(second + "/" + expected[j]))
                << expected[i] << " and " << expected[j];
    for (const std::string& name : expectedFiles ())
	{
		const std::vector<unsigned char> a = readFile (file (name));
		const std::vector<unsigned char> b = readFile (second + "/" + name);
		ASSERT_FALSE (a.empty ()) << name;
		EXPECT_TRUE (a == b) << name << " differs between runs";
	}
}

TEST_F (ArtworkTest, BackgroundIsOpaque)
{
	Image back (file ("codeback.png"));
	ASSERT_TRUE (back.ok ());
	for (int y = 0; y < back.height (); ++y)
		for (int x = 0; x < back.width (); ++x)
			ASSERT_EQ (back.alpha (x, y), 255) << x << ", " << y;
}

TEST_F (ArtworkTest, KnobFramesLetTheBackgroundShowInTheCorners)
{
    for (int i = 0; i < kPlacementCount; ++i)
    {
        const ControlPlacement& p = kPlacements[i];
        if (p.kind != ControlKind::Knob || sharedKnobStrip(i) != i)
            continue;
		Image strip (file (std::string (p.bitmapName) + ".png"));
		ASSERT_TRUE (strip.ok ());
		for (int frame : {0, 67, kKnobFrames - 1})
		{
			const int top = frame * p.width;
			EXPECT_EQ (strip.alpha (0, top), 0) << p.bitmapName;
			EXPECT_EQ (strip.alpha (p.width - 1, top + p.width - 1), 0) << p.bitmapName;
			EXPECT_EQ (strip.alpha (p.width / 2, top + p.width / 2), 255) << p.bitmapName; // the cap is solid
		}
	}
}

TEST_F (ArtworkTest, ValueArcGrowsFromFirstToLastFrame)
{
	Image strip (file ("cutk.png"));
	ASSERT_TRUE (strip.ok ());
	const int size = 78;
	EXPECT_EQ (amberPixels (strip, 0, size), 0);
	int previous = 0;
	for (int frame = 10; frame < kKnobFrames; frame += 10)
	{
		const int lit = amberPixels (strip, frame, size);
		EXPECT_GT (lit, previous) << "frame " << frame;
		previous = lit;
	}
	EXPECT_GT (amberPixels (strip, kKnobFrames - 1, size), previous);
}

TEST_F (ArtworkTest, PointerSweepsFromLowerLeftToLowerRight)
{
	// The pointer is cream; find its far end in the first, middle and last frames.
    Image strip(file("ratiok.png"));  // the strip of "Delay" too
    ASSERT_TRUE (strip.ok ());
	const int size = 87;
	auto pointerCentroid = [&] (int frame, double& cx, double& cy) {
		double sx = 0, sy = 0;
		int n = 0;
		for (int y = 0; y < size; ++y)
			for (int x = 0; x < size; ++x)
			{
				const uint32_t p = strip.pixel (x, frame * size + y);
				const int r = int ((p >> 16) & 0xFF), g = int ((p >> 8) & 0xFF), b = int (p & 0xFF);
				if (int (p >> 24) == 255 && r > 215 && g > 205 && b > 185)
				{
					sx += x;
					sy += y;
					++n;
				}
			}
		ASSERT_GT (n, 10);
		cx = sx / n - size * 0.5;
		cy = sy / n - size * 0.5;
	};
	double x = 0., y = 0.;
	pointerCentroid (0, x, y);
	EXPECT_NEAR (std::atan2 (x, -y) * 180.0 / M_PI, -135.0, 6.0);
	pointerCentroid (67, x, y);
	EXPECT_NEAR (std::atan2 (x, -y) * 180.0 / M_PI, 0.0, 6.0);
	pointerCentroid (kKnobFrames - 1, x, y);
	EXPECT_NEAR (std::atan2 (x, -y) * 180.0 / M_PI, 135.0, 6.0);
}

TEST_F (ArtworkTest, SwitchStatesDiffer)
{
	for (const SwitchArt& art : kSwitches)
	{
		Image image (file (std::string (art.bitmapName) + ".png"));
		ASSERT_TRUE (image.ok ());
		const int half = art.height / 2;
		int differing = 0;
		for (int y = 0; y < half; ++y)
			for (int x = 0; x < art.width; ++x)
				if (image.pixel (x, y) != image.pixel (x, y + half))
					++differing;
		EXPECT_GT (differing, art.width * 4) << art.bitmapName;
	}
}

TEST (ArtworkGenerator, FailsWithoutFonts)
{
	const std::string dir = std::string (TARNWICK_TEST_SCRATCH) + "/nofonts";
	const std::string command =
	    "mkdir -p '" + dir + "' && '" TARNWICK_ARTWORK_EXE "' '" + dir + "' /nonexistent/fonts 2>/dev/null";
	EXPECT_NE (std::system (command.c_str ()), 0);
	struct stat st;
	EXPECT_NE (stat ((dir + "/codeback.png").c_str (), &st), 0);
}
