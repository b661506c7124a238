#pragma once

// Everything a client or server of the automation interface uses.
#include "platform/com/com_error.h"
#include "platform/com/com_object.h"
#include "platform/com/com_ptr.h"
#include "platform/com/connection_point.h"
#include "platform/com/dispparams.h"
#include "platform/com/event_source.h"
#include "platform/com/guid.h"
#include "platform/com/hresult.h"
#include "platform/com/registry.h"
#include "platform/com/types.h"
#include "platform/com/unknown.h"
#include "platform/com/variant.h"
