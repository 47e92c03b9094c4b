#include "ui/Gdi.h"

#include "ui/Text.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/FileSystem.h"

namespace ui {

Font MakeFont(const std::string& face, int points, bool bold, int dpi) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(points, dpi, 72);
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  // A name from a language file may be longer than the system holds: cut, not overrun.
  std::wstring name = AnsiToWide(face).substr(0, LF_FACESIZE - 1);
  name.copy(font.lfFaceName, name.size());
  return Font(CreateFontIndirectW(&font));
}

Bitmap LoadBitmapFile(const std::string& path) {
  return BitmapFromBytes(fs_seam::ReadWholeFile(path));
}

Bitmap BitmapFromBytes(std::string_view bytes) {
  constexpr size_t kFileHeader = 14;
  auto dword = [&](size_t at) {
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
  };
  if (bytes.size() < kFileHeader + sizeof(BITMAPINFOHEADER) || bytes.substr(0, 2) != "BM") return {};
  const size_t pixelsAt = dword(10), headerSize = dword(kFileHeader);
  if (headerSize < sizeof(BITMAPINFOHEADER) || headerSize > sizeof(BITMAPV5HEADER) ||
      pixelsAt < kFileHeader + headerSize || pixelsAt > bytes.size())
    return {};
  // The header and the colour table or masks, copied where they are aligned.
  std::vector<uint32_t> info((pixelsAt - kFileHeader + 3) / 4 + 3, 0);
  std::memcpy(info.data(), bytes.data() + kFileHeader, pixelsAt - kFileHeader);
  const auto& header = *reinterpret_cast<const BITMAPINFOHEADER*>(info.data());
  const int64_t width = header.biWidth, height = header.biHeight < 0 ? -int64_t{header.biHeight} : header.biHeight;
  const int bits = header.biBitCount;
  const bool known = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
  const bool plain = header.biCompression == BI_RGB || (header.biCompression == BI_BITFIELDS && bits >= 16);
  if (!known || !plain || width <= 0 || height <= 0 || width > 16384 || height > 16384) return {};
  const uint64_t colours = bits <= 8 ? (header.biClrUsed ? header.biClrUsed : 1u << bits) : 0;
  const uint64_t masks = header.biCompression == BI_BITFIELDS && headerSize == sizeof(BITMAPINFOHEADER) ? 12 : 0;
  const uint64_t stride = (width * bits + 31) / 32 * 4;
  if (colours > 256 || kFileHeader + headerSize + colours * 4 + masks > pixelsAt ||
      pixelsAt + stride * height > bytes.size())
    return {};
  void* pixels = nullptr;
  Bitmap picture(CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS,
                                  &pixels, nullptr, 0));
  if (!picture || !pixels) return {};
  std::memcpy(pixels, bytes.data() + pixelsAt, static_cast<size_t>(stride * height));
  return picture;
}

SIZE CaptionSize(const std::string& caption, HFONT font) {
  MemoryDc dc(nullptr);
  SelectInDc selectFont(dc.Get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  std::wstring text = AnsiToWide(caption);
  SIZE size{};
  GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
  return {size.cx + 2, size.cy};
}

Bitmap ScaledBitmap(HBITMAP picture, SIZE size, int count) {
  const SIZE from = BitmapSize(picture);
  if (count < 1 || from.cx <= 0 || from.cy <= 0 || size.cx <= 0 || size.cy <= 0) return Bitmap();
  Bitmap scaled = CanvasBitmap(size);
  MemoryDc source(nullptr);
  MemoryDc target(nullptr);
  SelectInDc selectSource(source.Get(), picture);
  SelectInDc selectTarget(target.Get(), scaled.Get());
  SetStretchBltMode(target.Get(), HALFTONE);
  SetBrushOrgEx(target.Get(), 0, 0, nullptr);
  const int fromWidth = from.cx / count, toWidth = size.cx / count;
  for (int image = 0; image < count; ++image)
    StretchBlt(target.Get(), image * toWidth, 0, toWidth, size.cy, source.Get(), image * fromWidth, 0,
               fromWidth, from.cy, SRCCOPY);
  return scaled;
}

Bitmap CanvasBitmap(SIZE size) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return Bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

}  // namespace ui
