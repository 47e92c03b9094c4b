#include "ui/Gdi.h"

#include <algorithm>
#include <iterator>

#include "ui/Text.h"

namespace ui {

Font MakeFont(const std::string& face, int points, bool bold) {
  int height = -MulDiv(points, 96, 72);
  return Font(CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, AnsiToWide(face).c_str()));
}

Font MakeFontLike(HFONT model, const std::string& face, int points) {
  LOGFONTW font{};
  GetObjectW(model, sizeof(font), &font);
  font.lfHeight = -MulDiv(points, 96, 72);
  font.lfWidth = 0;
  std::wstring name = AnsiToWide(face).substr(0, LF_FACESIZE - 1);
  std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), L'\0');
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

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

}  // namespace ui
