#include "ui/Group.h"

#include "ui/Gdi.h"
#include "ui/Text.h"

namespace ui {

void Group::Create(const CaptionArgs& args) {
  bounds_ = args.bounds;
  CreateChild(L"BUTTON", BS_GROUPBOX, 0, args.parent, args.bounds, args.caption, args.font);
  paintHook_.Install(Handle(), [this](UINT message, WPARAM wParam, LPARAM lParam) {
    return HandleMessage(message, wParam, lParam);
  });
}

void Group::PlaceBeneathSiblings() {
  SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

Bounds Group::Inside(int left, int top, int width, int height) const {
  return {bounds_.left + left, bounds_.top + top, width, height};
}

// As the system draws a group box: the frame's top through the middle of the
// caption's line, the caption 8 pixels in on a strip of the background.
void Group::Paint(HDC dc) const {
  RECT client{};
  GetClientRect(Handle(), &client);
  auto font = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
  SelectInDc selectFont(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  RECT frame = client;
  frame.top += metrics.tmHeight / 2 - 1;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);

  std::string caption = Text();
  if (caption.empty()) return;
  SIZE room = CaptionSize(caption, font);
  RECT strip{client.left + 7, client.top, client.left + 8 + room.cx, client.top + metrics.tmHeight + 1};
  FillRect(dc, &strip, GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(Enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  std::wstring text = AnsiToWide(caption);
  RECT place{client.left + 8, client.top, client.right, client.top + metrics.tmHeight};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &place, DT_SINGLELINE | DT_NOCLIP);
}

LRESULT Group::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = Handle();
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(hwnd, &paint);
      Paint(dc);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ENABLE:
    case WM_SETTEXT: {
      // The system paints at once on these, in its own way: paint again after it.
      LRESULT result = paintHook_.PassOn(message, wParam, lParam);
      Repaint(hwnd);
      return result;
    }
    default:
      return paintHook_.PassOn(message, wParam, lParam);
  }
}

}  // namespace ui
