// A probe effect (see tests/processor) that also keeps a copy of every GuiMessage
// it receives and answers the editor's questions as a test wants.
#pragma once

#include "ProbeEffect.h"

#include "effect/GuiMessage.h"

#include <string>
#include <vector>

struct GuiRecord
{
	uint32_t code = 0;
	std::string viewName;
	bool hasViewName = false;
	int32_t controlTag = 0;
	int32_t rect[4] = {0, 0, 0, 0};
	int32_t offset[2] = {0, 0};
	std::string bitmap, handleBitmap, offBitmap, orientation, platformType;
	bool hasBack = false, hasFrame = false, hasFont = false;
	GuiColour back {}, frame {}, font {};
	int32_t frameWidth = 0, roundRectRadius = 0, heightOfOneImage = 0, subImages = 0;
	bool noFrame = false, roundRect = false;
	void* editorPart = nullptr;
	void* parentWindow = nullptr;
	void* listener = nullptr;
	void* instanceHandle = nullptr;
	void* connector = nullptr;
	double value = 0.;
	int32_t parameterId = 0;
};

class EditorProbeEffect : public ProbeEffect
{
public:
	explicit EditorProbeEffect (const std::vector<ProbeControl>& controls, bool withEditor = true);

	void* handleGuiMessage (GuiMessage* message) override;

	std::vector<uint32_t> codes () const;
	int count (uint32_t code) const;

	std::vector<GuiRecord> records;
	// Answers: code 5 (draws its own editor), code 6 (opens it, with this size),
	// code 3 (builds a plain view for this name).
	bool drawsOwnEditor = false;
	bool opensOwnEditor = true;
	int32_t ownWidth = 400;
	int32_t ownHeight = 300;
	std::string viewItBuilds = "EffectView";
};
