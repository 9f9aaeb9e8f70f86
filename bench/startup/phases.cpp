// Where the panel's start-up time goes: clock readings around its parts, in
// a program built from the panel's own front end and resources. Each run is
// a fresh process (the first use of a system part is what start-up pays):
//
//   startup_phases parts   the parts alone: common controls, font lookup,
//                          picture decoding, each timed on its own
//   startup_phases wic     D and E decoded by the Windows Imaging Component
//                          instead, as the panel once did (loading the
//                          component, then decoding), for comparison
//   startup_phases open    the main window as the panel builds it: classes,
//                          Open (controls, fonts, load step, first paint),
//                          then the paint of whatever is still pending
//
// Prints one line of "name ms" pairs; bench/startup_phases.sh takes medians.
#include <windows.h>
#include <commctrl.h>
#include <wincodec.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/gif.h"
#include "app/layout.h"
#include "app/win/form.h"
#include "platform/win/system_library.h"

namespace {

double Now() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart * 1000.0 / freq.QuadPart;
}

// Fonts looked up and measured the way a chooser does: listed, created,
// selected, asked for their face and a caption's width.
void Fonts() {
    HDC dc = GetDC(nullptr);
    const wchar_t* faces[] = {L"MS Sans Serif", L"Monotype Corsiva"};
    for (const wchar_t* face : faces) {
        LOGFONTW lf = {};
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
        EnumFontFamiliesExW(
            dc, &lf, [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM) -> int { return 0; }, 0, 0);
        lf.lfHeight = -11;
        HFONT f = CreateFontIndirectW(&lf);
        HGDIOBJ old = SelectObject(dc, f);
        wchar_t got[LF_FACESIZE];
        GetTextFaceW(dc, LF_FACESIZE, got);
        SIZE size;
        GetTextExtentPoint32W(dc, L"Sound Volume", 12, &size);
        SelectObject(dc, old);
        DeleteObject(f);
    }
    ReleaseDC(nullptr, dc);
}

// Pictures A to E at 1x, as the picture windows load them.
void Pictures() {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    for (const wchar_t* name : {L"A", L"B", L"C"})
        DeleteObject(LoadImageW(inst, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    for (const wchar_t* name : {L"D", L"E"}) {
        HRSRC r = FindResourceW(inst, name, RT_RCDATA);
        app::GifPicture p;
        app::DecodeGif((const std::uint8_t*)LockResource(LoadResource(inst, r)), SizeofResource(inst, r), &p);
    }
}

// The imaging component's factory, created without COM as the panel once
// did; then D and E decoded through it to 32-bit pixels.
void WicLoad(IWICImagingFactory** factory) {
    HMODULE wic = LoadLibraryExW(L"windowscodecs.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    using Create = HRESULT(WINAPI*)(UINT, IWICImagingFactory**);
    auto create = platform::SystemFunction<Create>(wic, "WICCreateImagingFactory_Proxy");
    if (create) create(WINCODEC_SDK_VERSION, factory);
}

void WicDecode(IWICImagingFactory* factory) {
    static const GUID kBgr32 = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0e}};
    HINSTANCE inst = GetModuleHandleW(nullptr);
    for (const wchar_t* name : {L"D", L"E"}) {
        HRSRC r = FindResourceW(inst, name, RT_RCDATA);
        IWICStream* stream = nullptr;
        IWICBitmapDecoder* decoder = nullptr;
        IWICBitmapFrameDecode* frame = nullptr;
        IWICFormatConverter* converter = nullptr;
        UINT w = 0, h = 0;
        if (SUCCEEDED(factory->CreateStream(&stream)) &&
            SUCCEEDED(stream->InitializeFromMemory((BYTE*)LockResource(LoadResource(inst, r)), SizeofResource(inst, r))) &&
            SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) &&
            SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
            SUCCEEDED(converter->Initialize(frame, kBgr32, WICBitmapDitherTypeNone, nullptr, 0.0,
                                            WICBitmapPaletteTypeCustom)) &&
            SUCCEEDED(converter->GetSize(&w, &h))) {
            std::string pixels((size_t)w * h * 4, '\0');
            converter->CopyPixels(nullptr, w * 4, (UINT)pixels.size(), (BYTE*)&pixels[0]);
        }
        if (converter) converter->Release();
        if (frame) frame->Release();
        if (decoder) decoder->Release();
        if (stream) stream->Release();
    }
}

void PumpUntilIdle() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    bool open = argc > 1 && std::wcscmp(argv[1], L"open") == 0;
    bool wic = argc > 1 && std::wcscmp(argv[1], L"wic") == 0;
    double t = Now();
    auto lap = [&t](const char* name) {
        double now = Now();
        std::printf("%s %.2f ", name, now - t);
        t = now;
    };
    if (wic) {
        IWICImagingFactory* factory = nullptr;
        WicLoad(&factory);
        lap("wic-load");
        if (factory) WicDecode(factory);
        lap("wic-decode");
    } else if (!open) {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        HWND b = CreateWindowW(L"BUTTON", L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        lap("comctl32");
        Fonts();
        lap("fonts");
        Pictures();
        lap("pictures");
        DestroyWindow(b);
    } else {
        app::FormWindow::RegisterClasses();
        lap("classes");
        app::FormWindow window(app::kFrm1Layout);
        window.Open(nullptr, nullptr);
        lap("open");
        PumpUntilIdle();
        lap("pending");
    }
    std::printf("\n");
    return 0;
}
