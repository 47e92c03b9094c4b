#include "ui/Gdi.h"

#include "ui/Text.h"

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
  return Bitmap(static_cast<HBITMAP>(LoadImageW(nullptr, AnsiToWide(path).c_str(), IMAGE_BITMAP, 0, 0,
                                                LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
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
