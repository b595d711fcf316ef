#pragma once

#include <windows.h>

namespace SkinUI {

// Alpha blending and gradient fills of the system image library (msimg32), looked up once per process.
using AlphaBlendProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
using GradientFillProc = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// The system's AlphaBlend, or SoftwareAlphaBlend where the system lacks it. Never null.
AlphaBlendProc AlphaBlendFunction();
// The system's GradientFill, or null where the system lacks it.
GradientFillProc GradientFillFunction();

// AlphaBlend in software, with the same contract for what the engine draws: the source must be a 32-bit
// bitmap selected into `source`; its rectangle must lie inside it. Scaling takes the nearest pixel; the
// destination's clip region is honoured.
BOOL WINAPI SoftwareAlphaBlend(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                               int sourceY, int sourceWidth, int sourceHeight, BLENDFUNCTION blend);

}  // namespace SkinUI
