#include "ui/Calendar.h"

#include <algorithm>

#include "ui/Dpi.h"
#include "util/CivilDate.h"
#include "ui/Gdi.h"

namespace ui {
namespace {

constexpr wchar_t kClassName[] = L"OmbrelCalendar";
// The notification code of a date the user chose, sent to the parent in WM_COMMAND.
constexpr int kDateChanged = 1;
constexpr int kGridCells = 42;
// A mark's size and its place in its cell, in layout pixels.
constexpr int kMarkWidth = 15, kMarkHeight = 8, kMarkInset = 1;

void RegisterClassOnce(WNDPROC procedure) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW info{};
  if (GetClassInfoExW(instance, kClassName, &info)) return;
  info.cbSize = sizeof(info);
  info.lpfnWndProc = procedure;
  info.hInstance = instance;
  info.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  info.lpszClassName = kClassName;
  RegisterClassExW(&info);
}

// The locale's short weekday names, Sunday first.
void ShortDayNames(std::wstring (&names)[7]) {
  // The locale numbers the days from Monday (1) to Sunday (7).
  for (int column = 0; column < 7; ++column) {
    LCTYPE item = column == 0 ? LOCALE_SABBREVDAYNAME7 : LOCALE_SABBREVDAYNAME1 + column - 1;
    wchar_t text[32] = L"";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, item, text, 32);
    names[column] = text;
  }
}

void DrawCentred(HDC dc, const std::wstring& text, RECT rect) {
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace

void Calendar::Create(const CalendarArgs& args) {
  RegisterClassOnce(Procedure);
  ShortDayNames(dayNames_);
  if (args.month >= 1 && args.month <= 12) month_ = args.month;
  if (args.year >= 1 && args.year <= 9999) year_ = args.year;
  day_ = std::clamp(args.day, 1, DaysInMonth());
  font_ = args.font;
  CreateChild(kClassName, WS_TABSTOP, WS_EX_CLIENTEDGE, args.parent, args.bounds, "", args.font);
}

void Calendar::SetDay(int day) {
  ChangeDate(std::clamp(day, 1, DaysInMonth()), month_, year_, false);
}

void Calendar::SetMonth(int month) {
  if (month < 1 || month > 12) return;
  ChangeDate(std::min(day_, ::DaysInMonth(static_cast<unsigned>(month), year_)), month, year_, false);
}

void Calendar::SetYear(int year) {
  if (year < 1 || year > 9999) return;
  ChangeDate(std::min(day_, ::DaysInMonth(static_cast<unsigned>(month_), year)), month_, year, false);
}

DayCell DayCellOf(int day, int firstColumn) {
  const int k = firstColumn + day - 1;
  return {k % 7, k / 7};
}

int CellIndex(int column, int weekRow) {
  if (column < 0 || column > 6 || weekRow < 0 || weekRow > 7) return 0;
  return weekRow * 7 + column + 1;
}

DayCell Calendar::FindDayCell(int day) const {
  return DayCellOf(day, FirstColumn());
}

RECT Calendar::CellRect(int column, int row) const {
  const SIZE span = Span();
  return {Edge(column, span.cx), Edge(row, span.cy), Edge(column + 1, span.cx) - 1,
          Edge(row + 1, span.cy) - 1};
}

void Calendar::SetMarkColours(std::vector<COLORREF> colours) {
  markColours_ = std::move(colours);
  marks_.assign(markColours_.size(), {});
  if (Handle()) Repaint(Handle(), false);
}

bool Calendar::MarkShown(int set, int cell) const {
  if (set < 0 || set >= static_cast<int>(marks_.size()) || cell < 1 || cell > kGridCells) return false;
  return marks_[set][cell - 1];
}

void Calendar::ShowDayMark(int set, int day, bool shown) {
  const DayCell cell = FindDayCell(day);
  const int index = CellIndex(cell.column, cell.weekRow);
  if (index >= 1 && index <= kMarkedCells) ShowMark(set, index, shown);
}

void Calendar::ShowMark(int set, int cell, bool shown) {
  if (set < 0 || set >= static_cast<int>(marks_.size()) || cell < 1 || cell > kGridCells) return;
  bool& mark = marks_[set][cell - 1];
  if (mark == shown) return;
  mark = shown;
  if (Handle() && IsWindowVisible(Handle())) {
    const RECT rect = MarkRect(set, cell);
    InvalidateRect(Handle(), &rect, FALSE);
  }
}

void Calendar::HideMarks() {
  for (int set = 0; set < static_cast<int>(marks_.size()); ++set)
    for (int cell = 1; cell <= kGridCells; ++cell) ShowMark(set, cell, false);
}

// One pixel in from the cell's grid line, at any scale: the cells keep their
// one-pixel lines while the marks grow with the rest.
RECT Calendar::MarkRect(int set, int cell) const {
  const int dpi = DpiOf(Handle());
  const RECT corner = CellRect((cell - 1) % 7, (cell - 1) / 7 + 1);
  const int left = corner.left + Scale(kMarkInset, dpi), top = corner.top + Scale(set * kMarkHeight, dpi);
  return {left, top, left + Scale(kMarkWidth, dpi), top + Scale(kMarkHeight, dpi)};
}

void Calendar::OnCommand(int code) {
  if (code == kDateChanged && OnChange) OnChange();
}

void Calendar::ChangeDate(int day, int month, int year, bool byUser) {
  if (day == day_ && month == month_ && year == year_) return;
  const bool newMonth = month != month_ || year != year_;
  day_ = day;
  month_ = month;
  year_ = year;
  Repaint(Handle(), false);
  if (newMonth) CalendarAccessibility::MonthChanged(Handle());
  CalendarAccessibility::SelectionMoved(Handle(), SelectedCell());
  if (byUser) {
    SendMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(Id(), kDateChanged),
                 reinterpret_cast<LPARAM>(Handle()));
  } else if (OnChange) {
    OnChange();
  }
}

void Calendar::SelectByUser(int day) {
  if (day >= 1 && day <= DaysInMonth()) ChangeDate(day, month_, year_, true);
}

int Calendar::DayAt(POINT at) const {
  const SIZE span = Span();
  if (at.x < 0 || at.y < 0 || span.cx <= 0 || span.cy <= 0) return 0;
  // The last cell whose edge lies at or before the point.
  const int column = (7 * (at.x + 1) - 1) / span.cx, weekRow = (7 * (at.y + 1) - 1) / span.cy - 1;
  if (column > 6 || weekRow < 0 || weekRow > 5) return 0;
  const int day = weekRow * 7 + column - FirstColumn() + 1;
  return day >= 1 && day <= DaysInMonth() ? day : 0;
}

int Calendar::SelectedCell() const {
  const DayCell cell = FindDayCell(day_);
  return CellIndex(cell.column, cell.weekRow);
}

int Calendar::FirstColumn() const {
  return WeekdayOf({1, month_, year_}) - 1;
}

int Calendar::DaysInMonth() const {
  return ::DaysInMonth(static_cast<unsigned>(month_), year_);
}

// Seven columns and seven rows share the client area with the six grid lines
// between them: the client and one line more, spread evenly, so that at any
// scale the cells differ by a pixel at most.
SIZE Calendar::Span() const {
  RECT client{};
  GetClientRect(Handle(), &client);
  return {client.right + 1, client.bottom + 1};
}

int Calendar::Edge(int index, int span) {
  return index * span / 7;
}

void Calendar::Paint(HDC dc, const RECT& area) const {
  FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
  const SIZE span = Span();
  HBRUSH line = GetSysColorBrush(COLOR_BTNFACE);
  for (int i = 1; i < 7; ++i) {
    RECT vertical{Edge(i, span.cx) - 1, area.top, Edge(i, span.cx), area.bottom};
    RECT horizontal{area.left, Edge(i, span.cy) - 1, area.right, Edge(i, span.cy)};
    FillRect(dc, &vertical, line);
    FillRect(dc, &horizontal, line);
  }

  SelectInDc selectFont(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  const bool enabled = IsWindowEnabled(Handle()) != FALSE;
  const COLORREF text = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
  SetTextColor(dc, text);
  for (int column = 0; column < 7; ++column) DrawCentred(dc, dayNames_[column], CellRect(column, 0));

  for (int day = 1, last = DaysInMonth(); day <= last; ++day) {
    const DayCell cell = FindDayCell(day);
    const RECT rect = CellRect(cell.column, cell.weekRow + 1);
    if (day == day_) {
      FillRect(dc, &rect, GetSysColorBrush(enabled ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
      SetTextColor(dc, GetSysColor(enabled ? COLOR_HIGHLIGHTTEXT : COLOR_GRAYTEXT));
    }
    DrawCentred(dc, std::to_wstring(day), rect);
    if (day == day_) {
      SetTextColor(dc, text);
      if (GetFocus() == Handle()) {
        RECT focus = rect;
        InflateRect(&focus, -1, -1);
        // The focus rectangle inverts; on the highlight it must draw in the text colours.
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &focus);
        SetTextColor(dc, text);
      }
    }
  }

  for (int set = 0; set < static_cast<int>(marks_.size()); ++set) {
    Brush colour(CreateSolidBrush(markColours_[set]));
    for (int cell = 1; cell <= kGridCells; ++cell) {
      if (!marks_[set][cell - 1]) continue;
      const RECT rect = MarkRect(set, cell);
      FillRect(dc, &rect, colour.Get());
    }
  }
}

LRESULT CALLBACK Calendar::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (auto* self = static_cast<Calendar*>(Control::FromHandle(hwnd)))
    return self->HandleMessage(message, wParam, lParam);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Calendar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = Handle();
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      RECT client;
      GetClientRect(hwnd, &client);
      // Drawn off screen first, so that a new selection does not flicker.
      MemoryDc buffer(dc);
      Bitmap canvas = CanvasBitmap({client.right, client.bottom});
      {
        SelectInDc select(buffer.Get(), canvas.Get());
        Paint(buffer.Get(), client);
        BitBlt(dc, 0, 0, client.right, client.bottom, buffer.Get(), 0, 0, SRCCOPY);
      }
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(hwnd, &client);
      Paint(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) Repaint(hwnd, false);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETFOCUS:
      // The selected day takes the focus for a screen reader.
      CalendarAccessibility::SelectionMoved(hwnd, SelectedCell());
      Repaint(hwnd, false);
      return 0;
    case WM_ENABLE:
    case WM_KILLFOCUS:
      Repaint(hwnd, false);
      return 0;
    case WM_GETOBJECT:
      if (LRESULT answer = accessibility_.Answer(*this, wParam, lParam)) return answer;
      break;
    case WM_DESTROY:
      accessibility_.Disconnect();
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      SelectByUser(DayAt({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}));
      return 0;
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_LEFT:
          SelectByUser(day_ - 1);
          return 0;
        case VK_RIGHT:
          SelectByUser(day_ + 1);
          return 0;
        case VK_UP:
          SelectByUser(day_ - 7);
          return 0;
        case VK_DOWN:
          SelectByUser(day_ + 7);
          return 0;
        case VK_HOME:
          SelectByUser(1);
          return 0;
        case VK_END:
          SelectByUser(DaysInMonth());
          return 0;
        default:
          break;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace ui
