// The artwork: pictures A to E from the resources, each drawn for 1, 1.5 and
// 2 times its size, and the small window class that shows one at the
// window's DPI.
#pragma once

#include <windows.h>

namespace app {

// Window class "ZarnPicture": shows the picture named with SetPicture. The
// window is laid out at the picture's 96-dpi size in twips; it draws the
// picture made for the nearest scale at or above that size (1x at 96 dpi,
// 1.5x up to 144, 2x above), 1:1 when that is its client size (give or take
// the last pixel) and otherwise resampled to it once, smoothly. Only the
// drawing in use is ever loaded. It reacts to no key or click; with
// WS_TABSTOP it takes the focus without showing it.
extern const wchar_t kPictureClass[];
void RegisterPictureClass();

// Shows the picture stored under resource `name` ("A" to "E"; the larger
// drawings are "A_150" and "A_200", ...). Bitmaps are RT_BITMAP resources, GIFs RCDATA.
void SetPicture(HWND picture, const char* name);

// Which drawing fills `client` for a picture of `natural` size at 1x: 0 for
// 1x, 1 for 1.5x, 2 for 2x (the largest also when none is large enough).
int PictureScaleFor(SIZE natural, SIZE client);

}  // namespace app
