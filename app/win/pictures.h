// The artwork: bitmaps from the resources, GIFs decoded by the Windows
// Imaging Component, and the small window class that shows a picture.
#pragma once

#include <windows.h>

// The picture stored under resource `name` ("A" to "E") as a DIB section,
// or null. Bitmaps are RT_BITMAP resources; GIFs are RCDATA, decoded by
// windowscodecs.dll, loaded from System32 only.
HBITMAP LoadPicture(const wchar_t* name);

// Window class "ZarnPicture": paints the HBITMAP given with
// SetPicture, stretched to its client area (the size of the picture at 96
// dpi), and reacts to no key or click. With WS_TABSTOP it takes the focus
// without showing it.
extern const wchar_t kPictureClass[];
void RegisterPictureClass();
void SetPicture(HWND picture, HBITMAP bitmap);
