// The calendar as a screen reader reads it in the same process: the table,
// its 42 cells with their names, states and places, the selection and focus,
// and the events raised when the selection moves.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <oleacc.h>

#include <string>
#include <vector>

#include "ui/Calendar.h"
#include "ui/Panel.h"

namespace {

class Host : public ui::Window {
 public:
  Host() {
    CreateWindowOf(L"OmbrelAccessibleTestHost", 0, WS_POPUP, "", {0, 0, 549, 320}, nullptr);
    page.Create({.parent = Handle(), .bounds = {0, 0, 549, 320}, .bevelWidth = 0});
  }
  ~Host() override { DestroyWindow(Handle()); }
  ui::Panel page;
};

struct Event {
  DWORD event;
  LONG child;
  bool operator==(const Event&) const = default;
};
std::vector<Event> events;
HWND watched = nullptr;

void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
  if (hwnd == watched && object == OBJID_CLIENT) events.push_back({event, child});
}

VARIANT Child(LONG id) {
  VARIANT child{};
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}

class CalendarAccessibleTest : public ::testing::Test {
 protected:
  CalendarAccessibleTest() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // May 2024 starts on a Wednesday: cells 1 to 3 are the end of April,
    // cell 4 is the 1st, cell 34 the 31st, cells 35 to 42 the start of June.
    calendar.Create(
        {.parent = host.page.Handle(), .bounds = {3, 28, 367, 172}, .day = 17, .month = 5, .year = 2024});
    calendar.MonthName = [](int month, int year) {
      return "month " + std::to_string(month) + "/" + std::to_string(year);
    };
    calendar.DayName = [](int day, int month, int year) {
      return std::to_string(day) + "." + std::to_string(month) + "." + std::to_string(year);
    };
    calendar.OnChange = [this] { ++changes; };
    watched = calendar.Handle();
    events.clear();
  }
  ~CalendarAccessibleTest() override {
    if (table) table->Release();
    CoUninitialize();
  }

  IAccessible& Table() {
    if (!table) {
      EXPECT_EQ(AccessibleObjectFromWindow(calendar.Handle(), OBJID_CLIENT, __uuidof(IAccessible),
                                           reinterpret_cast<void**>(&table)),
                S_OK);
    }
    return *table;
  }
  std::wstring Name(LONG id) {
    BSTR name = nullptr;
    if (Table().get_accName(Child(id), &name) != S_OK) return L"<none>";
    std::wstring text(name, SysStringLen(name));
    SysFreeString(name);
    return text;
  }
  LONG State(LONG id) {
    VARIANT state{};
    EXPECT_EQ(Table().get_accState(Child(id), &state), S_OK);
    return state.lVal;
  }
  LONG Role(LONG id) {
    VARIANT role{};
    EXPECT_EQ(Table().get_accRole(Child(id), &role), S_OK);
    return role.lVal;
  }
  RECT ScreenRectOf(LONG id) {
    LONG left = 0, top = 0, width = 0, height = 0;
    EXPECT_EQ(Table().accLocation(&left, &top, &width, &height, Child(id)), S_OK);
    return {left, top, left + width, top + height};
  }
  // Delivers the events raised so far.
  static void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }

  Host host;
  ui::Calendar calendar;
  IAccessible* table = nullptr;
  int changes = 0;
};

constexpr LONG kDayStates = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;

TEST_F(CalendarAccessibleTest, ATableOfFortyTwoCellsNamedByTheirDates) {
  EXPECT_EQ(Role(CHILDID_SELF), ROLE_SYSTEM_TABLE);
  EXPECT_EQ(Name(CHILDID_SELF), L"month 5/2024");
  LONG count = 0;
  EXPECT_EQ(Table().get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, 42);
  EXPECT_EQ(Name(1), L"28.4.2024");
  EXPECT_EQ(Name(4), L"1.5.2024");
  EXPECT_EQ(Name(20), L"17.5.2024");
  EXPECT_EQ(Name(34), L"31.5.2024");
  EXPECT_EQ(Name(42), L"8.6.2024");
  for (LONG cell = 1; cell <= 42; ++cell) {
    SCOPED_TRACE(cell);
    EXPECT_EQ(Role(cell), ROLE_SYSTEM_CELL);
    const bool inMay = cell >= 4 && cell <= 34;
    const LONG invisible = STATE_SYSTEM_INVISIBLE;  // the host window is never shown
    EXPECT_EQ(State(cell) & ~invisible, !inMay       ? STATE_SYSTEM_UNAVAILABLE
                                        : cell == 20 ? kDayStates | STATE_SYSTEM_SELECTED
                                                     : kDayStates);
  }
  // Cells are simple elements, not objects, and nothing lies beyond them.
  IDispatch* child = reinterpret_cast<IDispatch*>(1);
  EXPECT_EQ(Table().get_accChild(Child(5), &child), S_FALSE);
  EXPECT_EQ(child, nullptr);
  BSTR name = nullptr;
  EXPECT_EQ(Table().get_accName(Child(43), &name), E_INVALIDARG);

  // A January shows the December before it.
  calendar.SetMonth(1);
  EXPECT_EQ(Name(CHILDID_SELF), L"month 1/2024");
  EXPECT_EQ(Name(1), L"31.12.2023");
}

TEST_F(CalendarAccessibleTest, CellsLieWhereTheGridDrawsThem) {
  const ui::DayCell cell = calendar.FindDayCell(9);
  RECT drawn = calendar.CellRect(cell.column, cell.weekRow + 1);
  MapWindowPoints(calendar.Handle(), nullptr, reinterpret_cast<POINT*>(&drawn), 2);
  const RECT told = ScreenRectOf(12);  // 3 cells of April before the 9th's
  EXPECT_TRUE(EqualRect(&drawn, &told));

  VARIANT hit{};
  EXPECT_EQ(Table().accHitTest((told.left + told.right) / 2, (told.top + told.bottom) / 2, &hit), S_OK);
  EXPECT_EQ(hit.vt, VT_I4);
  EXPECT_EQ(hit.lVal, 12);
  const RECT whole = ScreenRectOf(CHILDID_SELF);
  EXPECT_EQ(Table().accHitTest(whole.left + 2, whole.top + 2, &hit), S_OK);  // the weekday names
  EXPECT_EQ(hit.lVal, CHILDID_SELF);
  EXPECT_EQ(Table().accHitTest(whole.right + 5, whole.top + 2, &hit), S_FALSE);
}

TEST_F(CalendarAccessibleTest, SelectionAndFocusFollowClicksAndKeysWithEvents) {
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE, nullptr, Record,
                                       GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);

  // A click on the 20th (cell 23) gives the calendar the focus and selects it.
  const ui::DayCell cell = calendar.FindDayCell(20);
  const RECT rect = calendar.CellRect(cell.column, cell.weekRow + 1);
  const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  SendMessageW(calendar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(calendar.Handle(), WM_LBUTTONUP, 0, at);
  ASSERT_EQ(GetFocus(), calendar.Handle());
  Pump();
  EXPECT_EQ(State(23) & ~STATE_SYSTEM_INVISIBLE, kDayStates | STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED);
  EXPECT_EQ(State(20) & STATE_SYSTEM_SELECTED, 0);
  VARIANT focus{}, selection{};
  EXPECT_EQ(Table().get_accFocus(&focus), S_OK);
  EXPECT_EQ(focus.lVal, 23);
  EXPECT_EQ(Table().get_accSelection(&selection), S_OK);
  EXPECT_EQ(selection.lVal, 23);
  EXPECT_NE(std::find(events.begin(), events.end(), Event{EVENT_OBJECT_SELECTION, 23}), events.end());
  EXPECT_NE(std::find(events.begin(), events.end(), Event{EVENT_OBJECT_FOCUS, 23}), events.end());

  // An arrow key: the next day, with both events for its cell.
  events.clear();
  SendMessageW(calendar.Handle(), WM_KEYDOWN, VK_DOWN, 1);
  Pump();
  EXPECT_EQ(calendar.Day(), 27);
  EXPECT_EQ(events, (std::vector<Event>{{EVENT_OBJECT_SELECTION, 30}, {EVENT_OBJECT_FOCUS, 30}}));
  EXPECT_EQ(State(30) & STATE_SYSTEM_FOCUSED, STATE_SYSTEM_FOCUSED);

  // Another month from code: the table's name changes too.
  events.clear();
  calendar.SetMonth(6);
  Pump();
  EXPECT_EQ(events.front(), (Event{EVENT_OBJECT_NAMECHANGE, CHILDID_SELF}));
  UnhookWinEvent(hook);
}

TEST_F(CalendarAccessibleTest, AScreenReaderCanChooseADayAsAClickDoes) {
  EXPECT_EQ(Table().accSelect(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION, Child(8)), S_OK);
  EXPECT_EQ(calendar.Day(), 5);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(GetFocus(), calendar.Handle());
  // Not a day of another month, nor several days.
  EXPECT_EQ(Table().accSelect(SELFLAG_TAKESELECTION, Child(2)), E_INVALIDARG);
  EXPECT_EQ(Table().accSelect(SELFLAG_ADDSELECTION, Child(9)), E_INVALIDARG);
  EXPECT_EQ(calendar.Day(), 5);
}

TEST_F(CalendarAccessibleTest, TheTableAnswersNothingOnceTheCalendarIsGone) {
  IAccessible& kept = Table();
  DestroyWindow(calendar.Handle());
  BSTR name = nullptr;
  EXPECT_EQ(kept.get_accName(Child(CHILDID_SELF), &name), CO_E_OBJNOTCONNECTED);
  VARIANT state{};
  EXPECT_EQ(kept.get_accState(Child(5), &state), CO_E_OBJNOTCONNECTED);
}

}  // namespace
