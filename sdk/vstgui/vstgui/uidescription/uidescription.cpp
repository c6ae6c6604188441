#include "uidescription.h"
#include "icontroller.h"
#include "uiviewfactory.h"
#include "../lib/cviewcontainer.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <expat.h>

namespace VSTGUI {

namespace {
// Deeper nesting than this is refused: a description is a few levels deep.
constexpr int kMaxDepth = 64;
// Far more template inclusions than any layout makes, and few enough views to build at once.
constexpr int kMaxTemplateIncludes = 256;
// Descriptions are small; anything larger than this is not one.
constexpr long kMaxFileSize = 16 * 1024 * 1024;

bool readFile (const std::string& path, std::string& out)
{
	FILE* f = std::fopen (path.c_str (), "rb");
	if (!f)
		return false;
	bool ok = std::fseek (f, 0, SEEK_END) == 0;
	long size = ok ? std::ftell (f) : -1;
	if (size < 0 || size > kMaxFileSize || std::fseek (f, 0, SEEK_SET) != 0)
	{
		std::fclose (f);
		return false;
	}
	out.resize (static_cast<size_t> (size));
	size_t read = size > 0 ? std::fread (&out[0], 1, out.size (), f) : 0;
	std::fclose (f);
	return read == out.size ();
}

struct BuiltinColor
{
	const char* name;
	CColor color;
};

const BuiltinColor kBuiltinColors[] = {
    {"~ BlackCColor", kBlackCColor},   {"~ WhiteCColor", kWhiteCColor},   {"~ GreyCColor", kGreyCColor},
    {"~ RedCColor", kRedCColor},       {"~ GreenCColor", kGreenCColor},   {"~ BlueCColor", kBlueCColor},
    {"~ YellowCColor", kYellowCColor}, {"~ CyanCColor", kCyanCColor},     {"~ MagentaCColor", kMagentaCColor},
    {"~ TransparentCColor", kTransparentCColor}, {"~ None", kTransparentCColor},
};

struct BuiltinFont
{
	const char* name;
	CFontRef* font;
};

const BuiltinFont kBuiltinFonts[] = {
    {"~ SystemFont", &kSystemFont},         {"~ NormalFontVeryBig", &kNormalFontVeryBig},
    {"~ NormalFontBig", &kNormalFontBig},   {"~ NormalFont", &kNormalFont},
    {"~ NormalFontSmall", &kNormalFontSmall}, {"~ NormalFontSmaller", &kNormalFontSmaller},
    {"~ NormalFontVerySmall", &kNormalFontVerySmall}, {"~ SymbolFont", &kSymbolFont},
};

int hexValue (char c)
{
	if (c >= '0' && c <= '9')
		return c - '0';
	if (c >= 'a' && c <= 'f')
		return c - 'a' + 10;
	if (c >= 'A' && c <= 'F')
		return c - 'A' + 10;
	return -1;
}

} // namespace

//------------------------------------------------------------------------
struct UIDescription::Parser
{
	std::vector<Node*> stack;
	int depth {0};
	bool tooDeep {false};
	XML_Parser xml {nullptr};

	static void XMLCALL startElement (void* userData, const XML_Char* name, const XML_Char** atts)
	{
		auto self = static_cast<Parser*> (userData);
		if (++self->depth > kMaxDepth)
		{
			self->tooDeep = true;
			XML_StopParser (self->xml, XML_FALSE);
			return;
		}
		auto node = std::make_unique<Node> ();
		node->name = name;
		node->attributes = UIAttributes (atts);
		Node* raw = node.get ();
		self->stack.back ()->children.push_back (std::move (node));
		self->stack.push_back (raw);
	}

	static void XMLCALL endElement (void* userData, const XML_Char*)
	{
		auto self = static_cast<Parser*> (userData);
		--self->depth;
		if (self->stack.size () > 1)
			self->stack.pop_back ();
	}
};

UIDescription::UIDescription (const CResourceDescription& xmlFile) : xmlFile (xmlFile) {}

UIDescription::UIDescription (const char* data, size_t size) : fromMemory (true)
{
	if (data)
		xmlData.assign (data, size);
}

UIDescription::~UIDescription () = default;

bool UIDescription::parse ()
{
	if (parsed)
		return root != nullptr;
	parsed = true;
	std::string text;
	if (fromMemory)
		text = xmlData;
	else
	{
		std::string path = CBitmap::resolveResourcePath (xmlFile.name);
		if (path.empty () || !readFile (path, text))
		{
			parseError = "description not found: " + xmlFile.name;
			return false;
		}
	}

	// The document holder: its one child is the root element.
	auto document = std::make_unique<Node> ();
	Parser parser;
	parser.stack.push_back (document.get ());
	XML_Parser xml = XML_ParserCreate (nullptr);
	if (!xml)
	{
		parseError = "out of memory";
		return false;
	}
	parser.xml = xml;
	XML_SetUserData (xml, &parser);
	XML_SetElementHandler (xml, &Parser::startElement, &Parser::endElement);
	bool ok = XML_Parse (xml, text.data (), static_cast<int> (text.size ()), XML_TRUE) == XML_STATUS_OK;
	if (!ok)
	{
		char buffer[256];
		std::snprintf (buffer, sizeof (buffer), "XML error at line %lu: %s",
		               static_cast<unsigned long> (XML_GetCurrentLineNumber (xml)),
		               parser.tooDeep ? "nesting too deep" : XML_ErrorString (XML_GetErrorCode (xml)));
		parseError = buffer;
	}
	XML_ParserFree (xml);

	// Whatever was read before an error is kept: a damaged file gives a partial editor.
	if (document->children.empty () || document->children[0]->name != "vstgui-ui-description")
	{
		if (parseError.empty ())
			parseError = "not a UI description";
		return false;
	}
	root = std::move (document->children[0]);
	return ok;
}

const UIDescription::Node* UIDescription::findSection (const char* section) const
{
	if (!root)
		return nullptr;
	for (const auto& child : root->children)
	{
		if (child->name == section)
			return child.get ();
	}
	return nullptr;
}

const UIDescription::Node* UIDescription::findChild (const char* section, const char* name) const
{
	if (!root || !name)
		return nullptr;
	// Sections may appear more than once; templates sit directly under the root.
	for (const auto& s : root->children)
	{
		if (s->name != section)
			continue;
		if (std::strcmp (section, "template") == 0)
		{
			auto n = s->attributes.getAttributeValue ("name");
			if (n && *n == name)
				return s.get ();
			continue;
		}
		for (const auto& child : s->children)
		{
			auto n = child->attributes.getAttributeValue ("name");
			if (n && *n == name)
				return child.get ();
		}
	}
	return nullptr;
}

bool UIDescription::lookupBuiltinColor (const std::string& name, CColor& color)
{
	for (const auto& c : kBuiltinColors)
	{
		if (name == c.name)
		{
			color = c.color;
			return true;
		}
	}
	return false;
}

bool UIDescription::parseColor (const std::string& text, CColor& color)
{
	if (lookupBuiltinColor (text, color))
		return true;
	if (text.size () != 7 && text.size () != 9)
		return false;
	if (text[0] != '#')
		return false;
	uint8_t bytes[4] = {0, 0, 0, 255};
	for (size_t i = 0; i < (text.size () - 1) / 2; ++i)
	{
		int hi = hexValue (text[1 + i * 2]);
		int lo = hexValue (text[2 + i * 2]);
		if (hi < 0 || lo < 0)
			return false;
		bytes[i] = static_cast<uint8_t> (hi * 16 + lo);
	}
	color = CColor (bytes[0], bytes[1], bytes[2], bytes[3]);
	return true;
}

bool UIDescription::getColor (UTF8StringPtr name, CColor& color) const
{
	if (!name)
		return false;
	if (auto node = findChild ("colors", name))
	{
		auto rgba = node->attributes.getAttributeValue ("rgba");
		if (rgba && parseColor (*rgba, color))
			return true;
	}
	return parseColor (name, color);
}

CBitmap* UIDescription::getBitmap (UTF8StringPtr name) const
{
	if (!name)
		return nullptr;
	auto cached = bitmapCache.find (name);
	if (cached != bitmapCache.end ())
		return cached->second;
	std::string path = getBitmapPath (name);
	if (path.empty ())
		return nullptr;
	auto bitmap = owned (new CBitmap (CResourceDescription (path.c_str ())));
	bitmapCache[name] = bitmap;
	// A bitmap whose image is missing stays an empty bitmap: the view draws nothing.
	return bitmap;
}

std::string UIDescription::getBitmapPath (UTF8StringPtr name) const
{
	auto node = findChild ("bitmaps", name);
	if (!node)
		return std::string ();
	auto path = node->attributes.getAttributeValue ("path");
	return path ? *path : std::string ();
}

CFontDesc* UIDescription::getFont (UTF8StringPtr name) const
{
	if (!name)
		return nullptr;
	auto cached = fontCache.find (name);
	if (cached != fontCache.end ())
		return cached->second;
	if (auto node = findChild ("fonts", name))
	{
		const auto& a = node->attributes;
		auto fontName = a.getAttributeValue ("font-name");
		double size = 12;
		a.getDoubleAttribute ("size", size);
		int32_t style = 0;
		bool b;
		if (a.getBooleanAttribute ("bold", b) && b)
			style |= kBoldFace;
		if (a.getBooleanAttribute ("italic", b) && b)
			style |= kItalicFace;
		if (a.getBooleanAttribute ("underline", b) && b)
			style |= kUnderlineFace;
		auto font = owned (new CFontDesc (fontName ? fontName->c_str () : name, size, style));
		fontCache[name] = font;
		return font;
	}
	for (const auto& f : kBuiltinFonts)
	{
		if (std::strcmp (name, f.name) == 0)
			return *f.font;
	}
	return nullptr;
}

CGradient* UIDescription::getGradient (UTF8StringPtr name) const
{
	if (!name)
		return nullptr;
	auto cached = gradientCache.find (name);
	if (cached != gradientCache.end ())
		return cached->second;
	auto node = findChild ("gradients", name);
	if (!node)
		return nullptr;
	auto gradient = owned (new CGradient ());
	for (const auto& stop : node->children)
	{
		if (stop->name != "color-stop")
			continue;
		double start = 0;
		stop->attributes.getDoubleAttribute ("start", start);
		CColor c;
		auto rgba = stop->attributes.getAttributeValue ("rgba");
		if (rgba && getColor (rgba->c_str (), c))
			gradient->addColorStop (start, c);
	}
	gradientCache[name] = gradient;
	return gradient;
}

int32_t UIDescription::getTagForName (UTF8StringPtr name) const
{
	if (!name)
		return -1;
	int32_t tag = -1;
	if (auto node = findChild ("control-tags", name))
	{
		if (!node->attributes.getIntegerAttribute ("tag", tag))
			tag = -1;
	}
	else
	{
		// A plain number names its own tag.
		char* end = nullptr;
		long v = std::strtol (name, &end, 10);
		if (end != name && *end == 0 && v >= -1 && v <= 0x7fffffff)
			tag = static_cast<int32_t> (v);
	}
	if (currentController)
		tag = currentController->getTagForName (name, tag);
	return tag;
}

IControlListener* UIDescription::getControlListener (UTF8StringPtr name) const
{
	return currentController ? currentController->getControlListener (name) : nullptr;
}

const UIAttributes* UIDescription::getCustomAttributes (UTF8StringPtr name) const
{
	auto node = findChild ("custom", name);
	return node ? &node->attributes : nullptr;
}

const UIAttributes* UIDescription::getViewAttributes (UTF8StringPtr name) const
{
	auto node = findChild ("template", name);
	return node ? &node->attributes : nullptr;
}

namespace {
std::vector<std::string> namesIn (const UIDescription::Node* root, const char* section)
{
	std::vector<std::string> result;
	if (!root)
		return result;
	for (const auto& s : root->children)
	{
		if (s->name != section)
			continue;
		if (std::strcmp (section, "template") == 0)
		{
			if (auto n = s->attributes.getAttributeValue ("name"))
				result.push_back (*n);
			continue;
		}
		for (const auto& child : s->children)
		{
			if (auto n = child->attributes.getAttributeValue ("name"))
				result.push_back (*n);
		}
	}
	return result;
}
} // namespace

std::vector<std::string> UIDescription::getTemplateNames () const { return namesIn (root.get (), "template"); }
std::vector<std::string> UIDescription::getColorNames () const { return namesIn (root.get (), "colors"); }
std::vector<std::string> UIDescription::getBitmapNames () const { return namesIn (root.get (), "bitmaps"); }
std::vector<std::string> UIDescription::getControlTagNames () const { return namesIn (root.get (), "control-tags"); }
std::vector<std::string> UIDescription::getFontNames () const { return namesIn (root.get (), "fonts"); }
std::vector<std::string> UIDescription::getGradientNames () const { return namesIn (root.get (), "gradients"); }
std::vector<std::string> UIDescription::getCustomAttributeNames () const { return namesIn (root.get (), "custom"); }

CView* UIDescription::createView (UTF8StringPtr templateName, IController* controller)
{
	parse ();
	auto node = findChild ("template", templateName);
	if (!node)
		return nullptr;
	IController* previous = currentController;
	currentController = controller;
	templateDepth = 0;
	templateIncludes = 0;
	CView* view = createViewFromNode (*node, controller, true);
	currentController = previous;
	return view;
}

CView* UIDescription::createViewFromNode (const Node& node, IController* controller, bool isTemplate)
{
	const UIAttributes& attributes = node.attributes;

	// A view may name a template to include in its place.
	if (!isTemplate && !attributes.hasAttribute ("class"))
	{
		auto templateName = attributes.getAttributeValue ("template");
		if (!templateName || templateDepth >= 8 || templateIncludes >= kMaxTemplateIncludes)
			return nullptr;
		auto templateNode = findChild ("template", templateName->c_str ());
		if (!templateNode)
			return nullptr;
		++templateDepth;
		++templateIncludes;
		CView* view = createViewFromNode (*templateNode, controller, true);
		--templateDepth;
		if (view)
			UIViewFactory::applyAttributes (view, attributes, this);
		return view;
	}

	IController* subController = nullptr;
	IController* savedController = currentController;
	if (auto name = attributes.getAttributeValue ("sub-controller"))
	{
		if (!name->empty () && controller)
		{
			subController = controller->createSubController (name->c_str (), this);
			if (subController)
			{
				controller = subController;
				currentController = subController;
			}
		}
	}

	CView* view = nullptr;
	if (controller)
	{
		view = controller->createView (attributes, this);
		if (view)
			UIViewFactory::applyAttributes (view, attributes, this);
	}
	if (!view)
		view = UIViewFactory::createView (attributes, this);

	if (view)
	{
		if (auto container = view->asViewContainer ())
		{
			for (const auto& child : node.children)
			{
				if (child->name != "view")
					continue;
				CView* childView = createViewFromNode (*child, controller, false);
				if (childView)
					container->addView (childView);
			}
		}
		// Verified by its own controller: a sub-controller sees the view it was named on.
		if (controller)
			view = controller->verifyView (view, attributes, this);
	}
	if (view)
	{
		if (subController)
		{
			view->setViewController (subController);
			subController = nullptr;
		}
	}
	if (subController)
	{
		// No view to own it.
		if (auto obj = dynamic_cast<CBaseObject*> (subController))
			obj->forget ();
		else
			delete subController;
	}
	currentController = savedController;
	return view;
}

} // namespace VSTGUI
