// What a musician's hands meet in the real editor, loaded from the built bundle: the value
// shown in place of the label, fine and coarse drags, resets to the default, the wheel, and
// opening and closing that leaves nothing behind.
#include <gtest/gtest.h>  // before Xlib, whose macros (None, Bool) clash with it

#include "BundleEditorFixture.h"

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cmath>
#include <malloc.h>

namespace {

constexpr int kDelayCentreX = kDelayKnobLeft + kDelayKnobSize / 2;
constexpr int kDelayCentreY = kDelayKnobTop + kDelayKnobSize / 2;
// Where the label "DELAY" is printed under the knob (its baseline at 264).
constexpr int kDelayLabelX = 14, kDelayLabelY = 255, kDelayLabelW = 79, kDelayLabelH = 12;
// The Sync switch's slot, the note selector's and the readout over the label "NOTE".
constexpr int kSyncX = 135, kSyncY = 18;
constexpr int kNoteX = 366, kNoteY = 21;
constexpr int kNoteLabelX = 337, kNoteLabelY = 35, kNoteLabelW = 58, kNoteLabelH = 12;
// The name plate: over no control.
constexpr int kNowhereX = 240, kNowhereY = 20;

int labelDifferences(const X11Test::Screenshot& a, const X11Test::Screenshot& b)
{
    return a.differences(b, kDelayLabelX, kDelayLabelY, kDelayLabelW, kDelayLabelH);
}

void shift(Display* display, bool down)
{
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, XK_Shift_L), down ? True : False, CurrentTime);
    XFlush(display);
}

long long heapBytes()
{
    malloc_trim(0);
    const struct mallinfo2 m = mallinfo2();
    return static_cast<long long>(m.uordblks) + static_cast<long long>(m.hblkhd);
}

}  // namespace

using BundleEditorHandsX11 = BundleEditorX11;

TEST_F(BundleEditorHandsX11, HoverShowsTheValueInPlaceOfTheLabelUntilTheMouseLeaves)
{
    PluginInstance& instance = newInstance();
    HostRunLoop runLoop;
    OpenEditor editor(instance, &runLoop);
    ASSERT_EQ(editor.attachResult, kResultTrue);
    instance.getController()->setParamNormalized(0, 0.175);  // 350 ms
    editor.window.moveTo(kNowhereX, kNowhereY);
    editor.window.pump(&runLoop, 150);
    const auto label = editor.window.screenshot();

    editor.window.moveTo(kDelayCentreX, kDelayCentreY);
    editor.window.pump(&runLoop, 150);
    const auto value350 = editor.window.screenshot();
    EXPECT_GT(labelDifferences(label, value350), 60);
    // Only the label's place changed.
    EXPECT_EQ(label.differences(value350, 0, 0, 485, kDelayLabelY), 0);

    // It is the value: another value under the mouse reads differently.
    instance.getController()->setParamNormalized(0, 0.35);
    editor.window.pump(&runLoop, 150);
    EXPECT_GT(labelDifferences(value350, editor.window.screenshot()), 10);

    editor.window.moveTo(kNowhereX, kNowhereY);
    editor.window.pump(&runLoop, 150);
    EXPECT_EQ(labelDifferences(label, editor.window.screenshot()), 0);
    EXPECT_EQ(instance.parameterText(0, 0.175), "350.00");
}

TEST_F(BundleEditorHandsX11, ADragShowsTheChangingValueAndReportsOneEdit)
{
    PluginInstance& instance = newInstance();
    HostRunLoop runLoop;
    OpenEditor editor(instance, &runLoop);
    ASSERT_EQ(editor.attachResult, kResultTrue);
    instance.getController()->setParamNormalized(0, 0.5);
    editor.window.moveTo(kNowhereX, kNowhereY);
    editor.window.pump(&runLoop, 150);
    const auto label = editor.window.screenshot();
    instance.handler().clear();

    editor.window.moveTo(kDelayCentreX, kDelayCentreY);
    editor.window.pump(&runLoop, 60);
    editor.window.press();
    editor.window.pump(&runLoop, 40);
    std::vector<X11Test::Screenshot> during;
    for (int step = 1; step <= 3; ++step)
    {
        editor.window.moveTo(kDelayCentreX, kDelayCentreY - 15 * step);
        editor.window.pump(&runLoop, 80);
        during.push_back(editor.window.screenshot());
    }
    // Off the knob, the drag's length the same (linear mode adds up and right): the value stays.
    editor.window.moveTo(kDelayCentreX + 60, kDelayCentreY - 45 + 60);
    editor.window.pump(&runLoop, 80);
    during.push_back(editor.window.screenshot());
    editor.window.release();
    editor.window.pump(&runLoop, 150);

    EXPECT_GT(labelDifferences(label, during[0]), 60);
    EXPECT_GT(labelDifferences(during[0], during[1]), 10);
    EXPECT_GT(labelDifferences(during[1], during[2]), 10);
    EXPECT_EQ(labelDifferences(during[2], during[3]), 0);
    EXPECT_EQ(labelDifferences(label, editor.window.screenshot()), 0);
    EXPECT_NEAR(instance.getParamNormalized(0), 0.5 + 45. / 200., 0.006);
    EXPECT_EQ(instance.handler().countEdits(HandlerCall::kBeginEdit, 0), 1u);
    EXPECT_EQ(instance.handler().countEdits(HandlerCall::kEndEdit, 0), 1u);
    EXPECT_GE(instance.handler().countEdits(HandlerCall::kPerformEdit, 0), 3u);
}

TEST_F(BundleEditorHandsX11, ShiftDragMovesLessThanThePlainDragOfTheSameLength)
{
    PluginInstance& instance = newInstance();
    HostRunLoop runLoop;
    OpenEditor editor(instance, &runLoop);
    ASSERT_EQ(editor.attachResult, kResultTrue);
    auto dragUp = [&](bool fine) {
        instance.getController()->setParamNormalized(2, 0.5);
        editor.window.pump(&runLoop, 300);  // apart from any earlier click: no double-click
        if (fine)
            shift(editor.window.display(), true);
        editor.window.drag(kCutoffCentreX, kCutoffCentreY, kCutoffCentreX, kCutoffCentreY - 40, 8, &runLoop);
        if (fine)
            shift(editor.window.display(), false);
        editor.window.pump(&runLoop, 50);
        return instance.getParamNormalized(2) - 0.5;
    };
    const double plain = dragUp(false);
    const double fine = dragUp(true);
    EXPECT_NEAR(plain, 0.2, 0.006);
    EXPECT_GT(fine, 0.02);
    EXPECT_LT(fine, plain * 0.8);
}

TEST_F(BundleEditorHandsX11, DoubleClickAndCtrlClickReturnCutoffTo16000HzAndTheWheelSteps)
{
    PluginInstance& instance = newInstance();
    HostRunLoop runLoop;
    OpenEditor editor(instance, &runLoop);
    ASSERT_EQ(editor.attachResult, kResultTrue);
    instance.getController()->setParamNormalized(2, 0.3);
    editor.window.pump(&runLoop, 300);
    instance.handler().clear();
    editor.window.click(kCutoffCentreX, kCutoffCentreY, &runLoop);
    editor.window.click(kCutoffCentreX, kCutoffCentreY, &runLoop);
    EXPECT_EQ(instance.parameterText(2), "16000.00");
    EXPECT_EQ(instance.handler().countEdits(HandlerCall::kPerformEdit, 2), 1u);
    EXPECT_EQ(instance.handler().countEdits(HandlerCall::kBeginEdit, 2),
              instance.handler().countEdits(HandlerCall::kEndEdit, 2));

    instance.getController()->setParamNormalized(2, 0.3);
    editor.window.pump(&runLoop, 300);
    Display* display = editor.window.display();
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, XK_Control_L), True, CurrentTime);
    editor.window.click(kCutoffCentreX, kCutoffCentreY, &runLoop);
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, XK_Control_L), False, CurrentTime);
    editor.window.pump(&runLoop, 50);
    EXPECT_EQ(instance.parameterText(2), "16000.00");

    // The wheel: a tenth of the range a notch, up and down.
    instance.getController()->setParamNormalized(2, 0.5);
    editor.window.pump(&runLoop, 300);
    instance.handler().clear();
    editor.window.moveTo(kCutoffCentreX, kCutoffCentreY);
    editor.window.pump(&runLoop, 30);
    editor.window.press(4);
    editor.window.release(4);
    editor.window.pump(&runLoop, 80);
    EXPECT_NEAR(instance.getParamNormalized(2), 0.6, 1e-6);
    editor.window.press(5);
    editor.window.release(5);
    editor.window.press(5);
    editor.window.release(5);
    editor.window.pump(&runLoop, 80);
    EXPECT_NEAR(instance.getParamNormalized(2), 0.4, 1e-6);
    EXPECT_EQ(instance.handler().countEdits(HandlerCall::kBeginEdit, 2), 3u);
    EXPECT_EQ(instance.handler().countEdits(HandlerCall::kEndEdit, 2), 3u);
}

TEST_F(BundleEditorHandsX11, SyncClickTogglesAndTheNoteStepsByWholeNotesUnderDragAndWheel)
{
    PluginInstance& instance = newInstance();
    HostRunLoop runLoop;
    OpenEditor editor(instance, &runLoop);
    ASSERT_EQ(editor.attachResult, kResultTrue);
    instance.handler().clear();
    editor.window.click(kSyncX, kSyncY, &runLoop);
    EXPECT_EQ(instance.parameterText(10), "On");
    EXPECT_EQ(instance.handler().countEdits(HandlerCall::kBeginEdit, 10), 1u);
    EXPECT_EQ(instance.handler().countEdits(HandlerCall::kPerformEdit, 10), 1u);
    EXPECT_EQ(instance.handler().countEdits(HandlerCall::kEndEdit, 10), 1u);

    editor.window.moveTo(kNowhereX, kNowhereY);
    editor.window.pump(&runLoop, 150);
    const auto label = editor.window.screenshot();
    editor.window.moveTo(kNoteX, kNoteY);
    editor.window.pump(&runLoop, 150);
    const auto hovered = editor.window.screenshot();
    EXPECT_GT(hovered.differences(label, kNoteLabelX, kNoteLabelY, kNoteLabelW, kNoteLabelH), 40);

    // 28 pixels up: three whole notes (eight pixels a note), 1/4 -> 1/2, as one edit.
    instance.handler().clear();
    editor.window.drag(kNoteX, kNoteY + 14, kNoteX, kNoteY - 14, 7, &runLoop);
    EXPECT_EQ(instance.getParamNormalized(11), 15.0 / 20.0);
    EXPECT_EQ(instance.parameterText(11), "1/2");
    EXPECT_EQ(instance.handler().countEdits(HandlerCall::kBeginEdit, 11), 1u);
    EXPECT_EQ(instance.handler().countEdits(HandlerCall::kEndEdit, 11), 1u);
    const auto dragged = editor.window.screenshot();
    EXPECT_GT(dragged.differences(hovered, kNoteLabelX, kNoteLabelY, kNoteLabelW, kNoteLabelH), 10);

    // A wheel notch is one note, either way, and stops at the ends.
    editor.window.moveTo(kNoteX, kNoteY);
    editor.window.pump(&runLoop, 30);
    editor.window.press(5);
    editor.window.release(5);
    editor.window.pump(&runLoop, 80);
    EXPECT_NEAR(instance.getParamNormalized(11), 14.0 / 20.0, 1e-6);
    EXPECT_EQ(instance.parameterText(11), "1/4D");
    for (int notch = 0; notch < 8; ++notch)
    {
        editor.window.press(4);
        editor.window.release(4);
    }
    editor.window.pump(&runLoop, 80);
    EXPECT_EQ(instance.parameterText(11), "2/1");
    EXPECT_EQ(instance.handler().countEdits(HandlerCall::kBeginEdit, 11),
              instance.handler().countEdits(HandlerCall::kEndEdit, 11));
}

TEST_F(BundleEditorHandsX11, TwentyOpenCloseCyclesAtScalesOneAndTwoLeaveNothingBehind)
{
    PluginInstance& instance = newInstance();
    HostRunLoop runLoop;
    auto cycle = [&](double scale) {
        OpenEditor editor(instance, &runLoop, 485 * static_cast<int>(scale), 270 * static_cast<int>(scale), scale);
        ASSERT_EQ(editor.attachResult, kResultTrue);
        // Hovered and turned, so that values and painted frames are made too.
        editor.window.drag(kCutoffCentreX * static_cast<int>(scale), kCutoffCentreY * static_cast<int>(scale),
                           kCutoffCentreX * static_cast<int>(scale), (kCutoffCentreY - 20) * static_cast<int>(scale), 2,
                           &runLoop);
        editor.close();
        EXPECT_EQ(runLoop.eventHandlerCount(), 0u);
        EXPECT_EQ(runLoop.timerCount(), 0u);
    };
    // Once at scale 1 for what the process keeps of any X client (fonts, connections' tables).
    cycle(1.);
    const long long start = heapBytes();
    for (int i = 0; i < 20; ++i)
    {
        cycle(1.);
        cycle(2.);
    }
    // One open editor at scale 2 holds several megabytes; what stays must be far less.
    EXPECT_LT(heapBytes() - start, 512 * 1024);
}
