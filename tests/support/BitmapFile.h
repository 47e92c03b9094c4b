#pragma once
// Bitmap files for the skin folder of a test, written byte by byte.
#include <windows.h>

#include <string>

// A 24-bit bitmap file of width x height pixels; pixels holds the rows from
// the bottom up, each 3 bytes (blue, green, red) per pixel, padded to 4 bytes.
inline std::string BitmapFile(int width, int height, const std::string& pixels) {
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  return std::string(reinterpret_cast<const char*>(&file), sizeof(file)) +
         std::string(reinterpret_cast<const char*>(&info), sizeof(info)) + pixels;
}

// A 24-bit bitmap file of one colour.
inline std::string FilledBitmap(int width, int height, COLORREF colour) {
  const int rowBytes = (width * 3 + 3) & ~3;
  std::string pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      pixels += {char(GetBValue(colour)), char(GetGValue(colour)), char(GetRValue(colour))};
    pixels.append(rowBytes - width * 3, '\0');
  }
  return BitmapFile(width, height, pixels);
}
