#include "EditorProbeEffect.h"

#include "vstgui/lib/cview.h"

EditorProbeEffect::EditorProbeEffect (const std::vector<ProbeControl>& controls, bool withEditor)
: ProbeEffect (controls)
{
	hasEditor = withEditor;
	options.knobMode = 2;
}

static std::string textOf (const char* t)
{
	return t ? std::string (t) : std::string ();
}

void* EditorProbeEffect::handleGuiMessage (GuiMessage* m)
{
	ProbeEffect::handleGuiMessage (m);
	if (!m)
		return nullptr;
	GuiRecord r;
	r.code = m->messageCode;
	r.hasViewName = m->viewName != nullptr;
	r.viewName = textOf (m->viewName);
	r.controlTag = m->controlTag;
	for (int i = 0; i < 4; ++i)
		r.rect[i] = m->viewRect[i];
	r.offset[0] = m->backgroundOffset[0];
	r.offset[1] = m->backgroundOffset[1];
	r.bitmap = textOf (m->bitmap);
	r.handleBitmap = textOf (m->handleBitmap);
	r.offBitmap = textOf (m->offBitmap);
	r.orientation = textOf (m->orientation);
	r.platformType = textOf (m->platformType);
	r.hasBack = m->backColour != nullptr;
	r.hasFrame = m->frameColour != nullptr;
	r.hasFont = m->fontColour != nullptr;
	if (m->backColour)
		r.back = *m->backColour;
	if (m->frameColour)
		r.frame = *m->frameColour;
	if (m->fontColour)
		r.font = *m->fontColour;
	r.frameWidth = m->frameWidth;
	r.roundRectRadius = m->roundRectRadius;
	r.heightOfOneImage = m->heightOfOneImage;
	r.subImages = m->subImages;
	r.noFrame = m->noFrame;
	r.roundRect = m->roundRect;
	r.editorPart = m->editorPart;
	r.parentWindow = m->parentWindow;
	r.listener = m->listener;
	r.instanceHandle = m->instanceHandle;
	r.connector = m->connector;
	r.value = m->value;
	r.parameterId = m->parameterId;
	records.push_back (r);

	switch (m->messageCode)
	{
		case kGuiQueryOwnEditor:
			if (drawsOwnEditor)
				m->ownEditorAnswer = true;
			return nullptr;
		case kGuiOpenOwnEditor:
			if (!opensOwnEditor)
				return nullptr;
			m->ownEditorWidth = ownWidth;
			m->ownEditorHeight = ownHeight;
			return this;
		case kGuiCreateCustomView:
			if (m->viewName && viewItBuilds == m->viewName)
				return new VSTGUI::CView (
				    VSTGUI::CRect (m->viewRect[0], m->viewRect[1], m->viewRect[2], m->viewRect[3]));
			return nullptr;
		default: return nullptr;
	}
}

std::vector<uint32_t> EditorProbeEffect::codes () const
{
	std::vector<uint32_t> c;
	for (const auto& r : records)
		c.push_back (r.code);
	return c;
}

int EditorProbeEffect::count (uint32_t code) const
{
	int n = 0;
	for (const auto& r : records)
		if (r.code == code)
			++n;
	return n;
}
