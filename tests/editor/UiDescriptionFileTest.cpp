// vexa.uidesc as shipped: sections, the "Editor" template and its views (at the
// places the artwork was drawn for), the tag and bitmap tables.
#include "EditorLayout.h"

#include <expat.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace Tarnwick::Artwork;

namespace {

struct Node
{
	std::string name;
	std::map<std::string, std::string> attributes;
	std::vector<std::unique_ptr<Node>> children;

	const Node* child (const std::string& element, const std::string& nameAttribute = "") const
	{
		for (const auto& c : children)
			if (c->name == element && (nameAttribute.empty () || c->attr ("name") == nameAttribute))
				return c.get ();
		return nullptr;
	}
	std::string attr (const std::string& key) const
	{
		auto it = attributes.find (key);
		return it == attributes.end () ? std::string ("<missing>") : it->second;
	}
};

struct TreeBuilder
{
	std::unique_ptr<Node> root;
	std::vector<Node*> stack;

	static void start (void* data, const XML_Char* name, const XML_Char** atts)
	{
		auto* self = static_cast<TreeBuilder*> (data);
		auto node = std::make_unique<Node> ();
		node->name = name;
		for (int i = 0; atts[i]; i += 2)
			node->attributes[atts[i]] = atts[i + 1];
		Node* raw = node.get ();
		if (self->stack.empty ())
			self->root = std::move (node);
		else
			self->stack.back ()->children.push_back (std::move (node));
		self->stack.push_back (raw);
	}
	static void end (void* data, const XML_Char*) { static_cast<TreeBuilder*> (data)->stack.pop_back (); }
};

std::unique_ptr<Node> parseDescription ()
{
	std::ifstream in (TARNWICK_UIDESC_FILE, std::ios::binary);
	std::stringstream text;
	text << in.rdbuf ();
	const std::string xml = text.str ();
	TreeBuilder builder;
	XML_Parser parser = XML_ParserCreate (nullptr);
	XML_SetUserData (parser, &builder);
	XML_SetElementHandler (parser, &TreeBuilder::start, &TreeBuilder::end);
	const bool ok = XML_Parse (parser, xml.data (), static_cast<int> (xml.size ()), 1) == XML_STATUS_OK;
	XML_ParserFree (parser);
	return ok ? std::move (builder.root) : nullptr;
}

std::string point (int x, int y)
{
	return std::to_string (x) + ", " + std::to_string (y);
}

class UiDescriptionFile : public ::testing::Test
{
protected:
	void SetUp () override
	{
		root = parseDescription ();
		ASSERT_NE (root, nullptr);
	}
	std::unique_ptr<Node> root;
};

} // namespace

TEST_F (UiDescriptionFile, RootAndSectionOrder)
{
	EXPECT_EQ (root->name, "vstgui-ui-description");
	EXPECT_EQ (root->attr ("version"), "1");
	std::vector<std::string> order;
	for (const auto& c : root->children)
		order.push_back (c->name == "template" ? "template:" + c->attr ("name") : c->name);
	const std::vector<std::string> expected = {"fonts",    "colors",       "template:Editor", "custom",
	                                           "bitmaps",  "control-tags", "gradients",       "template:Off Screen View 1"};
	EXPECT_EQ (order, expected);
}

TEST_F (UiDescriptionFile, FontsColoursAndGradients)
{
	const Node* font = root->child ("fonts")->child ("font");
	ASSERT_NE (font, nullptr);
	EXPECT_EQ (font->attr ("name"), "Microsoft Sans Serif");
	EXPECT_EQ (font->attr ("font-name"), "Microsoft Sans Serif");
	EXPECT_EQ (font->attr ("size"), "18");
	EXPECT_EQ (font->attr ("bold"), "true");
	const Node* colours = root->child ("colors");
	EXPECT_EQ (colours->child ("color", "kLightGreyCColor")->attr ("rgba"), "#c8c8c8ff");
	EXPECT_EQ (colours->child ("color", "kDarkGreyCColor")->attr ("rgba"), "#646464ff");
	for (const char* name : {"kLightGreyCColor", "kDarkGreyCColor"})
	{
		const Node* g = root->child ("gradients")->child ("gradient", name);
		ASSERT_NE (g, nullptr) << name;
		ASSERT_EQ (g->children.size (), 2u);
		EXPECT_EQ (g->children[0]->attr ("start"), "0");
		EXPECT_EQ (g->children[1]->attr ("start"), "1");
		EXPECT_EQ (g->children[0]->attr ("rgba"), colours->child ("color", name)->attr ("rgba"));
		EXPECT_EQ (g->children[1]->attr ("rgba"), colours->child ("color", name)->attr ("rgba"));
	}
}

TEST_F (UiDescriptionFile, EditorTemplateIsFixedAt485By270)
{
	const Node* t = root->child ("template", "Editor");
	ASSERT_NE (t, nullptr);
	EXPECT_EQ (t->attr ("class"), "CViewContainer");
	EXPECT_EQ (t->attr ("origin"), "0, 0");
	EXPECT_EQ (t->attr ("size"), point (kEditorWidth, kEditorHeight));
	EXPECT_EQ (t->attr ("minSize"), "485, 270");
	EXPECT_EQ (t->attr ("maxSize"), "485, 270");
	EXPECT_EQ (t->attr ("bitmap"), "codeback");
	EXPECT_EQ (t->attr ("background-color"), "~ None");
	EXPECT_EQ (t->attr ("background-color-draw-style"), "filled and stroked");
	EXPECT_EQ (t->attr ("mouse-enabled"), "true");
	EXPECT_EQ (t->attr ("transparent"), "false");
}

TEST_F (UiDescriptionFile, ViewsSitWhereTheArtworkWasDrawn)
{
	const Node* t = root->child ("template", "Editor");
	ASSERT_NE (t, nullptr);
	ASSERT_EQ (t->children.size (), size_t (kPlacementCount));
	for (int i = 0; i < kPlacementCount; ++i)
	{
		const Node& v = *t->children[size_t (i)];
		const ControlPlacement& p = kPlacements[i];
		const bool knob = p.kind == ControlKind::Knob;
        EXPECT_EQ(v.name, "view");
        EXPECT_EQ (v.attr ("control-tag"), p.tagName) << i;
		EXPECT_EQ (v.attr ("origin"), point (p.x, p.y)) << p.tagName;
		EXPECT_EQ (v.attr ("size"), point (p.width, p.height)) << p.tagName;
        if (p.kind == ControlKind::Selector)
        {
            // Our step selector over the note's 21 choices; a plain display where it cannot be made.
            EXPECT_EQ(v.attr("class"), "CParamDisplay");
            EXPECT_EQ(v.attr("custom-view-name"), "StepSelector");
            EXPECT_EQ(v.attr("max-value"), "20");
            EXPECT_EQ(v.attr("default-value"), "12");
            continue;
        }
        EXPECT_EQ(v.attr("class"), knob ? "CAnimKnob" : "COnOffButton") << i;
        EXPECT_EQ (v.attr ("bitmap"), p.bitmapName) << p.tagName;
		EXPECT_EQ (v.attr ("min-value"), "0");
		EXPECT_EQ (v.attr ("max-value"), "1");
		EXPECT_EQ (v.attr ("wheel-inc-value"), "0.1");
		EXPECT_EQ (v.attr ("background-offset"), "0, 0");
		EXPECT_EQ (v.attr ("mouse-enabled"), "true");
		EXPECT_EQ (v.attr ("transparent"), "false");
		EXPECT_EQ (v.attr ("custom-view-name"), "");
		EXPECT_EQ (v.attr ("default-value"), knob ? "0.5" : "0");
		if (knob)
		{
			EXPECT_EQ (v.attr ("height-of-one-image"), std::to_string (p.width));
			EXPECT_EQ (v.attr ("sub-pixmaps"), "135");
			EXPECT_EQ (v.attr ("angle-start"), "135");
			EXPECT_EQ (v.attr ("angle-range"), "270");
			EXPECT_EQ (v.attr ("zoom-factor"), "1.5");
			EXPECT_EQ (v.attr ("value-inset"), "0");
			EXPECT_EQ (v.attr ("circle-drawing"), "false");
			EXPECT_EQ (v.attr ("corona-drawing"), "false");
			EXPECT_EQ (v.attr ("corona-color"), "~ WhiteCColor");
			EXPECT_EQ (v.attr ("corona-inset"), "0");
			EXPECT_EQ (v.attr ("handle-color"), "~ WhiteCColor");
			EXPECT_EQ (v.attr ("handle-shadow-color"), "~ GreyCColor");
			EXPECT_EQ (v.attr ("handle-line-width"), "1");
			EXPECT_EQ (v.attr ("tooltip"), "");
			EXPECT_EQ (v.attr ("sub-controller"), "");
		}
	}
	EXPECT_EQ (t->children[0]->attr ("height-of-one-image"), "49");
	EXPECT_EQ (t->children[1]->attr ("height-of-one-image"), "119");
}

TEST_F (UiDescriptionFile, ControlTagTable)
{
	const Node* tags = root->child ("control-tags");
	ASSERT_NE (tags, nullptr);
    const std::vector<std::pair<std::string, int>> expected = {{"Delay", 0},
                                                               {"Feedback", 1},
                                                               {"Cutoff", 2},
                                                               {"Resonance", 3},
                                                               {"Delay Ratio", 4},
                                                               {"Offset", 5},
                                                               {"Wet/Dry", 6},
                                                               {"Volume", 7},
                                                               {"Delay State", 8},
                                                               {"Active", 9},
                                                               {"Sync", 10},
                                                               {"Note", 11},
                                                               {"ASSIGNBUTTON_1", 32768},
                                                               {"ASSIGNBUTTON_2", 32769},
                                                               {"ASSIGNBUTTON_3", 32770},
                                                               {"JOYSTICK_X", 32773},
                                                               {"JOYSTICK_Y", 32774},
                                                               {"JOYSTICK", 32775},
                                                               {"TRACKPAD", 32776}};
    for (const auto& e : expected)
	{
		const Node* t = tags->child ("control-tag", e.first);
		ASSERT_NE (t, nullptr) << e.first;
		EXPECT_EQ (t->attr ("tag"), std::to_string (e.second)) << e.first;
	}
	for (int n = 0; n < 32; ++n)
	{
		const Node* t = tags->child ("control-tag", "TAB_CTRL_" + std::to_string (n));
		ASSERT_NE (t, nullptr) << n;
		EXPECT_EQ (t->attr ("tag"), std::to_string (65536 + n));
	}
	EXPECT_EQ (tags->children.size (), expected.size () + 32);
}

TEST_F (UiDescriptionFile, BitmapTableNamesEveryPlacedImage)
{
	const Node* bitmaps = root->child ("bitmaps");
	ASSERT_NE (bitmaps, nullptr);
	for (const ControlPlacement& p : kPlacements)
	{
        if (p.kind == ControlKind::Selector)
            continue;  // drawn, not a bitmap
        const Node* b = bitmaps->child ("bitmap", p.bitmapName);
		ASSERT_NE (b, nullptr) << p.bitmapName;
		EXPECT_EQ (b->attr ("path"), std::string (p.bitmapName) + ".png");
		EXPECT_EQ (b->attr ("vexatype"), p.kind == ControlKind::Knob ? "knob" : "onoffbtn");
	}
	const Node* back = bitmaps->child ("bitmap", "codeback");
	ASSERT_NE (back, nullptr);
	EXPECT_EQ (back->attr ("vexatype"), "backgnd");
	EXPECT_EQ (back->attr ("path"), "codeback.png");
	EXPECT_NE (back->attr ("nineparttiled-offsets"), "<missing>");
	ASSERT_NE (bitmaps->child ("bitmap", "onoff"), nullptr);
	EXPECT_EQ (bitmaps->child ("bitmap", "onoff")->attr ("vexatype"), "onoffbtn");
	ASSERT_NE (bitmaps->child ("bitmap", "knobvst"), nullptr);
	EXPECT_EQ (bitmaps->child ("bitmap", "knobvst")->attr ("vexatype"), "<missing>");
    EXPECT_EQ(bitmaps->children.size(), 14u);
}

TEST_F (UiDescriptionFile, CustomBlockKeepsTheAuthoringSettings)
{
	const Node* custom = root->child ("custom");
	ASSERT_NE (custom, nullptr);
	EXPECT_NE (custom->child ("attributes", "VST3Editor"), nullptr);
	EXPECT_NE (custom->child ("attributes", "UITemplateController"), nullptr);
	EXPECT_NE (custom->child ("attributes", "UIEditController"), nullptr);
	const Node* tool = nullptr;
	for (const auto& c : custom->children)
		if (c->attributes.count ("VEXACanvasWidth"))
			tool = c.get ();
	ASSERT_NE (tool, nullptr);
	EXPECT_EQ (tool->attr ("VEXAShowGrid"), "false");
	EXPECT_EQ (tool->attr ("VEXAGridSize"), "1");
	EXPECT_EQ (tool->attr ("VEXACanvasWidth"), "485");
	EXPECT_EQ (tool->attr ("VEXACanvasHeight"), "270");
	EXPECT_EQ (tool->attr ("AppendUnits"), "true");
	EXPECT_EQ (tool->attr ("TransparentEdits"), "true");
	EXPECT_EQ (tool->attr ("KnobAction"), "2");
	EXPECT_EQ (tool->attr ("default-blurb-color"), "~ BlackCColor");
}

TEST_F (UiDescriptionFile, OffScreenTemplateIsEmpty)
{
	const Node* t = root->child ("template", "Off Screen View 1");
	ASSERT_NE (t, nullptr);
	EXPECT_EQ (t->attr ("class"), "CViewContainer");
	EXPECT_EQ (t->attr ("size"), "1024, 790");
	EXPECT_EQ (t->attr ("minSize"), "1024, 790");
	EXPECT_EQ (t->attr ("maxSize"), "1024, 790");
	EXPECT_EQ (t->attr ("background-color"), "~ GreyCColor");
	EXPECT_EQ (t->attr ("bitmap"), "<missing>");
	EXPECT_TRUE (t->children.empty ());
}
