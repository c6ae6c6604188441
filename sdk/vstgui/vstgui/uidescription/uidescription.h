// The UI description: an XML file (VSTGUI 4 ".uidesc") read with expat, holding
// fonts, colours, bitmaps, control tags, gradients, templates of nested views and
// free attribute sets. Views are created from a template by class name.
#pragma once

#include "iuidescription.h"
#include "uiattributes.h"
#include "../lib/cview.h"
#include <memory>
#include <vector>

namespace VSTGUI {

class IViewFactory;

//------------------------------------------------------------------------
class UIDescription : public CBaseObject, public IUIDescription
{
public:
	// A file name (looked up like bitmaps: the bundle's Resources, or absolute path).
	explicit UIDescription (const CResourceDescription& xmlFile);
	// XML text held in memory.
	UIDescription (const char* xmlData, size_t size);
	~UIDescription () override;

	// Reads the description; false when it is missing or malformed (the parts read
	// before an error are kept, so templates may be partial).
	virtual bool parse ();
	bool isParsed () const { return parsed; }
	const std::string& getParseError () const { return parseError; }

	// Builds the template's views; null when there is no such template.
	// The controller (may be null) gets custom-view and sub-controller requests.
	virtual CView* createView (UTF8StringPtr templateName, IController* controller);
	void setController (IController* controller) { currentController = controller; }

	// IUIDescription
	CBitmap* getBitmap (UTF8StringPtr name) const override;
	CFontDesc* getFont (UTF8StringPtr name) const override;
	bool getColor (UTF8StringPtr name, CColor& color) const override;
	CGradient* getGradient (UTF8StringPtr name) const override;
	int32_t getTagForName (UTF8StringPtr name) const override;
	IControlListener* getControlListener (UTF8StringPtr name) const override;
	IController* getController () const override { return currentController; }
	const UIAttributes* getCustomAttributes (UTF8StringPtr name) const override;
	const UIAttributes* getViewAttributes (UTF8StringPtr name) const override;

	std::vector<std::string> getTemplateNames () const;
	std::vector<std::string> getColorNames () const;
	std::vector<std::string> getBitmapNames () const;
	std::vector<std::string> getControlTagNames () const;
	std::vector<std::string> getFontNames () const;
	std::vector<std::string> getGradientNames () const;
	std::vector<std::string> getCustomAttributeNames () const;
	// The file a bitmap entry names (its "path"), or empty.
	std::string getBitmapPath (UTF8StringPtr name) const;

	// "~ BlackCColor" and the other built-in names, or "#rrggbb[aa]".
	static bool parseColor (const std::string& text, CColor& color);
	static bool lookupBuiltinColor (const std::string& name, CColor& color);

	// One element of the description tree (templates keep their views as children).
	struct Node
	{
		std::string name;
		UIAttributes attributes;
		std::vector<std::unique_ptr<Node>> children;
	};
	const Node* getRootNode () const { return root.get (); }

private:
	struct Parser;
	const Node* findSection (const char* section) const;
	const Node* findChild (const char* section, const char* name) const;
	CView* createViewFromNode (const Node& node, IController* controller, bool isTemplate);

	CResourceDescription xmlFile;
	std::string xmlData;
	bool fromMemory {false};
	bool parsed {false};
	std::string parseError;
	std::unique_ptr<Node> root;
	IController* currentController {nullptr};
	int templateDepth {0};
	// Template inclusions made by the current createView: a template that includes itself
	// several times would otherwise grow exponentially with the depth.
	int templateIncludes {0};
	mutable std::map<std::string, SharedPointer<CBitmap>> bitmapCache;
	mutable std::map<std::string, SharedPointer<CFontDesc>> fontCache;
	mutable std::map<std::string, SharedPointer<CGradient>> gradientCache;
};

} // namespace VSTGUI
