#include "ui/CalendarAccessible.h"

#include <oleacc.h>

#include <atomic>
#include <string>

#include "platform/win32/AnsiText.h"
#include "platform/win32/SystemFunction.h"
#include "ui/Calendar.h"
#include "util/CivilDate.h"

namespace ui {
namespace {

constexpr LONG kCells = 42;  // six weeks of seven days

// The functions of oleacc, ole32 and oleaut32 this object needs, each loaded
// on first use.
HRESULT StandardObject(HWND hwnd, LONG id, REFIID riid, void** object) {
  static const auto create =
      SystemFunction<decltype(&CreateStdAccessibleObject)>(L"oleacc.dll", "CreateStdAccessibleObject");
  return create ? create(hwnd, id, riid, object) : E_FAIL;
}

BSTR MakeString(const std::wstring& text) {
  static const auto allocate =
      SystemFunction<decltype(&SysAllocStringLen)>(L"oleaut32.dll", "SysAllocStringLen");
  return allocate ? allocate(text.data(), static_cast<UINT>(text.size())) : nullptr;
}

// Another program's calls reach the object through COM, which this thread
// joins once, as a single-threaded apartment, for the rest of the run.
bool JoinApartment() {
  static const bool joined = [] {
    const auto initialise = SystemFunction<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    const HRESULT result = initialise ? initialise(nullptr, COINIT_APARTMENTTHREADED) : E_FAIL;
    return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;
  }();
  return joined;
}

void SetEmpty(VARIANT* value) {
  value->vt = VT_EMPTY;
}

// A child id, a role or a state.
void SetNumber(VARIANT* value, LONG number) {
  value->vt = VT_I4;
  value->lVal = number;
}

// A screen reader's VT_I4 child id: 0 for the table, 1 to 42 for a cell; -1
// for anything else.
LONG ChildOf(const VARIANT& id) {
  if (id.vt != VT_I4 || id.lVal < CHILDID_SELF || id.lVal > kCells) return -1;
  return id.lVal;
}

}  // namespace

// The table itself. Its methods ask the calendar afresh each time, so that
// what a screen reader reads is what the calendar shows.
class CalendarObject final : public IAccessible {
 public:
  explicit CalendarObject(Calendar& calendar) : calendar_(&calendar) {}

  void Disconnect() {
    calendar_ = nullptr;
    // Other programs holding the object learn at once that it is gone.
    static const auto disconnect =
        SystemFunction<decltype(&CoDisconnectObject)>(L"ole32.dll", "CoDisconnectObject");
    if (disconnect) disconnect(this, 0);
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: screen readers call the IAccessible methods directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!calendar_) return CO_E_OBJNOTCONNECTED;
    return StandardObject(calendar_->Handle(), OBJID_WINDOW, __uuidof(IDispatch),
                          reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    if (!count) return E_POINTER;
    *count = kCells;
    return calendar_ ? S_OK : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override {
    if (!child) return E_POINTER;
    *child = nullptr;
    // The cells are simple elements, not objects of their own.
    return ChildOf(id) > 0 ? S_FALSE : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override {
    if (!name) return E_POINTER;
    *name = nullptr;
    const LONG child = ChildOf(id);
    if (child < 0) return E_INVALIDARG;
    if (!calendar_) return CO_E_OBJNOTCONNECTED;
    try {
      *name = MakeString(AnsiToWide(child == CHILDID_SELF ? MonthName() : DayName(child)));
    } catch (...) {
      return E_FAIL;
    }
    return *name ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* value) override { return NoText(id, value); }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* text) override { return NoText(id, text); }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override {
    if (!role) return E_POINTER;
    SetEmpty(role);
    const LONG child = ChildOf(id);
    if (child < 0) return E_INVALIDARG;
    SetNumber(role, child == CHILDID_SELF ? ROLE_SYSTEM_TABLE : ROLE_SYSTEM_CELL);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override {
    if (!state) return E_POINTER;
    SetEmpty(state);
    const LONG child = ChildOf(id);
    if (child < 0) return E_INVALIDARG;
    if (!calendar_) return CO_E_OBJNOTCONNECTED;
    SetNumber(state, StateOf(child));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT id, BSTR* help) override { return NoText(id, help); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = -1;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* keys) override {
    return NoText(id, keys);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    SetEmpty(focus);
    if (!calendar_) return CO_E_OBJNOTCONNECTED;
    if (!HasFocus()) return S_FALSE;
    SetNumber(focus, SelectedCell());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    SetEmpty(selection);
    if (!calendar_) return CO_E_OBJNOTCONNECTED;
    SetNumber(selection, SelectedCell());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* action) override {
    return NoText(id, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT id) override {
    const LONG child = ChildOf(id);
    if (child < 0 || (flags & ~(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION))) return E_INVALIDARG;
    if (!calendar_) return CO_E_OBJNOTCONNECTED;
    if (child != CHILDID_SELF && !InShownMonth(child)) return E_INVALIDARG;
    if (flags & SELFLAG_TAKEFOCUS) SetFocus(calendar_->Handle());
    // Chosen as a click on the cell chooses it.
    if (child != CHILDID_SELF && (flags & SELFLAG_TAKESELECTION)) calendar_->SelectByUser(DayOf(child));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT id) override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    const LONG child = ChildOf(id);
    if (child < 0) return E_INVALIDARG;
    if (!calendar_) return CO_E_OBJNOTCONNECTED;
    RECT rect{};
    if (child == CHILDID_SELF)
      GetClientRect(calendar_->Handle(), &rect);
    else
      rect = calendar_->CellRect((child - 1) % 7, (child - 1) / 7 + 1);
    MapWindowPoints(calendar_->Handle(), nullptr, reinterpret_cast<POINT*>(&rect), 2);
    *left = rect.left;
    *top = rect.top;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    SetEmpty(end);
    const LONG from = ChildOf(start);
    if (from < 0) return E_INVALIDARG;
    LONG to = 0;
    if (from == CHILDID_SELF) {
      if (direction == NAVDIR_FIRSTCHILD) to = 1;
      if (direction == NAVDIR_LASTCHILD) to = kCells;
    } else {
      const LONG column = (from - 1) % 7;
      if (direction == NAVDIR_NEXT) to = from + 1;
      if (direction == NAVDIR_PREVIOUS) to = from - 1;
      if (direction == NAVDIR_RIGHT && column < 6) to = from + 1;
      if (direction == NAVDIR_LEFT && column > 0) to = from - 1;
      if (direction == NAVDIR_DOWN) to = from + 7;
      if (direction == NAVDIR_UP) to = from - 7;
    }
    if (to < 1 || to > kCells) return S_FALSE;
    SetNumber(end, to);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* found) override {
    if (!found) return E_POINTER;
    SetEmpty(found);
    if (!calendar_) return CO_E_OBJNOTCONNECTED;
    POINT at{x, y};
    ScreenToClient(calendar_->Handle(), &at);
    RECT client{};
    GetClientRect(calendar_->Handle(), &client);
    if (!PtInRect(&client, at)) return S_FALSE;
    for (LONG cell = 1; cell <= kCells; ++cell) {
      RECT rect = calendar_->CellRect((cell - 1) % 7, (cell - 1) / 7 + 1);
      ++rect.right;  // with the grid line after it
      ++rect.bottom;
      if (PtInRect(&rect, at)) {
        SetNumber(found, cell);
        return S_OK;
      }
    }
    SetNumber(found, CHILDID_SELF);  // the row of weekday names
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  ~CalendarObject() = default;

  static HRESULT NoText(const VARIANT& id, BSTR* text) {
    if (!text) return E_POINTER;
    *text = nullptr;
    return ChildOf(id) < 0 ? E_INVALIDARG : S_FALSE;
  }

  bool HasFocus() const { return GetFocus() == calendar_->Handle(); }
  LONG SelectedCell() const { return calendar_->SelectedCell(); }
  // The day of the shown month in a cell; 0 or less before the 1st, more
  // than the month's days after its last.
  int DayOf(LONG cell) const { return static_cast<int>(cell) - calendar_->FirstColumn(); }
  bool InShownMonth(LONG cell) const {
    const int day = DayOf(cell);
    return day >= 1 && day <= calendar_->DaysInMonth();
  }

  LONG StateOf(LONG child) const {
    HWND hwnd = calendar_->Handle();
    LONG state = IsWindowVisible(hwnd) ? 0 : STATE_SYSTEM_INVISIBLE;
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    if (child == CHILDID_SELF) {
      state |= enabled ? STATE_SYSTEM_FOCUSABLE : STATE_SYSTEM_UNAVAILABLE;
      if (HasFocus()) state |= STATE_SYSTEM_FOCUSED;
      return state;
    }
    if (!enabled || !InShownMonth(child)) return state | STATE_SYSTEM_UNAVAILABLE;
    state |= STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    if (child == SelectedCell()) {
      state |= STATE_SYSTEM_SELECTED;
      if (HasFocus()) state |= STATE_SYSTEM_FOCUSED;
    }
    return state;
  }

  std::string MonthName() const {
    const int month = calendar_->Month(), year = calendar_->Year();
    if (calendar_->MonthName) return calendar_->MonthName(month, year);
    return std::to_string(month) + "/" + std::to_string(year);
  }
  // The date of a cell, in the shown month or the one before or after.
  std::string DayName(LONG cell) const {
    int day = DayOf(cell), month = calendar_->Month(), year = calendar_->Year();
    if (day < 1) {
      month = month == 1 ? 12 : month - 1;
      if (month == 12) --year;
      day += ::DaysInMonth(static_cast<unsigned>(month), year);
    } else if (day > calendar_->DaysInMonth()) {
      day -= calendar_->DaysInMonth();
      month = month == 12 ? 1 : month + 1;
      if (month == 1) ++year;
    }
    if (calendar_->DayName && year >= 1 && year <= 9999) return calendar_->DayName(day, month, year);
    return std::to_string(day);
  }

  std::atomic<ULONG> references_{1};
  Calendar* calendar_;
};

LRESULT CalendarAccessibility::Answer(Calendar& calendar, WPARAM wParam, LPARAM lParam) {
  if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) return 0;
  static const auto answer = SystemFunction<decltype(&LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
  if (!answer || !JoinApartment()) return 0;
  if (!object_) object_ = new CalendarObject(calendar);
  return answer(__uuidof(IAccessible), wParam, object_);
}

void CalendarAccessibility::Disconnect() {
  if (!object_) return;
  object_->Disconnect();
  object_->Release();
  object_ = nullptr;
}

void CalendarAccessibility::SelectionMoved(HWND calendar, int cell) {
  NotifyWinEvent(EVENT_OBJECT_SELECTION, calendar, OBJID_CLIENT, cell);
  if (GetFocus() == calendar) NotifyWinEvent(EVENT_OBJECT_FOCUS, calendar, OBJID_CLIENT, cell);
}

void CalendarAccessibility::MonthChanged(HWND calendar) {
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, calendar, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace ui
