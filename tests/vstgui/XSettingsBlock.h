// Builds the settings block an XSETTINGS manager publishes (_XSETTINGS_SETTINGS):
// for tests of the reader and for a test X server that announces a desktop scale.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace XSettingsTest {

class Block
{
public:
	explicit Block (bool bigEndian = false) : bigEndian (bigEndian) {}

	Block& integer (const std::string& name, int32_t value)
	{
		header (0, name);
		card32 (static_cast<uint32_t> (value));
		++count;
		return *this;
	}
	Block& text (const std::string& name, const std::string& value)
	{
		header (1, name);
		card32 (static_cast<uint32_t> (value.size ()));
		bytes (value);
		++count;
		return *this;
	}
	Block& colour (const std::string& name)
	{
		header (2, name);
		for (int i = 0; i < 4; ++i)
			card16 (0x8000);
		++count;
		return *this;
	}

	std::vector<unsigned char> data () const
	{
		Block head (bigEndian);
		head.out.push_back (bigEndian ? 1 : 0);
		head.out.insert (head.out.end (), 3, 0);
		head.card32 (7); // serial
		head.card32 (count);
		std::vector<unsigned char> result = head.out;
		result.insert (result.end (), out.begin (), out.end ());
		return result;
	}

private:
	void header (uint8_t type, const std::string& name)
	{
		out.push_back (type);
		out.push_back (0);
		card16 (static_cast<uint16_t> (name.size ()));
		bytes (name);
		card32 (0); // last change
	}
	void bytes (const std::string& s)
	{
		out.insert (out.end (), s.begin (), s.end ());
		out.insert (out.end (), (4 - s.size () % 4) % 4, 0);
	}
	void card16 (uint16_t v)
	{
		const unsigned char b[2] = {static_cast<unsigned char> (v & 0xFF), static_cast<unsigned char> (v >> 8)};
		out.push_back (bigEndian ? b[1] : b[0]);
		out.push_back (bigEndian ? b[0] : b[1]);
	}
	void card32 (uint32_t v)
	{
		for (int i = 0; i < 4; ++i)
			out.push_back (static_cast<unsigned char> (v >> (bigEndian ? 24 - 8 * i : 8 * i)));
	}

	bool bigEndian;
	uint32_t count {0};
	std::vector<unsigned char> out;
};

} // namespace XSettingsTest
