// The plug-in factory a module hands out from GetPluginFactory.
#pragma once

#include "pluginterfaces/base/ipluginbase.h"

#include <new>
#include <vector>

namespace Steinberg {

class CPluginFactory : public IPluginFactory3
{
public:
	using CreateFunction = FUnknown* (*) (void* context);

	explicit CPluginFactory (const PFactoryInfo& info);
	virtual ~CPluginFactory ();

	// Each form stores the class info with its create function; a null info or function gives false.
	bool registerClass (const PClassInfo* info, CreateFunction createFunc, void* context = nullptr);
	bool registerClass (const PClassInfo2* info, CreateFunction createFunc, void* context = nullptr);
	bool registerClass (const PClassInfoW* info, CreateFunction createFunc, void* context = nullptr);

	bool isClassRegistered (const FUID& cid) const;

	//---FUnknown------------------------------------------------------------------
	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) SMTG_OVERRIDE;
	uint32 PLUGIN_API addRef () SMTG_OVERRIDE;
	uint32 PLUGIN_API release () SMTG_OVERRIDE;

	//---IPluginFactory------------------------------------------------------------
	tresult PLUGIN_API getFactoryInfo (PFactoryInfo* info) SMTG_OVERRIDE;
	int32 PLUGIN_API countClasses () SMTG_OVERRIDE;
	tresult PLUGIN_API getClassInfo (int32 index, PClassInfo* info) SMTG_OVERRIDE;
	tresult PLUGIN_API createInstance (FIDString cid, FIDString iid, void** obj) SMTG_OVERRIDE;

	//---IPluginFactory2-----------------------------------------------------------
	tresult PLUGIN_API getClassInfo2 (int32 index, PClassInfo2* info) SMTG_OVERRIDE;

	//---IPluginFactory3-----------------------------------------------------------
	tresult PLUGIN_API getClassInfoUnicode (int32 index, PClassInfoW* info) SMTG_OVERRIDE;
	tresult PLUGIN_API setHostContext (FUnknown* context) SMTG_OVERRIDE;

protected:
	struct ClassEntry
	{
		PClassInfo2 info8;
		PClassInfoW info16;
		CreateFunction createFunc = nullptr;
		void* context = nullptr;
		bool isUnicode = false;
	};

	const ClassEntry* findClass (FIDString cid) const;

	int32 refCount = 1;
	PFactoryInfo factoryInfo;
	std::vector<ClassEntry> classes;
};

// The module's one factory, or null. Cleared when that factory is destroyed.
extern CPluginFactory* gPluginFactory;

} // namespace Steinberg

// Helpers that complete BEGIN_FACTORY_DEF of pluginterfaces/vst/ivstcomponent.h:
//
//   BEGIN_FACTORY_DEF ("Vendor", "https://...", "mailto:...")
//       DEF_CLASS2 (INLINE_UID_FROM_FUID (cid), PClassInfo::kManyInstances, kVstAudioEffectClass,
//                   "Name", 0, "Fx", "1.0.0.0", kVstVersionString, MyEffect::createInstance)
//   END_FACTORY
//
// The first call builds the factory and hands the caller its first reference; later calls add a
// reference to the same factory. The class vendor is left empty (the factory's vendor applies).
#define DEF_CLASS2(cid, cardinality, category, name, classFlags, subCategories, version,          \
                   sdkVersion, createMethod)                                                      \
		{                                                                                         \
			static const Steinberg::TUID classId = cid;                                           \
			static const Steinberg::PClassInfo2 classInfo (classId, cardinality, category, name,  \
			                                               classFlags, subCategories, nullptr,    \
			                                               version, sdkVersion);                  \
			Steinberg::gPluginFactory->registerClass (&classInfo, createMethod);                  \
		}

#define END_FACTORY                                                                               \
	}                                                                                             \
	else                                                                                          \
		Steinberg::gPluginFactory->addRef ();                                                     \
	return Steinberg::gPluginFactory;                                                             \
	}
