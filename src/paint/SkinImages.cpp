#include "paint/SkinImages.h"

#include "paint/Pixels.h"

#include "common/Error.h"

#include <objbase.h>
#include <wincodec.h>

#include <cstring>

namespace kq::paint {
namespace {

// A COM interface pointer, released when it goes.
template <class T>
class Com {
 public:
  Com() = default;
  ~Com() {
    if (p_) p_->Release();
  }
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  T** Out() { return &p_; }
  T* operator->() const { return p_; }
  T* Get() const { return p_; }

 private:
  T* p_ = nullptr;
};

IWICImagingFactory* Factory() {
  // The window thread keeps COM and the factory for the program's life.
  static IWICImagingFactory* factory = [] {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* f = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, reinterpret_cast<void**>(&f)))) {
      return static_cast<IWICImagingFactory*>(nullptr);
    }
    return f;
  }();
  return factory;
}

[[noreturn]] void Fail(const std::u16string& name, std::u16string_view why) {
  throw Error(u"Skin image " + name + u": " + std::u16string(why));
}

// The system's decoder for the format the bytes begin with, made directly: letting the
// factory find one reads the registration of every decoder the system has, for each image.
// Bytes of another format still go to the factory's search.
bool OpenDecoder(IWICImagingFactory* factory, IWICStream* stream, ByteView bytes,
                 IWICBitmapDecoder** decoder) {
  static constexpr std::uint8_t kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  const CLSID* format = nullptr;
  if (bytes.size() >= sizeof kPng && std::memcmp(bytes.data(), kPng, sizeof kPng) == 0) {
    format = &CLSID_WICPngDecoder;
  } else if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
    format = &CLSID_WICBmpDecoder;
  }
  if (!format) {
    return SUCCEEDED(
        factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, decoder));
  }
  return SUCCEEDED(::CoCreateInstance(*format, nullptr, CLSCTX_INPROC_SERVER, IID_IWICBitmapDecoder,
                                      reinterpret_cast<void**>(decoder))) &&
         SUCCEEDED((*decoder)->Initialize(stream, WICDecodeMetadataCacheOnDemand));
}

}  // namespace

SkinBitmap DecodeImage(ByteView bytes, const std::u16string& name) {
  IWICImagingFactory* factory = Factory();
  if (!factory) Fail(name, u"the system's imaging component is not available");
  if (bytes.empty() || bytes.size() > 0x7FFFFFFF) Fail(name, u"cannot be decoded");
  Com<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.Out())) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()),
                                          static_cast<DWORD>(bytes.size())))) {
    Fail(name, u"cannot be decoded");
  }
  Com<IWICBitmapDecoder> decoder;
  Com<IWICBitmapFrameDecode> frame;
  if (!OpenDecoder(factory, stream.Get(), bytes, decoder.Out()) ||
      FAILED(decoder->GetFrame(0, frame.Out()))) {
    Fail(name, u"cannot be decoded");
  }
  UINT w = 0, h = 0;
  if (FAILED(frame->GetSize(&w, &h)) || w == 0 || h == 0) Fail(name, u"cannot be decoded");
  if (w > static_cast<UINT>(kMaxImageSide) || h > static_cast<UINT>(kMaxImageSide) ||
      static_cast<std::int64_t>(w) * h > kMaxImagePixels) {
    const std::string size = std::to_string(w) + "x" + std::to_string(h);
    Fail(name, u"is too large (" + std::u16string(size.begin(), size.end()) + u")");
  }
  // The factory's own converter: the system's search for one reads every converter's
  // registration.
  Com<IWICFormatConverter> converted;
  if (FAILED(factory->CreateFormatConverter(converted.Out())) ||
      FAILED(converted->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom))) {
    Fail(name, u"cannot be decoded");
  }
  void* bits = nullptr;
  SkinBitmap out;
  out.bitmap = TopDownDib(static_cast<int>(w), static_cast<int>(h), &bits);
  if (!out.bitmap || !bits) Fail(name, u"no memory for its pixels");
  const UINT stride = w * 4;
  if (FAILED(converted->CopyPixels(nullptr, stride, stride * h, static_cast<BYTE*>(bits)))) {
    Fail(name, u"cannot be decoded");
  }
  out.width = static_cast<int>(w);
  out.height = static_cast<int>(h);
  return out;
}

std::unique_ptr<SkinImages> SkinImages::Load(const SkinModel& model, const Source& source) {
  auto images = std::make_unique<SkinImages>();
  const auto load = [&](const ImageSpec& spec) {
    if (!spec.Present()) return;
    auto found = images->images_.find(spec.file);
    if (found == images->images_.end()) {
      const std::optional<Bytes> bytes = source(spec.file);
      if (!bytes) Fail(spec.file, u"not found in the skin");
      found = images->images_.emplace(spec.file, DecodeImage(*bytes, spec.file)).first;
    }
    if (auto fault = CheckImageSize(spec, found->second.width, found->second.height))
      Fail(spec.file, *fault);
  };
  for (const SectionLook& section : model.sections) {
    load(section.image);
    load(section.glyph);
  }
  return images;
}

const SkinBitmap* SkinImages::Find(const std::u16string& file) const {
  const auto it = images_.find(file);
  return it == images_.end() ? nullptr : &it->second;
}

std::size_t SkinImages::MemoryBytes() const {
  std::size_t total = 0;
  for (const auto& [name, image] : images_)
    total += static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 4;
  return total;
}

}  // namespace kq::paint
