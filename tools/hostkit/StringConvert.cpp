#include "hostkit/StringConvert.h"

namespace Tarnwick {
namespace HostKit {

std::string toUtf8 (const Steinberg::char16* text)
{
	std::string out;
	if (text == nullptr)
		return out;
	for (size_t i = 0; text[i] != 0; ++i)
	{
		char32_t c = static_cast<char16_t> (text[i]);
		if (c >= 0xD800 && c <= 0xDBFF && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
		{
			c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t> (text[i + 1]) - 0xDC00);
			++i;
		}
		if (c < 0x80)
			out += static_cast<char> (c);
		else if (c < 0x800)
		{
			out += static_cast<char> (0xC0 | (c >> 6));
			out += static_cast<char> (0x80 | (c & 0x3F));
		}
		else if (c < 0x10000)
		{
			out += static_cast<char> (0xE0 | (c >> 12));
			out += static_cast<char> (0x80 | ((c >> 6) & 0x3F));
			out += static_cast<char> (0x80 | (c & 0x3F));
		}
		else
		{
			out += static_cast<char> (0xF0 | (c >> 18));
			out += static_cast<char> (0x80 | ((c >> 12) & 0x3F));
			out += static_cast<char> (0x80 | ((c >> 6) & 0x3F));
			out += static_cast<char> (0x80 | (c & 0x3F));
		}
	}
	return out;
}

std::u16string toUtf16 (const std::string& text)
{
	std::u16string out;
	size_t i = 0;
	while (i < text.size ())
	{
		const unsigned char lead = static_cast<unsigned char> (text[i]);
		char32_t c = 0;
		size_t extra = 0;
		if (lead < 0x80)
			c = lead;
		else if ((lead & 0xE0) == 0xC0)
			c = lead & 0x1F, extra = 1;
		else if ((lead & 0xF0) == 0xE0)
			c = lead & 0x0F, extra = 2;
		else if ((lead & 0xF8) == 0xF0)
			c = lead & 0x07, extra = 3;
		else
			c = 0xFFFD;
		++i;
		for (size_t k = 0; k < extra; ++k, ++i)
		{
			if (i >= text.size () || (static_cast<unsigned char> (text[i]) & 0xC0) != 0x80)
			{
				c = 0xFFFD;
				break;
			}
			c = (c << 6) | (static_cast<unsigned char> (text[i]) & 0x3F);
		}
		if (c >= 0x10000)
		{
			c -= 0x10000;
			out += static_cast<char16_t> (0xD800 + (c >> 10));
			out += static_cast<char16_t> (0xDC00 + (c & 0x3FF));
		}
		else
			out += static_cast<char16_t> (c);
	}
	return out;
}

} // namespace HostKit
} // namespace Tarnwick
