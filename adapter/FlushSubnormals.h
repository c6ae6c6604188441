// Subnormal numbers are flushed to zero while a block is processed: a decaying echo would
// otherwise crawl through them many times slower than normal numbers. The host's own mode is
// restored on the way out. Every adapter's block goes through one, so that their audio agrees.
#pragma once

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace Vire2VUR3 {

class FlushSubnormalsScope
{
public:
#if defined(__SSE__)
	FlushSubnormalsScope () : saved (_mm_getcsr ()) { _mm_setcsr (saved | kFlushToZero | kDenormalsAreZero); }
	~FlushSubnormalsScope () { _mm_setcsr (saved); }

private:
	static constexpr unsigned int kFlushToZero = 0x8000;
	static constexpr unsigned int kDenormalsAreZero = 0x0040;
	unsigned int saved;
#endif
};

} // namespace Vire2VUR3
