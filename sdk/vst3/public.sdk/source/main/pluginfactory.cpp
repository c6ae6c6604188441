#include "public.sdk/source/main/pluginfactory.h"

#include "base/source/fstring.h"

#include <cstring>

namespace Steinberg {

CPluginFactory* gPluginFactory = nullptr;

namespace {

void copyAscii (char8* dst, const char8* src, size_t size)
{
	std::memset (dst, 0, size);
	if (src)
		strncpy8 (dst, src, static_cast<uint32> (size - 1));
}

// UTF-16 field to a zero-padded UTF-8 field, cut to fit.
void copyToUtf8 (char8* dst, const char16* src, size_t size)
{
	std::memset (dst, 0, size);
	String text (src);
	text.toMultiByte (kCP_Utf8);
	if (const char8* utf8 = text.text8 ())
		strncpy8 (dst, utf8, static_cast<uint32> (size - 1));
}

PClassInfo2 toClassInfo2 (const PClassInfoW& w)
{
	PClassInfo2 info;
	std::memcpy (info.cid, w.cid, sizeof (TUID));
	info.cardinality = w.cardinality;
	copyAscii (info.category, w.category, sizeof (info.category));
	copyToUtf8 (info.name, w.name, sizeof (info.name));
	info.classFlags = w.classFlags;
	copyAscii (info.subCategories, w.subCategories, sizeof (info.subCategories));
	copyToUtf8 (info.vendor, w.vendor, sizeof (info.vendor));
	copyToUtf8 (info.version, w.version, sizeof (info.version));
	copyToUtf8 (info.sdkVersion, w.sdkVersion, sizeof (info.sdkVersion));
	return info;
}

} // namespace

CPluginFactory::CPluginFactory (const PFactoryInfo& info) : factoryInfo (info)
{
}

CPluginFactory::~CPluginFactory ()
{
	if (gPluginFactory == this)
		gPluginFactory = nullptr;
}

bool CPluginFactory::registerClass (const PClassInfo* info, CreateFunction createFunc,
                                    void* context)
{
	if (info == nullptr || createFunc == nullptr)
		return false;
	PClassInfo2 info2;
	std::memcpy (info2.cid, info->cid, sizeof (TUID));
	info2.cardinality = info->cardinality;
	copyAscii (info2.category, info->category, sizeof (info2.category));
	copyAscii (info2.name, info->name, sizeof (info2.name));
	return registerClass (&info2, createFunc, context);
}

bool CPluginFactory::registerClass (const PClassInfo2* info, CreateFunction createFunc,
                                    void* context)
{
	if (info == nullptr || createFunc == nullptr)
		return false;
	ClassEntry entry;
	entry.info8 = *info;
	entry.info16.fromAscii (*info);
	entry.createFunc = createFunc;
	entry.context = context;
	entry.isUnicode = false;
	classes.push_back (entry);
	return true;
}

bool CPluginFactory::registerClass (const PClassInfoW* info, CreateFunction createFunc,
                                    void* context)
{
	if (info == nullptr || createFunc == nullptr)
		return false;
	ClassEntry entry;
	entry.info16 = *info;
	entry.info8 = toClassInfo2 (*info);
	entry.createFunc = createFunc;
	entry.context = context;
	entry.isUnicode = true;
	classes.push_back (entry);
	return true;
}

bool CPluginFactory::isClassRegistered (const FUID& cid) const
{
	TUID tuid;
	cid.toTUID (tuid);
	return findClass (tuid) != nullptr;
}

const CPluginFactory::ClassEntry* CPluginFactory::findClass (FIDString cid) const
{
	if (cid == nullptr)
		return nullptr;
	for (const ClassEntry& entry : classes)
	{
		if (std::memcmp (entry.info8.cid, cid, sizeof (TUID)) == 0)
			return &entry;
	}
	return nullptr;
}

//---FUnknown--------------------------------------------------------------------

tresult PLUGIN_API CPluginFactory::queryInterface (const TUID iid, void** obj)
{
	if (obj == nullptr)
		return kInvalidArgument;
	QUERY_INTERFACE (iid, obj, IPluginFactory::iid, IPluginFactory)
	QUERY_INTERFACE (iid, obj, IPluginFactory2::iid, IPluginFactory2)
	QUERY_INTERFACE (iid, obj, IPluginFactory3::iid, IPluginFactory3)
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IPluginFactory)
	*obj = nullptr;
	return kNoInterface;
}

uint32 PLUGIN_API CPluginFactory::addRef ()
{
	return static_cast<uint32> (FUnknownPrivate::atomicAdd (refCount, 1));
}

uint32 PLUGIN_API CPluginFactory::release ()
{
	int32 remaining = FUnknownPrivate::atomicAdd (refCount, -1);
	if (remaining == 0)
	{
		delete this;
		return 0;
	}
	return static_cast<uint32> (remaining);
}

//---IPluginFactory--------------------------------------------------------------

tresult PLUGIN_API CPluginFactory::getFactoryInfo (PFactoryInfo* info)
{
	if (info == nullptr)
		return kInvalidArgument;
	*info = factoryInfo;
	return kResultOk;
}

int32 PLUGIN_API CPluginFactory::countClasses ()
{
	return static_cast<int32> (classes.size ());
}

tresult PLUGIN_API CPluginFactory::getClassInfo (int32 index, PClassInfo* info)
{
	if (info == nullptr || index < 0 || index >= countClasses ())
		return kInvalidArgument;
	const PClassInfo2& source = classes[static_cast<size_t> (index)].info8;
	*info = PClassInfo ();
	std::memcpy (info->cid, source.cid, sizeof (TUID));
	info->cardinality = source.cardinality;
	std::memcpy (info->category, source.category, sizeof (info->category));
	std::memcpy (info->name, source.name, sizeof (info->name));
	return kResultOk;
}

tresult PLUGIN_API CPluginFactory::createInstance (FIDString cid, FIDString iid, void** obj)
{
	if (obj == nullptr)
		return kInvalidArgument;
	*obj = nullptr;
	if (iid == nullptr)
		return kNoInterface;

	const ClassEntry* entry = findClass (cid);
	if (entry == nullptr)
		return kNoInterface;

	FUnknown* instance = entry->createFunc (entry->context);
	if (instance == nullptr)
		return kNoInterface;

	TUID requested;
	std::memcpy (requested, iid, sizeof (TUID));
	void* answer = nullptr;
	if (instance->queryInterface (requested, &answer) != kResultOk || answer == nullptr)
	{
		instance->release ();
		return kNoInterface;
	}
	// The caller holds the reference from queryInterface; drop the one from creation.
	instance->release ();
	*obj = answer;
	return kResultOk;
}

//---IPluginFactory2-------------------------------------------------------------

tresult PLUGIN_API CPluginFactory::getClassInfo2 (int32 index, PClassInfo2* info)
{
	if (info == nullptr || index < 0 || index >= countClasses ())
		return kInvalidArgument;
	*info = classes[static_cast<size_t> (index)].info8;
	return kResultOk;
}

//---IPluginFactory3-------------------------------------------------------------

tresult PLUGIN_API CPluginFactory::getClassInfoUnicode (int32 index, PClassInfoW* info)
{
	if (info == nullptr || index < 0 || index >= countClasses ())
		return kInvalidArgument;
	*info = classes[static_cast<size_t> (index)].info16;
	return kResultOk;
}

tresult PLUGIN_API CPluginFactory::setHostContext (FUnknown* /*context*/)
{
	return kNotImplemented;
}

} // namespace Steinberg
