// Creates the toolkit's own views by class name and applies description attributes to them.
#pragma once

#include "../lib/cview.h"

namespace VSTGUI {

class IUIDescription;
class UIAttributes;

namespace UIViewFactory {

// A new view of the class named by the "class" attribute, attributes applied; null for an unknown class.
CView* createView (const UIAttributes& attributes, const IUIDescription* description);
// Applies every attribute the view's classes understand.
void applyAttributes (CView* view, const UIAttributes& attributes, const IUIDescription* description);

} // namespace UIViewFactory
} // namespace VSTGUI
