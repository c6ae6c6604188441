// The saved state's bytes, the same for every plug-in format: a little-endian
// stream of the version, each control's value in its variable's type, the bypass
// flag and the joystick position. Read as a whole and checked before anything is
// applied, so that a truncated, corrupt or foreign stream changes nothing.
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
	// Writes the current state of effect (version 1). controlValues, when given, holds the plain
	// value to save for each control by position instead of the effect's own.
	static bool write (StateByteWriter& writer, const CPlugIn& effect, bool bypass,
	                   const float* controlValues = nullptr);

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
