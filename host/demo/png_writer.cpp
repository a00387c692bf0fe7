#include "png_writer.h"

#include <wincodec.h>

#include <string>

namespace {

// The encoder's objects, released in the reverse order of their making.
struct PngEncoding {
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    IPropertyBag2* options = nullptr;

    ~PngEncoding() {
        IUnknown* made[] = {options, frame, encoder, stream, factory};
        for (IUnknown* object : made)
            if (object)
                object->Release();
    }
};

std::wstring WidePath(const char* path) {
    int length = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    std::wstring wide(length > 0 ? length : 1, L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, path, -1, &wide[0], length);
    wide.resize(wide.size() - 1); // the NUL
    return wide;
}

HRESULT Encode(PngEncoding* png, const char* path, UINT width, UINT height, UINT stride,
               const BYTE* bgr) {
    HRESULT result = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_PPV_ARGS(&png->factory));
    if (SUCCEEDED(result))
        result = png->factory->CreateStream(&png->stream);
    if (SUCCEEDED(result))
        result = png->stream->InitializeFromFilename(WidePath(path).c_str(), GENERIC_WRITE);
    if (SUCCEEDED(result))
        result = png->factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &png->encoder);
    if (SUCCEEDED(result))
        result = png->encoder->Initialize(png->stream, WICBitmapEncoderNoCache);
    if (SUCCEEDED(result))
        result = png->encoder->CreateNewFrame(&png->frame, &png->options);
    if (SUCCEEDED(result))
        result = png->frame->Initialize(png->options);
    if (SUCCEEDED(result))
        result = png->frame->SetSize(width, height);
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (SUCCEEDED(result))
        result = png->frame->SetPixelFormat(&format);
    if (SUCCEEDED(result) && format != GUID_WICPixelFormat24bppBGR)
        result = WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT; // the encoder wants the pixels otherwise
    if (SUCCEEDED(result))
        result = png->frame->WritePixels(height, stride, stride * height, const_cast<BYTE*>(bgr));
    if (SUCCEEDED(result))
        result = png->frame->Commit();
    if (SUCCEEDED(result))
        result = png->encoder->Commit();
    return result;
}

} // namespace

BOOL WritePngFile(const char* path, UINT width, UINT height, UINT stride, const BYTE* bgr) {
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HRESULT result;
    {
        PngEncoding png;
        result = Encode(&png, path, width, height, stride, bgr);
    } // released before COM closes
    if (SUCCEEDED(com))
        CoUninitialize();
    if (FAILED(result))
        DeleteFileA(path); // no half-written picture
    return SUCCEEDED(result);
}
