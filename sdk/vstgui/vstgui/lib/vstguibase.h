// Basic types of the VSTGUI subset: reference counting, strings, result codes.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace VSTGUI {

using CCoord = double;
using IdStringPtr = const char*;
using UTF8StringPtr = const char*;
using UTF8StringBuffer = char*;

enum CMessageResult
{
	kMessageUnknown = 0,
	kMessageNotified = 1
};

//------------------------------------------------------------------------
// Reference-counted base of most VSTGUI objects: created with a count of one,
// deleted when forget() drops it to zero.
class CBaseObject
{
public:
	CBaseObject () = default;
	virtual ~CBaseObject () = default;
	CBaseObject (const CBaseObject&) : refCount (1) {}
	CBaseObject& operator= (const CBaseObject&) { return *this; }

	virtual void remember () { ++refCount; }
	virtual void forget ()
	{
		if (--refCount <= 0)
			delete this;
	}
	int32_t getNbReference () const { return refCount; }

	virtual CMessageResult notify (CBaseObject* /*sender*/, IdStringPtr /*message*/)
	{
		return kMessageUnknown;
	}

private:
	int32_t refCount {1};
};

//------------------------------------------------------------------------
// Holds one reference; remembers on copy, forgets on release.
template <typename T>
class SharedPointer
{
public:
	SharedPointer () = default;
	SharedPointer (T* p, bool remember = true) : ptr (p)
	{
		if (ptr && remember)
			ptr->remember ();
	}
	SharedPointer (const SharedPointer& o) : SharedPointer (o.ptr) {}
	SharedPointer (SharedPointer&& o) noexcept : ptr (o.ptr) { o.ptr = nullptr; }
	template <typename U>
	SharedPointer (const SharedPointer<U>& o) : SharedPointer (o.get ())
	{
	}
	~SharedPointer ()
	{
		if (ptr)
			ptr->forget ();
	}
	SharedPointer& operator= (const SharedPointer& o) { return *this = o.ptr; }
	SharedPointer& operator= (SharedPointer&& o) noexcept
	{
		std::swap (ptr, o.ptr);
		return *this;
	}
	SharedPointer& operator= (T* p)
	{
		if (p != ptr)
		{
			if (p)
				p->remember ();
			if (ptr)
				ptr->forget ();
			ptr = p;
		}
		return *this;
	}
	T* get () const { return ptr; }
	T* operator-> () const { return ptr; }
	T& operator* () const { return *ptr; }
	operator T* () const { return ptr; }
	explicit operator bool () const { return ptr != nullptr; }

private:
	T* ptr {nullptr};
};

// Wraps a freshly created object (count one) without adding a reference.
template <typename T>
SharedPointer<T> owned (T* p)
{
	return SharedPointer<T> (p, false);
}

template <typename T>
SharedPointer<T> shared (T* p)
{
	return SharedPointer<T> (p, true);
}

//------------------------------------------------------------------------
// UTF-8 text as VSTGUI passes it around.
class UTF8String
{
public:
	UTF8String () = default;
	UTF8String (const char* s) : str (s ? s : "") {}
	UTF8String (std::string s) : str (std::move (s)) {}

	const char* data () const { return str.c_str (); }
	const char* get () const { return str.c_str (); }
	const std::string& getString () const { return str; }
	size_t length () const { return str.size (); }
	bool empty () const { return str.empty (); }
	operator const char* () const { return str.c_str (); }
	bool operator== (const UTF8String& o) const { return str == o.str; }
	bool operator!= (const UTF8String& o) const { return str != o.str; }
	bool operator== (const char* o) const { return str == (o ? o : ""); }
	bool operator!= (const char* o) const { return !(*this == o); }
	UTF8String& operator+= (const char* s)
	{
		str += (s ? s : "");
		return *this;
	}
	UTF8String& operator+= (const UTF8String& s)
	{
		str += s.str;
		return *this;
	}

private:
	std::string str;
};

inline UTF8String operator+ (const UTF8String& a, const char* b)
{
	UTF8String r (a);
	r += b;
	return r;
}

} // namespace VSTGUI
