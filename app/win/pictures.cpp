#include "app/win/pictures.h"

#include <wincodec.h>

#include "app/win/system.h"

const wchar_t kPictureClass[] = L"ZarnPicture";

namespace {

// {6fddc324-4e03-4bfe-b185-3d77768dc90e}: 32 bits a pixel, blue-green-red.
const GUID kPixelFormat32bppBGR = {0x6fddc324, 0x4e03, 0x4bfe,
                                   {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0e}};

// The imaging factory, created without COM: windowscodecs.dll exports a
// creator that needs no CoInitialize, which keeps start-up short.
IWICImagingFactory* Factory() {
    static IWICImagingFactory* factory = [] () -> IWICImagingFactory* {
        HMODULE wic = LoadSystemLibrary(L"windowscodecs.dll");
        if (!wic) return nullptr;
        using Create = HRESULT(WINAPI*)(UINT, IWICImagingFactory**);
        auto create = reinterpret_cast<Create>(
            reinterpret_cast<void*>(GetProcAddress(wic, "WICCreateImagingFactory_Proxy")));
        IWICImagingFactory* f = nullptr;
        if (!create || FAILED(create(WINCODEC_SDK_VERSION, &f))) return nullptr;
        return f;
    }();
    return factory;
}

template <typename T>
void Release(T*& p) {
    if (p) p->Release();
    p = nullptr;
}

HBITMAP DecodeGif(const void* data, DWORD size) {
    IWICImagingFactory* factory = Factory();
    if (!factory) return nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    HBITMAP bitmap = nullptr;
    UINT w = 0, h = 0;
    void* bits = nullptr;
    if (SUCCEEDED(factory->CreateStream(&stream)) &&
        SUCCEEDED(stream->InitializeFromMemory((BYTE*)data, size)) &&
        SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand,
                                                   &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, kPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                        nullptr, 0.0, WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(converter->GetSize(&w, &h))) {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = (LONG)w;
        bi.bmiHeader.biHeight = -(LONG)h;  // top-down, as WIC gives rows
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap && FAILED(converter->CopyPixels(nullptr, w * 4, w * h * 4, (BYTE*)bits))) {
            DeleteObject(bitmap);
            bitmap = nullptr;
        }
    }
    Release(converter);
    Release(frame);
    Release(decoder);
    Release(stream);
    return bitmap;
}

LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        HBITMAP bitmap = (HBITMAP)GetWindowLongPtrW(hwnd, GWLP_USERDATA);
        BITMAP bm;
        if (bitmap && GetObjectW(bitmap, sizeof bm, &bm)) {
            HDC mem = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(mem, bitmap);
            int height = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
            if (rc.right == bm.bmWidth && rc.bottom == height) {
                BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
            } else {
                SetStretchBltMode(dc, HALFTONE);
                SetBrushOrgEx(dc, 0, 0, nullptr);
                StretchBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, bm.bmWidth, height, SRCCOPY);
            }
            SelectObject(mem, old);
            DeleteDC(mem);
        } else {
            FillRect(dc, &rc, (HBRUSH)GetStockObject(BLACK_BRUSH));
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_GETDLGCODE:
        return 0;  // takes no keys: Enter and Space do nothing here
    case WM_NCDESTROY: {
        HBITMAP bitmap = (HBITMAP)GetWindowLongPtrW(hwnd, GWLP_USERDATA);
        if (bitmap) DeleteObject(bitmap);
        break;
    }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

HBITMAP LoadPicture(const wchar_t* name) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    if (HRSRC res = FindResourceW(inst, name, RT_RCDATA)) {
        HGLOBAL g = LoadResource(inst, res);
        return g ? DecodeGif(LockResource(g), SizeofResource(inst, res)) : nullptr;
    }
    return (HBITMAP)LoadImageW(inst, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
}

void RegisterPictureClass() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = PictureProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kPictureClass;
    RegisterClassW(&wc);
}

void SetPicture(HWND picture, HBITMAP bitmap) {
    HBITMAP old = (HBITMAP)SetWindowLongPtrW(picture, GWLP_USERDATA, (LONG_PTR)bitmap);
    if (old) DeleteObject(old);
    InvalidateRect(picture, nullptr, FALSE);
}
