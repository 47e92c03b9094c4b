#include "ui/DrawnButton.h"

#include "ui/Dpi.h"
#include "ui/Text.h"

namespace ui {

void DrawnButton::Create(const CaptionArgs& args) {
  CreateChild(L"BUTTON", BS_OWNERDRAW, 0, args.parent, args.bounds, args.caption, args.font);
  mouseHook_.Install(Handle(), [this](UINT message, WPARAM wParam, LPARAM lParam) {
    return HandleMouse(message, wParam, lParam);
  });
}

void DrawnButton::SetGlyph(Bitmap glyph, int count, GlyphLayout layout) {
  glyph_ = std::move(glyph);
  // The bottom-left pixel holds the background colour of the pictures, which
  // is left out when they are drawn so that the button face shows instead.
  if (glyph_) {
    MemoryDc source(nullptr);
    SelectInDc select(source.Get(), glyph_.Get());
    glyphKey_ = GetPixel(source.Get(), 0, BitmapSize(glyph_.Get()).cy - 1);
  }
  glyphCount_ = count > 0 ? count : 1;
  glyphLayout_ = layout;
  Repaint(Handle());
}

SIZE DrawnButton::GlyphSize() const {
  if (!glyph_) return {0, 0};
  const SIZE whole = BitmapSize(glyph_.Get());
  return {whole.cx / glyphCount_, whole.cy};
}

void DrawnButton::SetEnabled(bool on) {
  Control::SetEnabled(on);
  Repaint(Handle());
}

void DrawnButton::OnCommand(int code) {
  if (code == BN_CLICKED) UserClick();
}

void DrawnButton::UserClick() {
  if (OnClick) OnClick();
}

bool DrawnButton::OnDrawItem(const DRAWITEMSTRUCT& item) {
  Paint(item.hDC, item.rcItem);
  return true;
}

void DrawnButton::Paint(HDC dc, const RECT& area) const {
  RECT inside = area;
  FillRect(dc, &inside, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &inside, LooksPressed() ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
  PaintFace(dc, inside);
}

void DrawnButton::PaintFace(HDC dc, RECT inside) const {
  if (LooksPressed()) OffsetRect(&inside, 1, 1);
  bool enabled = IsWindowEnabled(Handle()) != FALSE;
  std::wstring caption = AnsiToWide(Text());
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
  SelectInDc selectFont(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  SIZE textSize{};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &textSize);

  const SIZE glyphSize = GlyphSize();
  int width = inside.right - inside.left;
  int height = inside.bottom - inside.top;
  POINT glyphAt{};
  POINT textAt{};
  const int kSpacing = Scale(4, DpiOf(Handle()));
  if (glyphLayout_ == GlyphLayout::Top) {
    int total = glyphSize.cy + (glyph_ ? kSpacing : 0) + textSize.cy;
    glyphAt = {inside.left + (width - glyphSize.cx) / 2, inside.top + (height - total) / 2};
    textAt = {inside.left + (width - textSize.cx) / 2, glyphAt.y + glyphSize.cy + (glyph_ ? kSpacing : 0)};
  } else {
    int total = glyphSize.cx + (glyph_ && !caption.empty() ? kSpacing : 0) + textSize.cx;
    glyphAt = {inside.left + (width - total) / 2, inside.top + (height - glyphSize.cy) / 2};
    textAt = {glyphAt.x + glyphSize.cx + (glyph_ && !caption.empty() ? kSpacing : 0),
              inside.top + (height - textSize.cy) / 2};
  }
  if (glyph_) {
    int image = (!enabled && glyphCount_ > 1) ? 1 : 0;
    MemoryDc source(dc);
    SelectInDc selectGlyph(source.Get(), glyph_.Get());
    GdiTransparentBlt(dc, glyphAt.x, glyphAt.y, glyphSize.cx, glyphSize.cy, source.Get(),
                      image * glyphSize.cx, 0, glyphSize.cx, glyphSize.cy, glyphKey_);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  TextOutW(dc, textAt.x, textAt.y, caption.c_str(), static_cast<int>(caption.size()));
}

void DrawnButton::SetPressedLook(bool on) {
  if (pressedLook_ == on) return;
  pressedLook_ = on;
  Repaint(Handle(), false);
}

// The mouse is handled here instead of by the button class, which would take
// the focus on a click.
LRESULT DrawnButton::HandleMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = Handle();
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      tracking_ = true;
      SetCapture(hwnd);
      SetPressedLook(true);
      return 0;
    case WM_MOUSEMOVE:
      if (tracking_) {
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT client;
        GetClientRect(hwnd, &client);
        SetPressedLook(PtInRect(&client, at) != FALSE);
      }
      return 0;
    case WM_LBUTTONUP: {
      if (!tracking_) return 0;
      bool inside = pressedLook_;
      tracking_ = false;
      ReleaseCapture();
      SetPressedLook(false);
      if (inside)
        SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(Id(), BN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd));
      return 0;
    }
    case WM_CAPTURECHANGED:
      tracking_ = false;
      SetPressedLook(false);
      return 0;
    case BM_CLICK:
      if (IsWindowEnabled(hwnd))
        SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(Id(), BN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd));
      return 0;
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(hwnd, &client);
      Paint(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
      break;
    default:
      break;
  }
  return mouseHook_.PassOn(message, wParam, lParam);
}

void MarkerButton::SetColor(COLORREF color) {
  color_ = color;
  Repaint(Handle());
}

void MarkerButton::SetDown(bool on) {
  if (on)
    for (MarkerButton* other : group_)
      if (other != this) other->SetDown(false);
  if (down_ == on) return;
  down_ = on;
  Repaint(Handle());
}

void MarkerButton::UserClick() {
  SetDown(!down_);
  DrawnButton::UserClick();
}

bool MarkerButton::LooksPressed() const {
  return down_ || DrawnButton::LooksPressed();
}

void MarkerButton::PaintFace(HDC dc, RECT inside) const {
  const int margin = Scale(2, DpiOf(Handle()));
  InflateRect(&inside, -margin, -margin);
  Brush fill(CreateSolidBrush(Color()));
  FillRect(dc, &inside, fill.Get());
}

}  // namespace ui
