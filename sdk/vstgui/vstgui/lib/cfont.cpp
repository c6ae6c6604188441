#include "cfont.h"

namespace VSTGUI {

// Stock fonts live as long as the module.
static CFontDesc gSystemFont ("DejaVu Sans", 12);
static CFontDesc gNormalFontVeryBig ("DejaVu Sans", 18);
static CFontDesc gNormalFontBig ("DejaVu Sans", 14);
static CFontDesc gNormalFont ("DejaVu Sans", 12);
static CFontDesc gNormalFontSmall ("DejaVu Sans", 11);
static CFontDesc gNormalFontSmaller ("DejaVu Sans", 10);
static CFontDesc gNormalFontVerySmall ("DejaVu Sans", 9);
static CFontDesc gSymbolFont ("DejaVu Sans", 12);

CFontRef kSystemFont = &gSystemFont;
CFontRef kNormalFontVeryBig = &gNormalFontVeryBig;
CFontRef kNormalFontBig = &gNormalFontBig;
CFontRef kNormalFont = &gNormalFont;
CFontRef kNormalFontSmall = &gNormalFontSmall;
CFontRef kNormalFontSmaller = &gNormalFontSmaller;
CFontRef kNormalFontVerySmall = &gNormalFontVerySmall;
CFontRef kSymbolFont = &gSymbolFont;

} // namespace VSTGUI
