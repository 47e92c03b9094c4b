#pragma once
// Owning wrappers of GDI objects.
#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

namespace ui {

template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  ~GdiObject() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset(Handle handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Bitmap = GdiObject<HBITMAP>;

// A font of the given face, height in points and weight, for a display of
// dpi pixels per inch.
Font MakeFont(const std::string& face, int points, bool bold = false, int dpi = 96);

// A picture read through the file seam: FileNotFound when the file is not
// there, FileError when it cannot be read; no bitmap when its bytes are not
// an uncompressed .bmp picture.
Bitmap LoadBitmapFile(const std::string& path);
Bitmap BitmapFromBytes(std::string_view bytes);
SIZE BitmapSize(HBITMAP bitmap);
// A 32-bit top-down bitmap in memory to draw into. Unlike a bitmap compatible
// with the screen, drawing into it and copying it to a window asks nothing of
// the display driver (under Wine each such question is a round of calls).
Bitmap CanvasBitmap(SIZE size);
// The picture drawn again at size, smoothly (halftone); a picture of count
// images side by side is drawn image by image, so that none bleeds into the
// next, to size.cx / count each.
Bitmap ScaledBitmap(HBITMAP picture, SIZE size, int count = 1);

// The room a one-line caption needs in the font: two pixels wider than its
// text, as a last letter may reach past its advance (an "n" loses its right
// stem where the system clips at the advance).
SIZE CaptionSize(const std::string& caption, HFONT font);

// Selects an object into a DC for the scope.
class SelectInDc {
 public:
  SelectInDc(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  SelectInDc(const SelectInDc&) = delete;
  SelectInDc& operator=(const SelectInDc&) = delete;
  ~SelectInDc() { SelectObject(dc_, old_); }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A memory DC compatible with another one.
class MemoryDc {
 public:
  explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() { DeleteDC(dc_); }
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

}  // namespace ui
