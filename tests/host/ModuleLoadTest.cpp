// Loading the bundle: exports, factory and class information, module entry and exit.
#include "BundleFixture.h"

#include "host/TarnwickIds.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstmessage.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

namespace TarnwickHostTest {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Tarnwick::HostKit;

std::set<std::string> exportedFunctions (const std::string& library)
{
	std::set<std::string> names;
	const std::string command = std::string (TARNWICK_TEST_NM) + " -D --defined-only '" + library + "'";
	FILE* pipe = popen (command.c_str (), "r");
	if (pipe == nullptr)
		return names;
	char line[1024];
	while (std::fgets (line, sizeof (line), pipe))
	{
		std::istringstream fields (line);
		std::string address, type, name;
		if (fields >> address >> type >> name)
			names.insert (name);
	}
	pclose (pipe);
	return names;
}

TEST (BundleLayout, ExportsExactlyTheEntryPointsHostsLookFor)
{
	const std::set<std::string> names = exportedFunctions (PluginModule::binaryPathOf (bundlePath ()));
	std::set<std::string> expected = {"GetPluginFactory", "ModuleEntry", "ModuleExit", "InitDll",
	                                  "ExitDll"};
	// The VST 2 entry, when the module carries it: VSTPluginMain and MAIN, and main for older hosts.
	if (names.count ("VSTPluginMain") || names.count ("MAIN") || names.count ("main"))
	{
		expected.insert ("VSTPluginMain");
		expected.insert ("MAIN");
		if (names.count ("main"))
			expected.insert ("main");
	}
	EXPECT_EQ (names, expected);
}

TEST (BundleLayout, ResourcesFolderExists)
{
	std::ifstream info (bundlePath () + "/Contents/Resources/moduleinfo.json");
	EXPECT_TRUE (info.good ());
}

TEST (ModuleLifeCycle, LoadsUnloadsAndLoadsAgain)
{
	for (int round = 0; round < 2; ++round)
	{
		PluginModule module;
		ASSERT_TRUE (module.load (bundlePath ())) << module.error ();
		PluginInstance instance (module);
		ASSERT_TRUE (instance.create ()) << instance.error ();
		ASSERT_TRUE (instance.setup (44100.0, 128, 2)) << instance.error ();
		std::vector<std::vector<float>> in = makeTestSignal (2, 1000, 44100.0), out;
		EXPECT_TRUE (instance.render (in, out));
		instance.destroy ();
		module.unload ();
		EXPECT_FALSE (module.isLoaded ());
	}
}

TEST (ModuleLifeCycle, MissingBundleIsReportedNotCrashed)
{
	PluginModule module;
	EXPECT_FALSE (module.load ("/nonexistent/Nothing.vst3"));
	EXPECT_NE (module.error ().find ("Nothing.so"), std::string::npos);
}

class FactoryTest : public BundleTest
{
};

TEST_F (FactoryTest, GetPluginFactoryHandsOutOneObjectWithOneMoreReference)
{
	auto getFactory = reinterpret_cast<GetFactoryProc> (module.findSymbol ("GetPluginFactory"));
	ASSERT_NE (getFactory, nullptr);
	IPluginFactory* again = getFactory ();
	EXPECT_EQ (again, module.getFactory ());
	// The module holds its own reference and those of the two queried interfaces.
	again->addRef ();
	const uint32 count = again->release ();
	EXPECT_EQ (count, 4u);
	again->release ();
}

TEST_F (FactoryTest, FactoryAndClassInformation)
{
	const PFactoryInfo info = module.factoryInfo ();
	EXPECT_STREQ (info.vendor, "Vanter Moor");
	EXPECT_STREQ (info.url, "");
	EXPECT_STREQ (info.email, "");
	EXPECT_EQ (info.flags, 16);

	ASSERT_NE (module.getFactory3 (), nullptr);
	ASSERT_EQ (module.getFactory ()->countClasses (), 1);
	PClassInfo2 ci;
	ASSERT_EQ (module.getFactory2 ()->getClassInfo2 (0, &ci), kResultOk);
	const TUID expectedId = TARNWICK_COM_ORDER_UID (0x7A3C91E4, 0x2B6D4F18, 0x9E05C3A7, 0x41D8F26B);
	EXPECT_EQ (std::memcmp (ci.cid, expectedId, sizeof (TUID)), 0);
	EXPECT_EQ (ci.cardinality, 0x7FFFFFFF);
	EXPECT_STREQ (ci.category, "Audio Module Class");
	EXPECT_STREQ (ci.name, "TarnwickFreex86");
	EXPECT_EQ (ci.classFlags, 0u);
	EXPECT_STREQ (ci.subCategories, "Fx");
	EXPECT_STREQ (ci.vendor, "");
	EXPECT_STREQ (ci.version, "1.1.0.0");
	EXPECT_STREQ (ci.sdkVersion, "VST 3.6.8");

	PClassInfoW w;
	ASSERT_EQ (module.getFactory3 ()->getClassInfoUnicode (0, &w), kResultOk);
	EXPECT_EQ (toUtf8 (w.name), "TarnwickFreex86");
	EXPECT_EQ (std::memcmp (w.cid, expectedId, sizeof (TUID)), 0);
	EXPECT_EQ (module.getFactory2 ()->getClassInfo2 (1, &ci), kInvalidArgument);
}

TEST_F (FactoryTest, ModuleInfoAgreesWithTheFactory)
{
	std::ifstream file (bundlePath () + "/Contents/Resources/moduleinfo.json");
	std::stringstream text;
	text << file.rdbuf ();
	const std::string json = text.str ();

	PClassInfo2 ci;
	ASSERT_EQ (module.getFactory2 ()->getClassInfo2 (0, &ci), kResultOk);
	char hex[33];
	for (int i = 0; i < 16; ++i)
		std::snprintf (hex + 2 * i, 3, "%02X", static_cast<unsigned char> (ci.cid[i]));
	EXPECT_NE (json.find (std::string ("\"CID\": \"") + hex + "\""), std::string::npos) << json;
	EXPECT_NE (json.find ("\"Vendor\": \"Vanter Moor\""), std::string::npos);
	EXPECT_NE (json.find ("\"Name\": \"TarnwickFreex86\""), std::string::npos);
	EXPECT_NE (json.find ("\"Category\": \"Audio Module Class\""), std::string::npos);
	EXPECT_NE (json.find ("\"SDKVersion\": \"VST 3.6.8\""), std::string::npos);
	EXPECT_NE (json.find ("\"Unicode\": true"), std::string::npos);
}

TEST_F (FactoryTest, CreateInstanceOfAnUnknownClassFails)
{
	void* obj = reinterpret_cast<void*> (0x1);
	const TUID unknown = {};
	EXPECT_EQ (module.getFactory ()->createInstance (unknown, IComponent::iid, &obj), kNoInterface);
	EXPECT_EQ (obj, nullptr);
}

TEST_F (FactoryTest, InterfacesOfTheInstance)
{
	PluginInstance& instance = newInstance ();
	IComponent* component = instance.getComponent ();
	void* obj = nullptr;
	ASSERT_EQ (component->queryInterface (IMidiMapping::iid, &obj), kResultOk);
	EXPECT_EQ (obj, static_cast<void*> (instance.getMidiMapping ()));
	static_cast<IMidiMapping*> (obj)->release ();
	ASSERT_EQ (component->queryInterface (IEditController2::iid, &obj), kResultOk);
	static_cast<IEditController2*> (obj)->release ();
	ASSERT_EQ (component->queryInterface (IUnitInfo::iid, &obj), kResultOk);
	static_cast<IUnitInfo*> (obj)->release ();

	obj = reinterpret_cast<void*> (0x1);
	EXPECT_EQ (component->queryInterface (IConnectionPoint::iid, &obj), kNoInterface);
	EXPECT_EQ (obj, nullptr);
	obj = reinterpret_cast<void*> (0x1);
	EXPECT_EQ (component->queryInterface (IPluginFactory::iid, &obj), kNoInterface);
	EXPECT_EQ (obj, nullptr);
}

TEST_F (FactoryTest, TerminateAndReleaseLetGoOfTheHostObjects)
{
	PluginInstance& instance = newActiveInstance ();
	EXPECT_GE (instance.handler ().referencesHeld (), 1);
	instance.destroy ();
	EXPECT_EQ (instance.handler ().referencesHeld (), 0);
}

TEST_F (FactoryTest, InstancesAreIndependent)
{
	PluginInstance& a = newActiveInstance ();
	PluginInstance& b = newActiveInstance ();
	ASSERT_EQ (a.setParameter (kVolume, 0.25), kResultOk);
	EXPECT_EQ (a.getParamNormalized (kVolume), 0.25);
	EXPECT_NE (b.getParamNormalized (kVolume), 0.25);
	std::vector<std::vector<float>> in = makeTestSignal (2, 4096, 48000.0), outA, outB;
	ASSERT_TRUE (a.render (in, outA));
	ASSERT_TRUE (b.render (in, outB));
	EXPECT_FALSE (sameSamples (outA, outB));
}

} // namespace
} // namespace TarnwickHostTest
