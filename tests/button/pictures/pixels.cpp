#include "pixels.h"

#include <wincodec.h>

namespace butt::test {
namespace {

template <typename T> struct Com {
    T* p = nullptr;
    ~Com() {
        if (p)
            p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
};

} // namespace

PixelImage FilledImage(int width, int height, COLORREF colour) {
    PixelImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width * height), colour);
    return image;
}

HBITMAP MakeDib(const PixelImage& image) {
    tv::DibSection dib = tv::MakeDibSection(image.width, image.height);
    if (!dib.bitmap)
        return nullptr;
    for (size_t i = 0; i < image.pixels.size(); ++i)
        dib.bits[i] = tv::DibFromColor(image.pixels[i]);
    return dib.bitmap.release();
}

std::string BmpFileBytes(const PixelImage& image) {
    const int rowBytes = (image.width * 3 + 3) & ~3;
    const DWORD dataSize = static_cast<DWORD>(rowBytes * image.height);
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + dataSize;
    header.biSize = sizeof header;
    header.biWidth = image.width;
    header.biHeight = image.height; // bottom-up
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = dataSize;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    for (int y = image.height - 1; y >= 0; --y) {
        std::string row(static_cast<size_t>(rowBytes), '\0');
        for (int x = 0; x < image.width; ++x) {
            const COLORREF c = image.at(x, y);
            row[static_cast<size_t>(x * 3)] = static_cast<char>(GetBValue(c));
            row[static_cast<size_t>(x * 3 + 1)] = static_cast<char>(GetGValue(c));
            row[static_cast<size_t>(x * 3 + 2)] = static_cast<char>(GetRValue(c));
        }
        bytes += row;
    }
    return bytes;
}

bool WriteWithWic(const PixelImage& image, const std::wstring& path, const GUID& container) {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool written = false;
    {
        Com<IWICImagingFactory> factory;
        Com<IWICStream> stream;
        Com<IWICBitmapEncoder> encoder;
        Com<IWICBitmapFrameEncode> frame;
        Com<IPropertyBag2> options;
        HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory, reinterpret_cast<void**>(&factory));
        if (SUCCEEDED(hr))
            hr = factory->CreateStream(&stream);
        if (SUCCEEDED(hr))
            hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE);
        if (SUCCEEDED(hr))
            hr = factory->CreateEncoder(container, nullptr, &encoder);
        if (SUCCEEDED(hr))
            hr = encoder->Initialize(stream.p, WICBitmapEncoderNoCache);
        if (SUCCEEDED(hr))
            hr = encoder->CreateNewFrame(&frame, &options);
        if (SUCCEEDED(hr))
            hr = frame->Initialize(options.p);
        if (SUCCEEDED(hr))
            hr = frame->SetSize(static_cast<UINT>(image.width), static_cast<UINT>(image.height));
        WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
        if (SUCCEEDED(hr))
            hr = frame->SetPixelFormat(&format);
        if (SUCCEEDED(hr) && format != GUID_WICPixelFormat24bppBGR)
            hr = E_FAIL;
        std::vector<BYTE> rows;
        const UINT stride = static_cast<UINT>((image.width * 3 + 3) & ~3);
        rows.resize(static_cast<size_t>(stride) * static_cast<size_t>(image.height));
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) {
                const COLORREF c = image.at(x, y);
                BYTE* p = &rows[static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 3];
                p[0] = GetBValue(c);
                p[1] = GetGValue(c);
                p[2] = GetRValue(c);
            }
        if (SUCCEEDED(hr))
            hr = frame->WritePixels(static_cast<UINT>(image.height), stride,
                                    static_cast<UINT>(rows.size()), rows.data());
        if (SUCCEEDED(hr))
            hr = frame->Commit();
        if (SUCCEEDED(hr))
            hr = encoder->Commit();
        written = SUCCEEDED(hr);
    }
    if (SUCCEEDED(init))
        CoUninitialize();
    return written;
}

Canvas::Canvas(int width, int height, COLORREF fill)
    : width_(width), height_(height), dib_(tv::MakeDibSection(width, height)),
      dc_(CreateCompatibleDC(nullptr)) {
    previous_ = SelectObject(dc_.get(), dib_.bitmap.get());
    for (int i = 0; i < width * height; ++i)
        dib_.bits[i] = tv::DibFromColor(fill);
}

Canvas::~Canvas() {
    SelectObject(dc_.get(), previous_);
}

COLORREF Canvas::Pixel(int x, int y) const {
    GdiFlush();
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return CLR_INVALID;
    return tv::ColorFromDib(dib_.bits[y * width_ + x]);
}

} // namespace butt::test
