// The library's instances by handle. The C entry points are built on this; velquor-cnc
// also uses it to read the internal fields (Code, Text) that do not cross the interface.
#pragma once

#include <cstdint>

#include "engine/instance.h"

// The first live instance with the handle, or nullptr.
TCncFileReader* FindInstance(int32_t handle);
