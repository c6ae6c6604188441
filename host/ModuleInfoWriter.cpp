// Build step: loads the built module the way a host does and writes the
// bundle's Contents/Resources/moduleinfo.json from what its factory answers,
// so that the file can never disagree with the factory.
//
// Usage: tarnwick-moduleinfo <bundle folder> <output file>

#include "pluginterfaces/base/ipluginbase.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace Steinberg;

namespace {

std::string jsonText (const char* text, size_t capacity)
{
	std::string out = "\"";
	for (size_t k = 0; k < capacity && text[k] != 0; ++k)
	{
		const unsigned char c = static_cast<unsigned char> (text[k]);
		if (c == '"' || c == '\\')
		{
			out += '\\';
			out += static_cast<char> (c);
		}
		else if (c < 0x20)
		{
			char escaped[8];
			std::snprintf (escaped, sizeof (escaped), "\\u%04x", c);
			out += escaped;
		}
		else
			out += static_cast<char> (c);
	}
	return out + "\"";
}

std::string hexClassId (const TUID cid)
{
	std::string out;
	char digits[3];
	for (int k = 0; k < 16; ++k)
	{
		std::snprintf (digits, sizeof (digits), "%02X", static_cast<unsigned char> (cid[k]));
		out += digits;
	}
	return out;
}

std::string subCategoryArray (const char* text, size_t capacity)
{
	std::string field (text, strnlen (text, capacity));
	std::string out = "[";
	size_t start = 0;
	bool first = true;
	while (!field.empty ())
	{
		const size_t bar = field.find ('|', start);
		const std::string item = field.substr (start, bar == std::string::npos ? std::string::npos
		                                                                        : bar - start);
		out += (first ? "" : ", ") + jsonText (item.c_str (), item.size ());
		first = false;
		if (bar == std::string::npos)
			break;
		start = bar + 1;
	}
	return out + "]";
}

bool fileExists (const std::string& path)
{
	struct stat info;
	return stat (path.c_str (), &info) == 0 && S_ISREG (info.st_mode);
}

std::string moduleName (const std::string& bundle)
{
	std::string name = bundle;
	while (!name.empty () && name.back () == '/')
		name.pop_back ();
	const size_t slash = name.rfind ('/');
	if (slash != std::string::npos)
		name = name.substr (slash + 1);
	const size_t dot = name.rfind (".vst3");
	if (dot != std::string::npos)
		name = name.substr (0, dot);
	return name;
}

} // namespace

int main (int argc, char** argv)
{
	if (argc != 3)
	{
		std::fprintf (stderr, "usage: %s <bundle folder> <output file>\n", argv[0]);
		return 2;
	}
	const std::string bundle = argv[1];
	const std::string name = moduleName (bundle);
	const std::string library = bundle + "/Contents/x86_64-linux/" + name + ".so";

	void* handle = dlopen (library.c_str (), RTLD_NOW | RTLD_LOCAL);
	if (!handle)
	{
		std::fprintf (stderr, "moduleinfo: cannot load %s: %s\n", library.c_str (), dlerror ());
		return 1;
	}
	using EntryFunc = bool (*) (void*);
	using ExitFunc = bool (*) ();
	using FactoryFunc = IPluginFactory* (*) ();
	auto moduleEntry = reinterpret_cast<EntryFunc> (dlsym (handle, "ModuleEntry"));
	auto moduleExit = reinterpret_cast<ExitFunc> (dlsym (handle, "ModuleExit"));
	auto getFactory = reinterpret_cast<FactoryFunc> (dlsym (handle, "GetPluginFactory"));
	if (!getFactory || (moduleEntry && !moduleEntry (handle)))
	{
		std::fprintf (stderr, "moduleinfo: %s has no usable entry\n", library.c_str ());
		dlclose (handle);
		return 1;
	}

	int status = 1;
	IPluginFactory* factory = getFactory ();
	IPluginFactory2* factory2 = nullptr;
	if (factory && factory->queryInterface (IPluginFactory2::iid, reinterpret_cast<void**> (&factory2)) == kResultOk && factory2)
	{
		PFactoryInfo factoryInfo {};
		factory2->getFactoryInfo (&factoryInfo);
		std::string classes;
		std::string moduleVersion;
		const int32 count = factory2->countClasses ();
		for (int32 index = 0; index < count; ++index)
		{
			PClassInfo2 info {};
			if (factory2->getClassInfo2 (index, &info) != kResultOk)
				continue;
			const std::string cid = hexClassId (info.cid);
			std::string snapshots;
			const std::string snapshot1 = "Snapshots/" + cid + "_snapshot.png";
			const std::string snapshot2 = "Snapshots/" + cid + "_snapshot_2.0x.png";
			if (fileExists (bundle + "/Contents/Resources/" + snapshot1))
				snapshots += "\n        { \"Scale Factor\": 1.0, \"Path\": \"" + snapshot1 + "\" }";
			if (fileExists (bundle + "/Contents/Resources/" + snapshot2))
				snapshots += std::string (snapshots.empty () ? "" : ",") +
				             "\n        { \"Scale Factor\": 2.0, \"Path\": \"" + snapshot2 + "\" }";
			if (!snapshots.empty ())
				snapshots += "\n      ";
			if (index == 0)
				moduleVersion.assign (info.version, strnlen (info.version, PClassInfo2::kVersionSize));
			char numbers[128];
			std::snprintf (numbers, sizeof (numbers),
			               "      \"Class Flags\": %u,\n      \"Cardinality\": %d,\n",
			               info.classFlags, info.cardinality);
			classes += std::string (classes.empty () ? "" : ",\n") + "    {\n" +
			           "      \"CID\": \"" + cid + "\",\n" +
			           "      \"Category\": " + jsonText (info.category, PClassInfo::kCategorySize) + ",\n" +
			           "      \"Name\": " + jsonText (info.name, PClassInfo::kNameSize) + ",\n" +
			           "      \"Vendor\": " + jsonText (info.vendor, PClassInfo2::kVendorSize) + ",\n" +
			           "      \"Version\": " + jsonText (info.version, PClassInfo2::kVersionSize) + ",\n" +
			           "      \"SDKVersion\": " + jsonText (info.sdkVersion, PClassInfo2::kVersionSize) + ",\n" +
			           "      \"Sub Categories\": " + subCategoryArray (info.subCategories, PClassInfo2::kSubCategoriesSize) + ",\n" +
			           numbers +
			           "      \"Snapshots\": [" + snapshots + "]\n" +
			           "    }";
		}
		const auto flag = [&] (int32 bit) { return (factoryInfo.flags & bit) ? "true" : "false"; };
		const std::string json =
		    "{\n"
		    "  \"Name\": " + jsonText (name.c_str (), name.size ()) + ",\n" +
		    "  \"Version\": " + jsonText (moduleVersion.c_str (), moduleVersion.size ()) + ",\n" +
		    "  \"Factory Info\": {\n" +
		    "    \"Vendor\": " + jsonText (factoryInfo.vendor, PFactoryInfo::kNameSize) + ",\n" +
		    "    \"URL\": " + jsonText (factoryInfo.url, PFactoryInfo::kURLSize) + ",\n" +
		    "    \"E-Mail\": " + jsonText (factoryInfo.email, PFactoryInfo::kEmailSize) + ",\n" +
		    "    \"Flags\": {\n" +
		    "      \"Unicode\": " + flag (PFactoryInfo::kUnicode) + ",\n" +
		    "      \"Classes Discardable\": " + flag (PFactoryInfo::kClassesDiscardable) + ",\n" +
		    "      \"Component Non Discardable\": " + flag (PFactoryInfo::kComponentNonDiscardable) + "\n" +
		    "    }\n" +
		    "  },\n" +
		    "  \"Classes\": [\n" + classes + "\n  ]\n" +
		    "}\n";
		if (FILE* out = std::fopen (argv[2], "w"))
		{
			if (std::fwrite (json.data (), 1, json.size (), out) == json.size ())
				status = 0;
			if (std::fclose (out) != 0)
				status = 1;
		}
		if (status != 0)
			std::fprintf (stderr, "moduleinfo: cannot write %s\n", argv[2]);
		factory2->release ();
	}
	else
		std::fprintf (stderr, "moduleinfo: %s offers no IPluginFactory2\n", library.c_str ());
	if (factory)
		factory->release ();
	if (moduleExit)
		moduleExit ();
	dlclose (handle);
	return status;
}
