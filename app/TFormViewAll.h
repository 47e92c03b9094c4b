#pragma once
// The overview window of all schedule events; hidden until View All shows it.
#include "app/Services.h"
#include "ui/ReportList.h"
#include "ui/Window.h"

class TFormViewAll : public ui::Window {
 public:
  TFormViewAll(const Services& services, HWND owner);
  ~TFormViewAll() override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};
