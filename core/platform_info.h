// The platform-information query: platform and device names, the disk identity, the local time,
// the battery charge and the program's build stamp, each as text for a case-insensitive key.
// The handheld's devices are read through the platform seam's paths; where they are missing (any
// desktop) the answers are "NO_DATA" and a charge of 0, never an error.
#pragma once

#include <ctime>

#include "core/dyn_string.h"
#include "core/types.h"

// The answer for key: "" -> "GP2X", "GLEXT:..." -> "0", "ID", "DEVICE" -> "WIZ", "TIME",
// "BATTERY", "COMPILED"; any other key -> "NO_DATA". The caller's key is not changed.
DynString GetPlatformInfo(const DynString& key);

// Battery charge 0..100 from the battery device, else from the ADC status device, else 0.
i32 GetBatteryPercent();

// "YYYY-MM-DD hh:mm:ss" of a broken-down local time; the year is not padded.
DynString FormatPlatformTime(const std::tm& t);

// The identity text that begins at byte 40 of a drive-identity block, bounded by the block.
constexpr u32 kDiskIdentityBlockSize = 512;
DynString DiskIdentityText(const u8 (&block)[kDiskIdentityBlockSize]);
