// The editor as a host drives it, through the built bundle, in an X server (Xvfb):
//   tarnwick_editor_bench open SCALE        create, attach and draw the first picture (counted)
//   tarnwick_editor_bench idle TICKS        timer ticks of an open editor, nothing changing (counted)
//   tarnwick_editor_bench moving TICKS      timer ticks while the host moves "Delay" every tick (counted)
//   tarnwick_editor_bench memory SCALE      bytes held while open and after closing (printed)
// Counted parts run with callgrind's collection on (run under --collect-atstart=no); the rest
// (loading the module, the host's window, waiting for the next tick) is not counted.
#include "hostkit/HostKit.h"

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <X11/Xlib.h>
#include <valgrind/callgrind.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <string>
#include <thread>

using namespace Tarnwick::HostKit;
using namespace Steinberg;

namespace {

// Bytes in use on the heap, large mapped blocks included (decoded images live there).
long long heapBytes()
{
    malloc_trim(0);
    const struct mallinfo2 m = mallinfo2();
    return static_cast<long long>(m.uordblks) + static_cast<long long>(m.hblkhd);
}

class Bench
{
public:
    bool start()
    {
        display = XOpenDisplay(nullptr);
        if (!display)
            return fail("no X display (run under xvfb-run)");
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 485 * 4, 270 * 4, 0, 0, 0);
        XMapWindow(display, window);
        XSync(display, False);
        if (!module.load(TARNWICK_BENCH_BUNDLE))
            return fail(module.error());
        instance.reset(new PluginInstance(module));
        if (!instance->create())
            return fail(instance->error());
        return true;
    }
    ~Bench()
    {
        close();
        instance.reset();
        module.unload();
        if (display)
        {
            XDestroyWindow(display, window);
            XCloseDisplay(display);
        }
    }

    bool open(double scale)
    {
        view = instance->createView();
        if (!view)
            return fail("no editor");
        FUnknownPtr<IPlugViewContentScaleSupport> scaling(view);
        if (scaling)
            scaling->setContentScaleFactor(static_cast<IPlugViewContentScaleSupport::ScaleFactor>(scale));
        view->setFrame(&frame);
        if (view->attached(reinterpret_cast<void*>(window), kPlatformTypeX11EmbedWindowID) != kResultTrue)
            return fail("attach refused");
        // The first picture reaches the window with the first events handled.
        runLoop.runOnce(0);
        return true;
    }
    void close()
    {
        if (!view)
            return;
        view->removed();
        view->setFrame(nullptr);
        view = nullptr;
    }
    // Waits (uncounted) until the editor's 50 ms timer is due again, then runs the loop once.
    void tick(bool counted)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(55));
        XSync(display, False);
        if (counted)
            CALLGRIND_TOGGLE_COLLECT;
        runLoop.runOnce(0);
        if (counted)
            CALLGRIND_TOGGLE_COLLECT;
    }
    void settle()
    {
        for (int i = 0; i < 4; ++i)
            tick(false);
    }
    PluginInstance& plugin() { return *instance; }

    bool fail(const std::string& why)
    {
        std::fprintf(stderr, "tarnwick_editor_bench: %s\n", why.c_str());
        return false;
    }

private:
    Display* display{nullptr};
    Window window{0};
    PluginModule module;
    std::unique_ptr<PluginInstance> instance;
    HostRunLoop runLoop;
    HostPlugFrame frame{&runLoop};
    IPtr<IPlugView> view;
};

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: %s open|idle|moving|memory N\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    const double n = std::atof(argv[2]);
    Bench bench;
    if (!bench.start())
        return 1;
    if (mode == "open")
    {
        CALLGRIND_TOGGLE_COLLECT;
        const bool opened = bench.open(n);
        CALLGRIND_TOGGLE_COLLECT;
        if (!opened)
            return 1;
        std::printf("ticks 1\n");
        return 0;
    }
    if (mode == "idle" || mode == "moving")
    {
        if (!bench.open(1.))
            return 1;
        bench.settle();
        const int ticks = static_cast<int>(n);
        for (int i = 0; i < ticks; ++i)
        {
            if (mode == "moving")
                bench.plugin().getController()->setParamNormalized(0, 0.2 + 0.01 * i);
            bench.tick(true);
        }
        std::printf("ticks %d\n", ticks);
        return 0;
    }
    if (mode == "memory")
    {
        bench.settle();
        const long long before = heapBytes();
        if (!bench.open(n))
            return 1;
        bench.settle();
        const long long open = heapBytes();
        bench.close();
        bench.settle();
        const long long closed = heapBytes();
        std::printf("held_open %lld\nheld_after_close %lld\n", open - before, closed - before);
        return 0;
    }
    std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
    return 2;
}
