#include "TestEffect.h"

#include "public.sdk/source/main/pluginfactory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace TarnwickTest {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

const FUID kEffectId (0x11223344, 0x55667788, 0x99AABBCC, 0xDDEEFF00);
const FUID kFailingId (0x01010101, 0x02020202, 0x03030303, 0x04040404);
const FUID kUnicodeId (0x0A0B0C0D, 0x0E0F1011, 0x12131415, 0x16171819);

FUnknown* createNothing (void*)
{
	return nullptr;
}

int contextSeen = 0;
FUnknown* createWithContext (void* context)
{
	contextSeen = *static_cast<int*> (context);
	return TestEffect::createInstance (nullptr);
}

uint32 refCountOf (FUnknown* object)
{
	object->addRef ();
	return object->release ();
}

class PluginFactoryTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		static const PFactoryInfo info ("Test Vendor", "https://example.invalid", "mailto:x@y",
		                                PFactoryInfo::kUnicode);
		factory = new CPluginFactory (info);
		const PClassInfo2 effectInfo (kEffectId.toTUID (), PClassInfo::kManyInstances,
		                              kVstAudioEffectClass, "Test Effect", 0, "Fx|Delay", "",
		                              "1.2.3.4", kVstVersionString);
		ASSERT_TRUE (factory->registerClass (&effectInfo, TestEffect::createInstance));
		const PClassInfo failing (kFailingId.toTUID (), 1, "Service", "Nothing");
		ASSERT_TRUE (factory->registerClass (&failing, createNothing));
		const PClassInfoW unicode (kUnicodeId.toTUID (), 1, kVstAudioEffectClass,
		                           reinterpret_cast<const char16*> (u"Ünïcode"), 0, "Fx",
		                           reinterpret_cast<const char16*> (u"Vendor W"),
		                           reinterpret_cast<const char16*> (u"2.0"),
		                           reinterpret_cast<const char16*> (u"VST 3.6.8"));
		ASSERT_TRUE (factory->registerClass (&unicode, createWithContext, &contextValue));
	}
	void TearDown () override
	{
		if (factory)
		{
			EXPECT_EQ (factory->release (), 0u);
		}
		EXPECT_EQ (TestEffect::liveInstances, 0);
	}

	int contextValue = 17;
	CPluginFactory* factory = nullptr;
};

TEST_F (PluginFactoryTest, StartsWithOneReferenceAndDeletesItselfAtZero)
{
	EXPECT_EQ (factory->addRef (), 2u);
	EXPECT_EQ (factory->release (), 1u);
	gPluginFactory = factory;
	EXPECT_EQ (factory->release (), 0u);
	factory = nullptr;
	EXPECT_EQ (gPluginFactory, nullptr);
}

TEST_F (PluginFactoryTest, ReleaseLeavesAnotherGlobalFactoryAlone)
{
	auto* other = new CPluginFactory (PFactoryInfo ());
	gPluginFactory = other;
	EXPECT_EQ (factory->release (), 0u);
	factory = nullptr;
	EXPECT_EQ (gPluginFactory, other);
	other->release ();
	EXPECT_EQ (gPluginFactory, nullptr);
}

TEST_F (PluginFactoryTest, QueryInterfaceAnswersTheFactoryVersions)
{
	for (const FUID* iid : {&IPluginFactory::iid, &IPluginFactory2::iid, &IPluginFactory3::iid,
	                        &FUnknown::iid})
	{
		void* obj = nullptr;
		ASSERT_EQ (factory->queryInterface (*iid, &obj), kResultOk);
		EXPECT_NE (obj, nullptr);
		EXPECT_EQ (refCountOf (factory), 2u);
		static_cast<FUnknown*> (obj)->release ();
	}
	void* obj = reinterpret_cast<void*> (0x1);
	EXPECT_EQ (factory->queryInterface (IComponent::iid, &obj), kNoInterface);
	EXPECT_EQ (obj, nullptr);
	EXPECT_EQ (refCountOf (factory), 1u);
}

TEST_F (PluginFactoryTest, RegisterClassRefusesNullInfoOrFunction)
{
	const PClassInfo2 info (kEffectId.toTUID (), 1, "c", "n", 0, "", "", "", "");
	EXPECT_FALSE (factory->registerClass (static_cast<const PClassInfo2*> (nullptr), createNothing));
	EXPECT_FALSE (factory->registerClass (static_cast<const PClassInfo*> (nullptr), createNothing));
	EXPECT_FALSE (factory->registerClass (static_cast<const PClassInfoW*> (nullptr), createNothing));
	EXPECT_FALSE (factory->registerClass (&info, nullptr));
	EXPECT_EQ (factory->countClasses (), 3);
	EXPECT_TRUE (factory->isClassRegistered (kEffectId));
	EXPECT_FALSE (factory->isClassRegistered (FUID (1, 2, 3, 4)));
}

TEST_F (PluginFactoryTest, FactoryInfoIsCopied)
{
	PFactoryInfo info;
	ASSERT_EQ (factory->getFactoryInfo (&info), kResultOk);
	EXPECT_STREQ (info.vendor, "Test Vendor");
	EXPECT_STREQ (info.url, "https://example.invalid");
	EXPECT_STREQ (info.email, "mailto:x@y");
	EXPECT_EQ (info.flags, PFactoryInfo::kUnicode);
	EXPECT_EQ (factory->getFactoryInfo (nullptr), kInvalidArgument);
}

TEST_F (PluginFactoryTest, ClassInfoFormsAndBounds)
{
	PClassInfo info;
	ASSERT_EQ (factory->getClassInfo (0, &info), kResultOk);
	EXPECT_EQ (std::memcmp (info.cid, kEffectId.toTUID (), sizeof (TUID)), 0);
	EXPECT_EQ (info.cardinality, PClassInfo::kManyInstances);
	EXPECT_STREQ (info.category, kVstAudioEffectClass);
	EXPECT_STREQ (info.name, "Test Effect");
	EXPECT_EQ (factory->getClassInfo (3, &info), kInvalidArgument);
	EXPECT_EQ (factory->getClassInfo (-1, &info), kInvalidArgument);
	EXPECT_EQ (factory->getClassInfo (0, nullptr), kInvalidArgument);

	PClassInfo2 info2;
	ASSERT_EQ (factory->getClassInfo2 (0, &info2), kResultOk);
	EXPECT_STREQ (info2.subCategories, "Fx|Delay");
	EXPECT_STREQ (info2.vendor, "");
	EXPECT_STREQ (info2.version, "1.2.3.4");
	EXPECT_STREQ (info2.sdkVersion, kVstVersionString);
	EXPECT_EQ (info2.classFlags, 0u);
	ASSERT_EQ (factory->getClassInfo2 (1, &info2), kResultOk);
	EXPECT_STREQ (info2.name, "Nothing");
	EXPECT_STREQ (info2.category, "Service");
	EXPECT_STREQ (info2.version, "");
	ASSERT_EQ (factory->getClassInfo2 (2, &info2), kResultOk);
	EXPECT_STREQ (info2.name, "\xC3\x9Cn\xC3\xAF" "code");
	EXPECT_STREQ (info2.vendor, "Vendor W");
	EXPECT_EQ (factory->getClassInfo2 (3, &info2), kInvalidArgument);
	EXPECT_EQ (factory->getClassInfo2 (-1, &info2), kInvalidArgument);
	EXPECT_EQ (factory->getClassInfo2 (0, nullptr), kInvalidArgument);
}

TEST_F (PluginFactoryTest, UnicodeClassInfoForEveryClass)
{
	PClassInfoW w;
	ASSERT_EQ (factory->getClassInfoUnicode (0, &w), kResultOk);
	EXPECT_EQ (std::u16string (reinterpret_cast<const char16_t*> (w.name)), u"Test Effect");
	EXPECT_EQ (std::u16string (reinterpret_cast<const char16_t*> (w.version)), u"1.2.3.4");
	EXPECT_STREQ (w.subCategories, "Fx|Delay");
	ASSERT_EQ (factory->getClassInfoUnicode (1, &w), kResultOk);
	EXPECT_EQ (std::u16string (reinterpret_cast<const char16_t*> (w.name)), u"Nothing");
	ASSERT_EQ (factory->getClassInfoUnicode (2, &w), kResultOk);
	EXPECT_EQ (std::u16string (reinterpret_cast<const char16_t*> (w.name)), u"Ünïcode");
	EXPECT_EQ (factory->getClassInfoUnicode (3, &w), kInvalidArgument);
	EXPECT_EQ (factory->getClassInfoUnicode (0, nullptr), kInvalidArgument);
}

TEST_F (PluginFactoryTest, CreateInstanceLeavesTheCallerExactlyOneReference)
{
	void* obj = nullptr;
	ASSERT_EQ (factory->createInstance (kEffectId.toTUID (), IComponent::iid.toTUID (), &obj), kResultOk);
	ASSERT_NE (obj, nullptr);
	auto* component = static_cast<IComponent*> (obj);
	EXPECT_EQ (TestEffect::liveInstances, 1);
	EXPECT_EQ (refCountOf (component), 1u);
	EXPECT_EQ (component->release (), 0u);
	EXPECT_EQ (TestEffect::liveInstances, 0);

	ASSERT_EQ (factory->createInstance (kEffectId.toTUID (), IEditController::iid.toTUID (), &obj),
	           kResultOk);
	auto* controller = static_cast<IEditController*> (obj);
	EXPECT_EQ (refCountOf (controller), 1u);
	controller->release ();
}

TEST_F (PluginFactoryTest, CreateInstancePassesTheContext)
{
	void* obj = nullptr;
	contextSeen = 0;
	ASSERT_EQ (factory->createInstance (kUnicodeId.toTUID (), IAudioProcessor::iid.toTUID (), &obj),
	           kResultOk);
	EXPECT_EQ (contextSeen, 17);
	static_cast<IAudioProcessor*> (obj)->release ();
}

TEST_F (PluginFactoryTest, CreateInstanceFailures)
{
	void* obj = reinterpret_cast<void*> (0x1);
	EXPECT_EQ (factory->createInstance (FUID (9, 9, 9, 9).toTUID (), IComponent::iid.toTUID (), &obj),
	           kNoInterface);
	EXPECT_EQ (obj, nullptr);

	obj = reinterpret_cast<void*> (0x1);
	EXPECT_EQ (factory->createInstance (kFailingId.toTUID (), FUnknown::iid.toTUID (), &obj),
	           kNoInterface);
	EXPECT_EQ (obj, nullptr);

	// An interface the class does not offer: the instance made is released again.
	obj = reinterpret_cast<void*> (0x1);
	EXPECT_EQ (factory->createInstance (kEffectId.toTUID (), IMidiMapping::iid.toTUID (), &obj),
	           kNoInterface);
	EXPECT_EQ (obj, nullptr);
	EXPECT_EQ (TestEffect::liveInstances, 0);

	obj = reinterpret_cast<void*> (0x1);
	EXPECT_EQ (factory->createInstance (nullptr, IComponent::iid.toTUID (), &obj), kNoInterface);
	EXPECT_EQ (obj, nullptr);
	EXPECT_EQ (factory->createInstance (kEffectId.toTUID (), IComponent::iid.toTUID (), nullptr),
	           kInvalidArgument);
	EXPECT_EQ (TestEffect::liveInstances, 0);
}

TEST_F (PluginFactoryTest, SetHostContextIsNotImplemented)
{
	EXPECT_EQ (factory->setHostContext (nullptr), kNotImplemented);
}

} // namespace
} // namespace TarnwickTest

// A module's entry point built with the factory helpers.
BEGIN_FACTORY_DEF ("Helper Vendor", "", "")
DEF_CLASS2 (INLINE_UID (0x11223344, 0x55667788, 0x99AABBCC, 0xDDEEFF00),
            Steinberg::PClassInfo::kManyInstances, kVstAudioEffectClass, "Helper Effect", 0, "Fx",
            "1.0.0.0", "VST 3.6.8", TarnwickTest::TestEffect::createInstance)
END_FACTORY

namespace TarnwickTest {
namespace {

TEST (GetPluginFactoryHelper, BuildsOnceSharesThenRebuildsAfterTheLastRelease)
{
	ASSERT_EQ (gPluginFactory, nullptr);
	IPluginFactory* first = GetPluginFactory ();
	ASSERT_NE (first, nullptr);
	EXPECT_EQ (static_cast<IPluginFactory*> (gPluginFactory), first);
	EXPECT_EQ (refCountOf (first), 1u);

	IPluginFactory* second = GetPluginFactory ();
	EXPECT_EQ (second, first);
	EXPECT_EQ (refCountOf (first), 2u);

	PFactoryInfo info;
	first->getFactoryInfo (&info);
	EXPECT_STREQ (info.vendor, "Helper Vendor");
	EXPECT_EQ (info.flags, PFactoryInfo::kUnicode);
	ASSERT_EQ (first->countClasses (), 1);
	auto* f2 = static_cast<IPluginFactory2*> (static_cast<CPluginFactory*> (first));
	PClassInfo2 ci;
	ASSERT_EQ (f2->getClassInfo2 (0, &ci), kResultOk);
	EXPECT_STREQ (ci.name, "Helper Effect");
	EXPECT_STREQ (ci.vendor, "");
	EXPECT_STREQ (ci.sdkVersion, "VST 3.6.8");

	second->release ();
	first->release ();
	EXPECT_EQ (gPluginFactory, nullptr);
	IPluginFactory* third = GetPluginFactory ();
	ASSERT_NE (third, nullptr);
	EXPECT_EQ (refCountOf (third), 1u);
	third->release ();
	EXPECT_EQ (gPluginFactory, nullptr);
}

} // namespace
} // namespace TarnwickTest
