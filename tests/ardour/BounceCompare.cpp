// Compares the bounces of one channel from an Ardour session test:
//   tarnwick-bounce-compare DRY BEFORE AFTER
// BEFORE (rendered before saving) and AFTER (rendered after reloading) must hold the same
// samples, bit for bit; BEFORE must be finite, not silent, and differ from DRY (the track
// without the plug-in), so that the plug-in is known to have processed it.
//   tarnwick-bounce-compare --echo-at FRAME FILE...
// Each FILE (the wet bounce of an impulse at frame 0) must be silent up to its first echo, and
// that echo's peak must lie within two frames of FRAME (the low-pass smears it over a few).
#include "SoundFile.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using Tarnwick::Render::AudioClip;

namespace {

bool read (const char* path, AudioClip& clip)
{
	std::string error;
	if (Tarnwick::Render::readSoundFile (path, clip, error))
		return true;
	std::fprintf (stderr, "%s: %s\n", path, error.c_str ());
	return false;
}

// Index of the first frame whose sample bits differ, or -1.
long firstDifference (const std::vector<float>& a, const std::vector<float>& b)
{
	for (size_t i = 0; i < a.size () && i < b.size (); ++i)
		if (std::memcmp (&a[i], &b[i], sizeof (float)) != 0)
			return static_cast<long> (i);
	return a.size () == b.size () ? -1 : static_cast<long> (std::min (a.size (), b.size ()));
}

// The frame of the first echo's peak: the loudest of the few frames from the first audible one.
long firstEchoPeak(const std::vector<float>& samples, float peak)
{
    const float audible = peak * 1e-3f;
    size_t first = 0;
    while (first < samples.size() && std::fabs(samples[first]) <= audible)
        ++first;
    if (first == samples.size())
        return -1;
    size_t loudest = first;
    for (size_t i = first; i < samples.size() && i < first + 8; ++i)
        if (std::fabs(samples[i]) > std::fabs(samples[loudest]))
            loudest = i;
    return static_cast<long>(loudest);
}

int checkEchoes(long expected, int count, char** paths)
{
    int status = 0;
    for (int i = 0; i < count; ++i)
    {
        AudioClip clip;
        if (!read(paths[i], clip))
            return 1;
        const float peak = clip.channelCount() == 1 ? Tarnwick::Render::peakLevel(clip) : 0.f;
        const long echo =
            peak > 0.f && Tarnwick::Render::allSamplesFinite(clip) ? firstEchoPeak(clip.channels[0], peak) : -1;
        const bool ok = echo >= 0 && std::labs(echo - expected) <= 2;
        std::printf("%s: first echo at frame %ld (expected %ld)%s\n", paths[i], echo, expected, ok ? "" : ": WRONG");
        if (!ok)
            status = 1;
    }
    return status;
}

} // namespace

int main (int argc, char** argv)
{
	if (argc >= 4 && std::strcmp (argv[1], "--echo-at") == 0)
		return checkEchoes (std::atol (argv[2]), argc - 3, argv + 3);
	if (argc != 4)
	{
		std::fprintf (stderr, "usage: %s DRY BEFORE AFTER\n", argv[0]);
		return 2;
	}
	AudioClip dry, before, after;
	if (!read (argv[1], dry) || !read (argv[2], before) || !read (argv[3], after))
		return 1;
	if (before.frameCount () == 0 || before.channelCount () != 1 || after.channelCount () != 1 ||
	    dry.channelCount () != 1)
	{
		std::fprintf (stderr, "expected three mono files with audio\n");
		return 1;
	}
	if (!Tarnwick::Render::allSamplesFinite (before) || Tarnwick::Render::peakLevel (before) == 0.f)
	{
		std::fprintf (stderr, "%s: silent or not finite\n", argv[2]);
		return 1;
	}
	if (firstDifference (before.channels[0], dry.channels[0]) < 0)
	{
		std::fprintf (stderr, "%s: the same as the dry track; the plug-in did nothing\n", argv[2]);
		return 1;
	}
	const long difference = firstDifference (before.channels[0], after.channels[0]);
	if (before.sampleRate != after.sampleRate || difference >= 0)
	{
		std::fprintf (stderr, "%s and %s differ (rates %d, %d; first frame %ld)\n", argv[2], argv[3],
		              before.sampleRate, after.sampleRate, difference);
		return 1;
	}
	std::printf ("%s: %zu frames came back unchanged\n", argv[3], after.frameCount ());
	return 0;
}
