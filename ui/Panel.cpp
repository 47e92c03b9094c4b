#include "ui/Panel.h"

#include "ui/Dpi.h"
#include "ui/SystemColours.h"
#include "ui/Text.h"

namespace ui {
namespace {

// Draws a bevel of the given width inside rect and shrinks rect by it.
void DrawBevel(HDC dc, RECT& rect, Bevel bevel, int width) {
  if (bevel == Bevel::None) return;
  HBRUSH light = GetSysColorBrush(bevel == Bevel::Raised ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
  HBRUSH dark = GetSysColorBrush(bevel == Bevel::Raised ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
  for (int i = 0; i < width; ++i) {
    RECT top{rect.left, rect.top, rect.right, rect.top + 1};
    RECT left{rect.left, rect.top, rect.left + 1, rect.bottom};
    RECT bottom{rect.left, rect.bottom - 1, rect.right, rect.bottom};
    RECT right{rect.right - 1, rect.top, rect.right, rect.bottom};
    FillRect(dc, &top, light);
    FillRect(dc, &left, light);
    FillRect(dc, &bottom, dark);
    FillRect(dc, &right, dark);
    InflateRect(&rect, -1, -1);
  }
}

}  // namespace

void Panel::Create(const PanelArgs& args) {
  outer_ = args.outer;
  inner_ = args.inner;
  bevelWidth_ = args.bevelWidth;
  SetErrorSink(args.sink);
  CreateWindowOf(L"OmbrelPanel", WS_EX_CONTROLPARENT, WS_CHILD | WS_VISIBLE, "", args.bounds, args.parent);
}

void Panel::SetBevels(Bevel outer, Bevel inner) {
  outer_ = outer;
  inner_ = inner;
  Repaint(Handle());
}

void Panel::SetPicture(Bitmap picture) {
  picture_ = std::move(picture);
  Repaint(Handle());
}

void Panel::SetCaption(const std::string& caption, HFONT font, COLORREF color) {
  caption_ = caption;
  captionFont_ = font;
  captionColor_ = color;
  Repaint(Handle());
}

void Panel::AddColourBlock(const RECT& rect, COLORREF color) {
  blocks_.emplace_back(rect, color);
  Repaint(Handle());
}

void Panel::Paint(HDC dc, const RECT& area) const {
  const int dpi = DpiOf(Handle());
  RECT inside = area;
  FillRect(dc, &inside, GetSysColorBrush(COLOR_BTNFACE));
  DrawBevel(dc, inside, outer_, Scale(bevelWidth_, dpi));
  DrawBevel(dc, inside, inner_, Scale(bevelWidth_, dpi));
  for (const auto& [rect, color] : blocks_) {
    Bounds place = Scale(Bounds{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}, dpi);
    RECT scaled{place.left, place.top, place.left + place.width, place.top + place.height};
    Brush fill(CreateSolidBrush(color));
    FillRect(dc, &scaled, fill.Get());
  }
  if (!caption_.empty()) {
    std::wstring text = AnsiToWide(caption_);
    SelectInDc selectFont(
        dc, captionFont_ ? static_cast<HGDIOBJ>(captionFont_) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, CaptionColour(captionColor_, COLOR_BTNFACE, COLOR_BTNTEXT));
    RECT textRect = inside;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  if (!picture_) return;
  SIZE size = BitmapSize(picture_.Get());
  MemoryDc source(dc);
  SelectInDc select(source.Get(), picture_.Get());
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, inside.left, inside.top, inside.right - inside.left, inside.bottom - inside.top,
             source.Get(), 0, 0, size.cx, size.cy, SRCCOPY);
}

LRESULT Panel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    // The caption's font, so that a change of the window's fonts reaches it.
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(captionFont_);
    case WM_SETFONT:
      captionFont_ = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) Repaint(Handle());
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(Handle(), &paint);
      RECT client;
      GetClientRect(Handle(), &client);
      Paint(dc, client);
      EndPaint(Handle(), &paint);
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(Handle(), &client);
      Paint(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    default:
      return Window::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace ui
