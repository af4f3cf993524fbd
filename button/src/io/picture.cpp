// Picture objects: bitmaps, icons and cursors from handles, files and resources. A file is
// read whole through one handle (at most 16 MiB) and decoded from memory by its extension:
// BMP, ICO and CUR here, JPEG and PNG by those two decoders of the system's imaging
// component (WIC) into a 32-bit DIB section, never by whatever codec claims the bytes.
#include "bag_grammar.h"
#include "butt.h"
#include "dib.h"
#include "handles.h"
#include "property_bag.h"
#include "system_function.h"
#include "text.h"

#include <wincodec.h>

#include <cstring>

namespace butt {
namespace {

constexpr std::size_t kMaxFileBytes = 16u << 20;
constexpr long kMaxSide = 4096;

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

bool SizeTooLarge(long width, long height, std::string& why) {
    if (width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide)
        return false;
    why = "it is " + std::to_string(width) + " x " + std::to_string(height) +
          " pixels; a picture of 1 x 1 to 4096 x 4096 is read";
    return true;
}

// The first frame of a JPEG or PNG file's bytes, as a top-down 32-bit DIB section.
HBITMAP DecodeWithWic(const std::string& bytes, const GUID& container, std::string& why) {
    static const Com com;
    if (!com.initialize || !com.create || !com.uninitialize) {
        why = "the system's COM is missing";
        return nullptr;
    }
    const HRESULT init = com.initialize(nullptr, COINIT_APARTMENTTHREADED);
    HBITMAP bitmap = nullptr;
    {
        ComPtr<IWICImagingFactory> factory;
        ComPtr<IWICStream> stream;
        ComPtr<IWICBitmapDecoder> decoder;
        ComPtr<IWICBitmapFrameDecode> frame;
        ComPtr<IWICFormatConverter> converter;
        UINT width = 0;
        UINT height = 0;
        HRESULT hr = com.create(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(&factory));
        if (SUCCEEDED(hr))
            hr = factory->CreateStream(&stream);
        if (SUCCEEDED(hr))
            hr = stream->InitializeFromMemory(
                reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                static_cast<DWORD>(bytes.size()));
        if (SUCCEEDED(hr))
            hr = factory->CreateDecoder(container, nullptr, &decoder);
        if (SUCCEEDED(hr))
            hr = decoder->Initialize(stream.p, WICDecodeMetadataCacheOnDemand);
        if (SUCCEEDED(hr))
            hr = decoder->GetFrame(0, &frame);
        if (SUCCEEDED(hr))
            hr = frame->GetSize(&width, &height);
        if (SUCCEEDED(hr) && SizeTooLarge(static_cast<long>(std::min<UINT>(width, 1u << 30)),
                                          static_cast<long>(std::min<UINT>(height, 1u << 30)), why))
            hr = E_FAIL;
        if (SUCCEEDED(hr))
            hr = factory->CreateFormatConverter(&converter);
        if (SUCCEEDED(hr))
            hr =
                converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                      nullptr, 0.0, WICBitmapPaletteTypeCustom);
        if (SUCCEEDED(hr)) {
            tv::DibSection dib =
                tv::MakeDibSection(static_cast<int>(width), static_cast<int>(height));
            hr = dib.bitmap ? converter->CopyPixels(nullptr, width * 4, width * height * 4,
                                                    reinterpret_cast<BYTE*>(dib.bits))
                            : E_OUTOFMEMORY;
            if (SUCCEEDED(hr))
                bitmap = dib.bitmap.release();
        }
        if (!bitmap && why.empty())
            why = "it is damaged or not of the kind its name says";
    }
    if (SUCCEEDED(init))
        com.uninitialize();
    return bitmap;
}

template <typename T> bool ReadAt(const std::string& bytes, std::size_t at, T& value) {
    if (at > bytes.size() || bytes.size() - at < sizeof value)
        return false;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return true;
}

// A BMP file's bytes as a DIB section of the file's own format. Every part the system reads
// (headers, masks, colour table, rows) is checked to lie within the bytes first.
HBITMAP BitmapFromBmp(const std::string& bytes, std::string& why) {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    // The headers the system knows: where it looks for masks and colours depends on the size.
    const auto knownHeader = [](DWORD size) {
        return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
    };
    if (!ReadAt(bytes, 0, file) || file.bfType != 0x4D42 || !ReadAt(bytes, sizeof file, info) ||
        !knownHeader(info.biSize) || info.biSize > bytes.size() - sizeof file) {
        why = "it is not a BMP file";
        return nullptr;
    }
    const long height = info.biHeight == LONG_MIN ? 0 : std::labs(info.biHeight);
    if (SizeTooLarge(info.biWidth, height, why))
        return nullptr;
    const WORD bits = info.biBitCount;
    const bool masks = info.biCompression == BI_BITFIELDS && (bits == 16 || bits == 32);
    const DWORD colours = info.biClrUsed ? info.biClrUsed : bits <= 8 ? 1u << bits : 0u;
    const std::size_t tableEnd = sizeof file + info.biSize +
                                 (masks && info.biSize == sizeof info ? 12 : 0) +
                                 std::size_t{std::min<DWORD>(colours, 1024)} * 4;
    const std::size_t rows = (static_cast<std::size_t>(info.biWidth) * bits + 31) / 32 * 4 *
                             static_cast<std::size_t>(height);
    if ((bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) ||
        (info.biCompression != BI_RGB && !masks) || info.biPlanes != 1 || colours > 256 ||
        tableEnd > bytes.size() || file.bfOffBits < tableEnd || file.bfOffBits > bytes.size() ||
        bytes.size() - file.bfOffBits < rows) {
        why = "the BMP file is damaged or of a kind that is not read (compressed, or OS/2)";
        return nullptr;
    }
    void* pixels = nullptr;
    const auto* header = reinterpret_cast<const BITMAPINFO*>(bytes.data() + sizeof file);
    const HBITMAP bitmap = CreateDIBSection(nullptr, header, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap || !pixels) {
        why = "the system cannot make a bitmap of it";
        return nullptr;
    }
    std::memcpy(pixels, bytes.data() + file.bfOffBits, rows);
    return bitmap;
}

// The first image of an ICO or CUR file's bytes, at its own size.
HICON IconFromBytes(const std::string& bytes, bool cursor, std::string& why) {
    WORD directory[3] = {};
    WORD hotSpot[2] = {};
    DWORD place[2] = {}; // size, offset
    std::uint32_t side[2] = {};
    BITMAPINFOHEADER info{};
    const bool fits = ReadAt(bytes, 0, directory) && directory[0] == 0 &&
                      (directory[1] == 1 || directory[1] == 2) && directory[2] > 0 &&
                      ReadAt(bytes, 10, hotSpot) && ReadAt(bytes, 14, place) &&
                      place[0] >= sizeof info && place[1] <= bytes.size() &&
                      bytes.size() - place[1] >= place[0];
    if (!fits) {
        why = "it is not an icon or cursor file";
        return nullptr;
    }
    const std::string image = bytes.substr(place[1], place[0]);
    if (image.rfind("\x89PNG", 0) == 0 && ReadAt(image, 16, side)) {
        if (SizeTooLarge(static_cast<long>(_byteswap_ulong(side[0]) & 0x7FFFFFFF),
                         static_cast<long>(_byteswap_ulong(side[1]) & 0x7FFFFFFF), why))
            return nullptr;
    } else if (!ReadAt(image, 0, info) ||
               SizeTooLarge(info.biWidth, info.biHeight == LONG_MIN ? 0 : info.biHeight / 2, why)) {
        return nullptr;
    }
    // A cursor's image starts with its hot spot, which the file keeps in its directory.
    const std::string resource =
        (cursor ? std::string(reinterpret_cast<const char*>(hotSpot), sizeof hotSpot) : "") + image;
    const HICON icon = CreateIconFromResourceEx(
        reinterpret_cast<BYTE*>(const_cast<char*>(resource.data())),
        static_cast<DWORD>(resource.size()), cursor ? FALSE : TRUE, 0x00030000, 0, 0, 0);
    if (!icon)
        why = "the image in it is damaged";
    return icon;
}

std::wstring Extension(const std::wstring& path) {
    const size_t dot = path.find_last_of(L".\\/");
    std::string extension =
        dot != std::wstring::npos && path[dot] == L'.' ? tv::Narrow(path.substr(dot)) : "";
    return tv::Widen(AsciiLower(extension));
}

// A picture from a file's bytes, by the file's extension.
PicturePtr PictureFromBytes(const std::wstring& path, const std::string& bytes,
                            const std::string& source, std::string& why) {
    const std::wstring extension = Extension(path);
    if (extension == L".bmp") {
        const HBITMAP bitmap = BitmapFromBmp(bytes, why);
        return bitmap ? Picture::FromBitmap(bitmap, source) : nullptr;
    }
    if (extension == L".ico" || extension == L".cur") {
        const bool cursor = extension == L".cur";
        const HICON icon = IconFromBytes(bytes, cursor, why);
        return icon ? Picture::FromIcon(icon, cursor ? Picture::Kind::Cursor : Picture::Kind::Icon,
                                        source)
                    : nullptr;
    }
    const bool png = extension == L".png";
    if (!png && extension != L".jpg" && extension != L".jpeg") {
        why = "a picture file is .bmp, .ico, .cur, .jpg, .jpeg or .png";
        return nullptr;
    }
    const HBITMAP bitmap =
        DecodeWithWic(bytes, png ? GUID_ContainerFormatPng : GUID_ContainerFormatJpeg, why);
    return bitmap ? Picture::FromBitmap(bitmap, source) : nullptr;
}

// The real path of an open file or folder, as "\\?\C:\..." or "\\?\UNC\...".
std::wstring FinalPath(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    for (int tries = 0; tries < 2; ++tries) {
        const DWORD length =
            GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.assign(length + 1, L'\0');
    }
    return {};
}

// Opens a file or folder to read; refuses links and other reparse points when asked.
tv::UniqueHandle Open(const std::wstring& path, bool folder, bool refuseLinks, std::string& why) {
    const DWORD flags = (folder ? FILE_FLAG_BACKUP_SEMANTICS : FILE_FLAG_SEQUENTIAL_SCAN) |
                        (refuseLinks ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    const HANDLE opened = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, flags, nullptr);
    tv::UniqueHandle handle(opened == INVALID_HANDLE_VALUE ? nullptr : opened);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!handle || !GetFileInformationByHandle(handle.get(), &info)) {
        why = "it cannot be opened";
        return tv::UniqueHandle();
    }
    if (refuseLinks && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        why = "it is a link, which is not followed";
        return tv::UniqueHandle();
    }
    if (!folder && ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
                    GetFileType(handle.get()) != FILE_TYPE_DISK)) {
        why = "it is not a file";
        return tv::UniqueHandle();
    }
    return handle;
}

// The whole file behind an open handle, when it is at most 16 MiB.
std::optional<std::string> ReadWhole(HANDLE file, std::string& why) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > static_cast<LONGLONG>(kMaxFileBytes)) {
        why = "the file has " + std::to_string(size.QuadPart) +
              " bytes; a picture file of at most 16 MiB is read";
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size())) {
        why = "it cannot be read";
        return std::nullopt;
    }
    return bytes;
}

std::string NameOf(const std::wstring& path) {
    return Shown(tv::Narrow(path.substr(path.find_last_of(L"\\/") + 1)));
}

} // namespace

PicturePtr LoadPictureUnder(const std::wstring& folder, const std::wstring& file,
                            const std::string& storedPath, std::string& why) {
    const tv::UniqueHandle base = Open(folder, true, false, why);
    std::wstring under = base ? FinalPath(base.get()) : L"";
    if (under.empty()) {
        why = "the picture folder cannot be opened";
        return nullptr;
    }
    if (under.back() == L'\\')
        under.pop_back();
    const tv::UniqueHandle opened = Open(file, false, true, why);
    if (!opened) {
        why = "cannot read the picture " + NameOf(file) + ": " + why;
        return nullptr;
    }
    // The path's text lay under the folder; a link on the way may still lead elsewhere.
    const std::wstring real = FinalPath(opened.get());
    const bool local = real.size() > 7 && real.rfind(L"\\\\?\\", 0) == 0 && real[5] == L':' &&
                       real[6] == L'\\' && GetDriveTypeW(real.substr(4, 3).c_str()) != DRIVE_REMOTE;
    const bool inside =
        real.size() > under.size() + 1 && real[under.size()] == L'\\' &&
        CompareStringOrdinal(real.c_str(), static_cast<int>(under.size()), under.c_str(),
                             static_cast<int>(under.size()), TRUE) == CSTR_EQUAL;
    if (!local || !inside) {
        why = "the picture " + NameOf(file) + " lies " +
              (local ? "outside the picture folder" : "on a network or device path") +
              " once its links are followed";
        return nullptr;
    }
    const auto bytes = ReadWhole(opened.get(), why);
    PicturePtr picture =
        bytes ? PictureFromBytes(file, *bytes, "file:" + storedPath, why) : nullptr;
    if (!picture)
        why = "cannot read the picture " + NameOf(file) + ": " + why;
    return picture;
}

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
    const std::string source = "file:" + (storedPath.empty() ? tv::Narrow(path) : storedPath);
    std::string why;
    const tv::UniqueHandle file = Open(path, false, false, why);
    const auto bytes = file ? ReadWhole(file.get(), why) : std::nullopt;
    PicturePtr picture = bytes ? PictureFromBytes(path, *bytes, source, why) : nullptr;
    if (!picture)
        error = "cannot read the picture " + NameOf(path) + ": " + why;
    return picture;
}

std::shared_ptr<Picture> Picture::LoadResource(HMODULE module, const std::string& name, Kind kind,
                                               std::string& error) {
    const char* kindName = kind == Kind::Bitmap ? "bitmap" : kind == Kind::Icon ? "icon" : "cursor";
    const std::string source = std::string("res:") + kindName + ":" + name;
    const UINT type = kind == Kind::Bitmap ? IMAGE_BITMAP
                      : kind == Kind::Icon ? IMAGE_ICON
                                           : IMAGE_CURSOR;
    // "#123" names a numbered resource, anything else a named one.
    const int number = ResourceNumber(name);
    if (number < 0 || name.empty()) {
        error = "the resource " + Shown(name) + " is neither a name nor #1 to #65535";
        return nullptr;
    }
    const std::wstring wide = tv::Widen(name);
    const wchar_t* resource = number > 0 ? MAKEINTRESOURCEW(number) : wide.c_str();
    // Icons and cursors at their own size, as from files.
    const HANDLE handle =
        LoadImageW(module, resource, type, 0, 0, kind == Kind::Bitmap ? LR_CREATEDIBSECTION : 0);
    if (!handle) {
        error = std::string("there is no ") + kindName + " resource " + Shown(name);
        return nullptr;
    }
    if (kind == Kind::Bitmap)
        return FromBitmap(static_cast<HBITMAP>(handle), source);
    return FromIcon(static_cast<HICON>(handle), kind, source);
}

} // namespace butt
