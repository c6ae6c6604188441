#pragma once

#include <cstdint>

// Message codes of GuiMessage::messageCode.
enum GuiMessageCode : uint32_t
{
    kGuiDidOpen = 0,            // the editor's frame is open (again)
    kGuiWillClose = 1,          // the editor is about to close
    kGuiTimerPing = 2,          // one editor timer tick
    kGuiCreateCustomView = 3,   // create the named view and return it
    kGuiQueryOwnEditor = 5,     // does the effect draw its own editor?
    kGuiOpenOwnEditor = 6,      // open the effect's own editor in parentWindow
    kGuiCloseOwnEditor = 7,     // close it
    kGuiParameterChanged = 13   // parameterId now has the normalized value
};

// A colour as the editor layer hands it over: red, green, blue, alpha.
struct GuiColour
{
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    uint8_t alpha;
};

// The one record through which the editor layer and the controller side talk
// to an effect (CPlugIn::handleGuiMessage). Texts belong to the sender and are
// valid only during the call. Senders clear the record before filling it.
struct GuiMessage
{
    uint32_t messageCode;
    const char* viewName;
    int32_t controlTag;
    int32_t viewRect[4];           // left, top, right, bottom
    int32_t backgroundOffset[2];   // x, y
    const char* bitmap;
    const char* handleBitmap;
    const char* offBitmap;
    const char* orientation;
    GuiColour* backColour;
    GuiColour* frameColour;
    GuiColour* fontColour;
    int32_t frameWidth;
    int32_t roundRectRadius;
    bool noFrame;
    bool roundRect;
    int32_t heightOfOneImage;
    int32_t subImages;
    void* editorPart;
    void* parentWindow;
    void* listener;
    const char* platformType;
    double value;
    int32_t parameterId;
    void* instanceHandle;
    void* connector;
    bool ownEditorAnswer;
    int32_t ownEditorWidth;
    int32_t ownEditorHeight;
};
