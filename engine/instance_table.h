// The library's instances by handle. The C entry points are built on this; tests of the
// engine's inside use it to reach the instance behind a handle. Not exported: consumers
// read what the interface carries (CncGetElementDetail gives Code and Text).
#pragma once

#include <cstdint>

#include "engine/instance.h"

// The first live instance with the handle, or nullptr.
TCncInstance* FindInstance(int32_t handle);
