// GetPluginFactory of a small test module built from our SDK pieces and the SDK tests' effect.
#include "TestEffect.h"

#include "public.sdk/source/main/pluginfactory.h"

BEGIN_FACTORY_DEF ("Tarnwick Tests", "", "")
DEF_CLASS2 (INLINE_UID (0x5DC0FFEE, 0x12345678, 0x9ABCDEF0, 0x0F1E2D3C), PClassInfo::kManyInstances,
            kVstAudioEffectClass, "SDK Test Effect", 0, "Fx", "0.1.0.0", kVstVersionString,
            TarnwickTest::TestEffect::createInstance)
END_FACTORY
