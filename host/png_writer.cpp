#include <initguid.h>  // defines the imaging GUIDs here, before the header declares them

#include "host/png_writer.h"

#include <wincodec.h>

#include <vector>

#include "base/com_ptr.h"
#include "base/result.h"

namespace kv::host {

HRESULT WritePng(const std::wstring& path, const WindowPixels& pixels) {
    RETURN_HR_IF(E_INVALIDARG, pixels.width <= 0 || pixels.height <= 0);
    const UINT stride = static_cast<UINT>(pixels.width) * 3;
    std::vector<BYTE> rows(static_cast<std::size_t>(stride) * pixels.height);
    for (std::size_t k = 0; k < pixels.rows.size(); ++k) {
        const std::uint32_t value = pixels.rows[k];
        rows[k * 3] = static_cast<BYTE>(value);              // blue
        rows[k * 3 + 1] = static_cast<BYTE>(value >> 8);     // green
        rows[k * 3 + 2] = static_cast<BYTE>(value >> 16);    // red
    }

    ComPtr<IWICImagingFactory> factory;
    RETURN_IF_FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IWICImagingFactory, factory.put_void()));
    ComPtr<IWICStream> stream;
    RETURN_IF_FAILED(factory->CreateStream(stream.put()));
    RETURN_IF_FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE));
    ComPtr<IWICBitmapEncoder> encoder;
    RETURN_IF_FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put()));
    RETURN_IF_FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache));
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    RETURN_IF_FAILED(encoder->CreateNewFrame(frame.put(), options.put()));
    RETURN_IF_FAILED(frame->Initialize(options.get()));
    RETURN_IF_FAILED(frame->SetSize(static_cast<UINT>(pixels.width), static_cast<UINT>(pixels.height)));
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    RETURN_IF_FAILED(frame->SetPixelFormat(&format));
    // The encoder names the format it will write; the rows are laid out for this one only.
    RETURN_HR_IF(WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT, format != GUID_WICPixelFormat24bppBGR);
    RETURN_IF_FAILED(frame->WritePixels(static_cast<UINT>(pixels.height), stride, static_cast<UINT>(rows.size()),
                                        rows.data()));
    RETURN_IF_FAILED(frame->Commit());
    return encoder->Commit();
}

}  // namespace kv::host
