#include "AccessibleReport.h"

#include <oleacc.h>

#include <cstdio>
#include <string>
#include <utility>

namespace {

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                      nullptr);
  return bytes;
}

VARIANT Child(long id) {
  VARIANT child{};
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}

std::string Name(IAccessible& object, long id) {
  BSTR name = nullptr;
  if (object.get_accName(Child(id), &name) != S_OK || !name) return "";
  std::string text = Utf8(std::wstring(name, SysStringLen(name)));
  SysFreeString(name);
  return text;
}

std::string Role(IAccessible& object, long id) {
  VARIANT role{};
  if (object.get_accRole(Child(id), &role) != S_OK || role.vt != VT_I4) return "?";
  switch (role.lVal) {
    case ROLE_SYSTEM_TABLE:
      return "table";
    case ROLE_SYSTEM_CELL:
      return "cell";
    case ROLE_SYSTEM_CLIENT:
      return "client";
    default:
      return std::to_string(role.lVal);
  }
}

std::string States(IAccessible& object, long id) {
  VARIANT state{};
  if (object.get_accState(Child(id), &state) != S_OK || state.vt != VT_I4) return "?";
  static const std::pair<long, const char*> names[] = {
      {STATE_SYSTEM_SELECTED, "selected"},       {STATE_SYSTEM_FOCUSED, "focused"},
      {STATE_SYSTEM_SELECTABLE, "selectable"},   {STATE_SYSTEM_FOCUSABLE, "focusable"},
      {STATE_SYSTEM_UNAVAILABLE, "unavailable"}, {STATE_SYSTEM_INVISIBLE, "invisible"}};
  std::string text;
  for (const auto& [bit, name] : names) {
    if (!(state.lVal & bit)) continue;
    if (!text.empty()) text += ',';
    text += name;
  }
  return text.empty() ? "none" : text;
}

// A child id from a VARIANT answer, or -1.
long IdOf(const VARIANT& answer) {
  return answer.vt == VT_I4 ? answer.lVal : -1;
}

}  // namespace

int AccessibleReport(HWND window, long child) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IAccessible* object = nullptr;
  const HRESULT got = AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(&object));
  if (FAILED(got) || !object) {
    std::fprintf(stderr, "no accessible object (0x%08lx)\n", static_cast<unsigned long>(got));
    return 1;
  }
  long count = 0;
  object->get_accChildCount(&count);
  std::printf("role=%s name=%s children=%ld states=%s\n", Role(*object, CHILDID_SELF).c_str(),
              Name(*object, CHILDID_SELF).c_str(), count, States(*object, CHILDID_SELF).c_str());
  VARIANT selected{}, focus{};
  if (object->get_accSelection(&selected) == S_OK && IdOf(selected) > 0)
    std::printf("selected=%ld name=%s states=%s\n", IdOf(selected), Name(*object, IdOf(selected)).c_str(),
                States(*object, IdOf(selected)).c_str());
  if (object->get_accFocus(&focus) == S_OK) std::printf("focus=%ld\n", IdOf(focus));
  if (child != 0) {
    long left = 0, top = 0, width = 0, height = 0;
    object->accLocation(&left, &top, &width, &height, Child(child));
    std::printf("child=%ld name=%s states=%s location=%ld,%ld,%ld,%ld\n", child, Name(*object, child).c_str(),
                States(*object, child).c_str(), left, top, width, height);
  }
  object->Release();
  CoUninitialize();
  return 0;
}
