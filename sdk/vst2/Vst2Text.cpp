#include "Vst2Text.h"

#include <algorithm>
#include <cstring>

namespace Steinberg {
namespace Vst {
namespace Vst2Text {

void copyBytes (char* dst, int32_t size, const char* src)
{
	if (dst == nullptr || size <= 0)
		return;
	int32_t n = 0;
	if (src != nullptr)
	{
		while (n < size - 1 && src[n] != 0)
		{
			dst[n] = src[n];
			++n;
		}
	}
	dst[n] = 0;
}

namespace {

// Encodes one code point; returns the number of bytes written to out (1..4).
int32_t encodeUtf8 (uint32_t cp, char out[4])
{
	if (cp < 0x80)
	{
		out[0] = static_cast<char> (cp);
		return 1;
	}
	if (cp < 0x800)
	{
		out[0] = static_cast<char> (0xC0 | (cp >> 6));
		out[1] = static_cast<char> (0x80 | (cp & 0x3F));
		return 2;
	}
	if (cp < 0x10000)
	{
		out[0] = static_cast<char> (0xE0 | (cp >> 12));
		out[1] = static_cast<char> (0x80 | ((cp >> 6) & 0x3F));
		out[2] = static_cast<char> (0x80 | (cp & 0x3F));
		return 3;
	}
	out[0] = static_cast<char> (0xF0 | (cp >> 18));
	out[1] = static_cast<char> (0x80 | ((cp >> 12) & 0x3F));
	out[2] = static_cast<char> (0x80 | ((cp >> 6) & 0x3F));
	out[3] = static_cast<char> (0x80 | (cp & 0x3F));
	return 4;
}

} // namespace

void copyUtf16 (char* dst, int32_t size, const TChar* src)
{
	if (dst == nullptr || size <= 0)
		return;
	int32_t n = 0;
	if (src != nullptr)
	{
		for (int32_t i = 0; src[i] != 0; ++i)
		{
			uint32_t cp = static_cast<uint16_t> (src[i]);
			if (cp >= 0xD800 && cp <= 0xDBFF)
			{
				const uint32_t low = static_cast<uint16_t> (src[i + 1]);
				if (low >= 0xDC00 && low <= 0xDFFF)
				{
					cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
					++i;
				}
				else
					cp = 0xFFFD;
			}
			else if (cp >= 0xDC00 && cp <= 0xDFFF)
				cp = 0xFFFD;

			char bytes[4];
			const int32_t count = encodeUtf8 (cp, bytes);
			if (n + count > size - 1)
				break;
			std::memcpy (dst + n, bytes, static_cast<size_t> (count));
			n += count;
		}
	}
	dst[n] = 0;
}

void toUtf16 (TChar* dst, int32_t dstSize, const char* src)
{
	if (dst == nullptr || dstSize <= 0)
		return;
	int32_t n = 0;
	const auto* s = reinterpret_cast<const unsigned char*> (src != nullptr ? src : "");
	while (*s != 0 && n < dstSize - 1)
	{
		uint32_t cp = 0xFFFD;
		int32_t follow = 0;
		if (*s < 0x80)
			cp = *s;
		else if ((*s & 0xE0) == 0xC0)
		{
			cp = *s & 0x1F;
			follow = 1;
		}
		else if ((*s & 0xF0) == 0xE0)
		{
			cp = *s & 0x0F;
			follow = 2;
		}
		else if ((*s & 0xF8) == 0xF0)
		{
			cp = *s & 0x07;
			follow = 3;
		}
		++s;
		for (int32_t k = 0; k < follow; ++k)
		{
			if ((*s & 0xC0) != 0x80)
			{
				cp = 0xFFFD;
				break;
			}
			cp = (cp << 6) | (*s & 0x3F);
			++s;
		}
		if (cp >= 0x10000)
		{
			if (n + 2 > dstSize - 1)
				break;
			cp -= 0x10000;
			dst[n++] = static_cast<TChar> (0xD800 + (cp >> 10));
			dst[n++] = static_cast<TChar> (0xDC00 + (cp & 0x3FF));
		}
		else
			dst[n++] = static_cast<TChar> (cp);
	}
	dst[n] = 0;
}

void makeUnique (std::vector<std::string>& names, int32_t size)
{
	const size_t room = size > 1 ? static_cast<size_t> (size - 1) : 0;
	std::vector<std::string> taken;
	const auto isTaken = [&] (const std::string& name) {
		return std::find (taken.begin (), taken.end (), name) != taken.end ();
	};
	// A number is never given a name that another parameter has as its own.
	const auto isSomeonesOwn = [&] (const std::string& name) {
		return std::find (names.begin (), names.end (), name) != names.end ();
	};
	for (std::string& name : names)
	{
		if (isTaken (name))
		{
			const std::string base = name;
			for (int number = 2;; ++number)
			{
				const std::string digits = std::to_string (number);
				if (digits.size () > room)
					break;
				size_t keep = std::min (base.size (), room - digits.size ());
				// Not inside a UTF-8 sequence.
				while (keep > 0 && (static_cast<unsigned char> (base[keep]) & 0xC0) == 0x80)
					--keep;
				const std::string candidate = base.substr (0, keep) + digits;
				if (!isTaken (candidate) && !isSomeonesOwn (candidate))
				{
					name = candidate;
					break;
				}
			}
		}
		taken.push_back (name);
	}
}

} // namespace Vst2Text
} // namespace Vst
} // namespace Steinberg
