// In-process VST 3 host: everything a test or tool needs to load and drive a bundle.
#pragma once

#include "hostkit/ComponentHandlerRecorder.h"
#include "hostkit/HostEventList.h"
#include "hostkit/HostParameterChanges.h"
#include "hostkit/HostPlugFrame.h"
#include "hostkit/HostRunLoop.h"
#include "hostkit/HostTransport.h"
#include "hostkit/PluginInstance.h"
#include "hostkit/PluginModule.h"
#include "hostkit/StringConvert.h"
