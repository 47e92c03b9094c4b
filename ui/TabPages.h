#pragma once
// A standard tab control whose pages are panels laid over its display area.
// The tab strip never takes the keyboard focus.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/Panel.h"

namespace ui {

struct TabPagesArgs {
  HWND parent = nullptr;
  Bounds bounds{};
  HFONT font = nullptr;
  ErrorSink sink{};  // given to every page
};

class TabPages : public Control {
 public:
  void Create(const TabPagesArgs& args);
  Panel& AddPage(const std::string& caption);
  int Count() const { return static_cast<int>(pages_.size()); }
  Panel& Page(int index) { return *pages_.at(index); }
  int ActiveIndex() const;
  void SetActive(int index);
  std::string Caption(int index) const;
  void SetCaption(int index, const std::string& caption);

  // The user chose another page (a click on its tab); SetActive runs nothing.
  std::function<void(int index)> OnChange;

  bool OnNotify(NMHDR& header, LRESULT& result) override;
  void OnDpiChanged(int oldDpi, int newDpi) override;

 private:
  void PlacePage(Panel& page);
  void ShowActivePage();
  ErrorSink sink_;
  std::vector<std::unique_ptr<Panel>> pages_;
};

}  // namespace ui
