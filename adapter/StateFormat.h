// The saved state's bytes, the same for every plug-in format: a little-endian
// stream of the version, each control's value in its variable's type, the bypass
// flag and the joystick position. Read as a whole and checked before anything is
// applied, so that a truncated, corrupt or foreign stream changes nothing.
//
// The first part (58 bytes for this product) is laid out as the first release wrote it, with
// its version field 1, so that builds from before the tail read a newer state's first part and
// ignore the rest. The tail that follows starts with its own version (2 today) and holds, in
// order: the controls beyond those the first part holds (by variable type, as there), then the
// adapter's host values (kHostValueCount float32, normalized). A later version appends after
// these. A stream without the tail restores those controls and values to their defaults.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CPlugIn;

namespace Vire2VUR3 {

// Where the bytes come from and go to (a host's stream, a memory block).
class StateByteReader
{
public:
	virtual ~StateByteReader () = default;
	// True only when all `size` bytes were read.
	virtual bool read (void* data, std::size_t size) = 0;
};

class StateByteWriter
{
public:
	virtual ~StateByteWriter () = default;
	virtual bool write (const void* data, std::size_t size) = 0;
};

class StateImage
{
public:
	// Host parameters of the adapter that are not controls but are saved (normalized): the three
	// assign buttons, then the eight MIDI controller parameters by id (2048..2055). A format that
	// has none of them saves their defaults (0).
	static constexpr int kHostValueCount = 11;
	static constexpr int32_t kTailVersion = 2;

	// Writes the current state of effect. controlValues, when given, holds the plain value to save
	// for each control by position instead of the effect's own; hostValues the kHostValueCount
	// host values (zeros when null).
	static bool write (StateByteWriter& writer, const CPlugIn& effect, bool bypass,
	                   const float* controlValues = nullptr, const float* hostValues = nullptr);

	// Reads a whole stream laid out for effect's controls. False, with this
	// object left unusable, for a short or unknown stream or a value that is
	// not a number. Values outside a control's range are clamped into it; the
	// joystick position into -1..1.
	bool read (StateByteReader& reader, const CPlugIn& effect);

	// Writes what was read into the effect: control values at once (no gliding),
	// then the joystick when the stream carried it. The bypass flag is the adapter's.
	void applyTo (CPlugIn& effect) const;

	int64_t version = 0;
	// One entry per position; hasValue is false where the control is missing
	// or its variable type has no field.
	std::vector<double> controlValues;
	std::vector<bool> hasValue;
	bool bypass = false;
	// Only version 1 and later carry the joystick.
	bool hasJoystick = false;
	float joystickX = 0.f;
	float joystickY = 0.f;
	// The tail's version (0 when the stream ends after the first part).
	int32_t tailVersion = 0;
	// True when the tail came from a later version, whose further fields were left unread.
	bool hasUnreadFields = false;
	// The adapter's host values (version 1 and later; their defaults when there is no tail).
	bool hasHostValues = false;
	float hostValues[kHostValueCount] = {};
};

// A reader over a block of memory.
class MemoryStateReader : public StateByteReader
{
public:
	MemoryStateReader (const void* data, std::size_t size) : data (static_cast<const uint8_t*> (data)), left (size) {}
	bool read (void* out, std::size_t size) override;
	bool atEnd () const { return left == 0; }

private:
	const uint8_t* data;
	std::size_t left;
};

// A writer into a growing byte vector.
class MemoryStateWriter : public StateByteWriter
{
public:
	bool write (const void* data, std::size_t size) override;
	std::vector<uint8_t> bytes;
};

} // namespace Vire2VUR3
