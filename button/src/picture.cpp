// Picture objects: bitmaps, icons and cursors from handles, files and resources. JPEG and
// PNG go through the system's imaging component (WIC) into a 32-bit DIB section.
#include "butt.h"
#include "dib.h"
#include "system_function.h"
#include "text.h"

#include <wincodec.h>

#include <algorithm>
#include <cwctype>

namespace butt {
namespace {

std::wstring Extension(const std::wstring& path) {
    const size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos || path.find_first_of(L"\\/", dot) != std::wstring::npos)
        return {};
    std::wstring extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return extension;
}

template <typename T> struct ComPtr {
    T* p = nullptr;
    ~ComPtr() {
        if (p)
            p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
};

// COM comes with the first JPEG or PNG, not with the program: ole32 is costly to load.
struct Com {
    using Initialize = HRESULT(WINAPI*)(void*, DWORD);
    using Create = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
    using Uninitialize = void(WINAPI*)();
    Initialize initialize = tv::SystemFunction<Initialize>(L"ole32.dll", "CoInitializeEx");
    Create create = tv::SystemFunction<Create>(L"ole32.dll", "CoCreateInstance");
    Uninitialize uninitialize = tv::SystemFunction<Uninitialize>(L"ole32.dll", "CoUninitialize");
};

// Decodes the first frame of an image file with WIC into a top-down 32-bit DIB section.
HBITMAP DecodeWithWic(const std::wstring& path, std::string& error) {
    static const Com com;
    if (!com.initialize || !com.create || !com.uninitialize) {
        error = "cannot read the image " + Narrow(path) + " (the system's COM is missing)";
        return nullptr;
    }
    const HRESULT init = com.initialize(nullptr, COINIT_APARTMENTTHREADED);
    const bool uninitialize = SUCCEEDED(init);
    HBITMAP bitmap = nullptr;
    {
        ComPtr<IWICImagingFactory> factory;
        ComPtr<IWICBitmapDecoder> decoder;
        ComPtr<IWICBitmapFrameDecode> frame;
        ComPtr<IWICFormatConverter> converter;
        UINT width = 0;
        UINT height = 0;
        HRESULT hr = com.create(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(&factory));
        if (SUCCEEDED(hr))
            hr = factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                    WICDecodeMetadataCacheOnDemand, &decoder);
        if (SUCCEEDED(hr))
            hr = decoder->GetFrame(0, &frame);
        if (SUCCEEDED(hr))
            hr = factory->CreateFormatConverter(&converter);
        if (SUCCEEDED(hr))
            hr =
                converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                      nullptr, 0.0, WICBitmapPaletteTypeCustom);
        if (SUCCEEDED(hr))
            hr = converter->GetSize(&width, &height);
        if (SUCCEEDED(hr) && (width == 0 || height == 0 || width > 16384 || height > 16384))
            hr = E_FAIL;
        if (SUCCEEDED(hr)) {
            tv::DibSection dib =
                tv::MakeDibSection(static_cast<int>(width), static_cast<int>(height));
            if (!dib.bitmap)
                hr = E_OUTOFMEMORY;
            else
                hr = converter->CopyPixels(nullptr, width * 4, width * height * 4,
                                           reinterpret_cast<BYTE*>(dib.bits));
            if (SUCCEEDED(hr))
                bitmap = dib.bitmap.release();
        }
        if (!bitmap)
            error = "cannot read the image " + Narrow(path) +
                    " (it is missing, damaged or not "
                    "a picture)";
    }
    if (uninitialize)
        com.uninitialize();
    return bitmap;
}

} // namespace

Picture::~Picture() {
    if (!handle_)
        return;
    if (kind_ == Kind::Bitmap)
        DeleteObject(handle_);
    else if (kind_ == Kind::Icon)
        DestroyIcon(static_cast<HICON>(handle_));
    else
        DestroyCursor(static_cast<HCURSOR>(handle_));
}

std::shared_ptr<Picture> Picture::FromBitmap(HBITMAP bitmap, std::string source) {
    if (!bitmap)
        return nullptr;
    return std::shared_ptr<Picture>(new Picture(Kind::Bitmap, bitmap, std::move(source)));
}

std::shared_ptr<Picture> Picture::FromIcon(HICON icon, Kind kind, std::string source) {
    if (!icon)
        return nullptr;
    return std::shared_ptr<Picture>(new Picture(kind, icon, std::move(source)));
}

std::shared_ptr<Picture> Picture::LoadFile(const std::wstring& path, std::string& error,
                                           std::string storedPath) {
    // Paths are kept and stored as UTF-8, so that a picture from any folder can be saved with
    // its control and found again when the control is loaded.
    const std::string source = "file:" + (storedPath.empty() ? Narrow(path) : storedPath);
    const std::wstring extension = Extension(path);
    if (extension == L"bmp") {
        const auto bitmap = static_cast<HBITMAP>(LoadImageW(
            nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        if (bitmap)
            return FromBitmap(bitmap, source);
        // Newer bitmap headers the system loader declines may still be read by WIC.
        const HBITMAP decoded = DecodeWithWic(path, error);
        if (!decoded)
            error = "cannot read the bitmap " + Narrow(path);
        return decoded ? FromBitmap(decoded, source) : nullptr;
    }
    if (extension == L"ico" || extension == L"cur") {
        const bool cursor = extension == L"cur";
        // At its own size (the file's first image): the control measures the picture, so a
        // 24 x 24 icon must not come back stretched to the system's icon size.
        const auto icon = static_cast<HICON>(LoadImageW(
            nullptr, path.c_str(), cursor ? IMAGE_CURSOR : IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
        if (!icon) {
            error = std::string("cannot read the ") + (cursor ? "cursor " : "icon ") + Narrow(path);
            return nullptr;
        }
        return FromIcon(icon, cursor ? Kind::Cursor : Kind::Icon, source);
    }
    const HBITMAP bitmap = DecodeWithWic(path, error);
    return bitmap ? FromBitmap(bitmap, source) : nullptr;
}

std::shared_ptr<Picture> Picture::LoadResource(HMODULE module, const std::string& name, Kind kind,
                                               std::string& error) {
    const char* kindName = kind == Kind::Bitmap ? "bitmap" : kind == Kind::Icon ? "icon" : "cursor";
    const std::string source = std::string("res:") + kindName + ":" + name;
    const UINT type = kind == Kind::Bitmap ? IMAGE_BITMAP
                      : kind == Kind::Icon ? IMAGE_ICON
                                           : IMAGE_CURSOR;
    // "#123" names a numbered resource, anything else a named one.
    const char* resource = name.c_str();
    if (name.size() > 1 && name[0] == '#')
        resource = MAKEINTRESOURCEA(std::atoi(name.c_str() + 1));
    // Icons and cursors at their own size, as from files.
    const HANDLE handle =
        LoadImageA(module, resource, type, 0, 0, kind == Kind::Bitmap ? LR_CREATEDIBSECTION : 0);
    if (!handle) {
        error = std::string("there is no ") + kindName + " resource " + name;
        return nullptr;
    }
    if (kind == Kind::Bitmap)
        return FromBitmap(static_cast<HBITMAP>(handle), source);
    return FromIcon(static_cast<HICON>(handle), kind, source);
}

} // namespace butt
