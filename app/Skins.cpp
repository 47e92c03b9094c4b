// The skin pictures of the header and the buttons, and their renderings for
// the window's DPI.
#include <functional>

#include "app/TFormMain.h"
#include "platform/FileSystem.h"
#include "ui/Dpi.h"
#include "util/AppError.h"

void TFormMain::LoadSkins(SkinErrors errors) {
  struct Target {
    const char* file;
    int count;  // images side by side
    std::function<void(ui::Bitmap, int count)> show;
  };
  using ui::GlyphLayout;
  const Target skins[] = {
      {"HeaderSetup.bmp", 1, [this](ui::Bitmap b, int) { Panel1.SetPicture(std::move(b)); }},
      {"SAVE_BUTTON.bmp", 1,
       [this](ui::Bitmap b, int n) { ButtonOK.SetGlyph(std::move(b), n, GlyphLayout::Left); }},
      {"CANCEL_BUTTON.bmp", 2,
       [this](ui::Bitmap b, int n) { ButtonCancel.SetGlyph(std::move(b), n, GlyphLayout::Left); }},
      {"EXIT_BUTTON.bmp", 1,
       [this](ui::Bitmap b, int n) { Page2.ButtonClear.SetGlyph(std::move(b), n, GlyphLayout::Left); }},
      {"APPLY_BUTTON.bmp", 2,
       [this](ui::Bitmap b, int n) { Page2.ButtonApply.SetGlyph(std::move(b), n, GlyphLayout::Left); }},
      {"BATTERY.BMP", 1,
       [this](ui::Bitmap b, int n) { Page1.ButtonAutoDetect.SetGlyph(std::move(b), n, GlyphLayout::Top); }},
      {"VIEWALL_BUTTON.bmp", 1,
       [this](ui::Bitmap b, int n) { Page2.ButtonViewAll.SetGlyph(std::move(b), n, GlyphLayout::Top); }},
      {"RESET_BUTTON.bmp", 1,
       [this](ui::Bitmap b, int n) { Page2.ButtonReset.SetGlyph(std::move(b), n, GlyphLayout::Top); }},
  };
  std::string folder = ProgramFolder() + "skin\\setup\\";
  for (const Target& skin : skins) {
    std::string path = folder + skin.file;
    ui::Bitmap picture;
    try {
      picture = ui::LoadBitmapFile(path);
    } catch (const fs_seam::FileNotFound&) {
      if (errors == SkinErrors::Report)
        dialogs_.Message(stores_.language->MESSAGE_ERROR_FILE_NOT_FOUND + skin.file);
      continue;
    } catch (const fs_seam::FileError& error) {
      if (errors == SkinErrors::Report) throw AppError(path + ": " + error.what());
      continue;
    }
    if (!picture) {
      if (errors == SkinErrors::Report) throw AppError("Bitmap image is not valid");
      continue;
    }
    skin.show(SkinAtDpi(skin.file, std::move(picture), skin.count), skin.count);
  }
}

// The larger renderings lie in skin\setup\150 and skin\setup\200. Shrinking
// the nearest larger one keeps the lines sharp; enlarging the 1x picture is
// the last resort.
ui::Bitmap TFormMain::SkinAtDpi(const std::string& file, ui::Bitmap picture, int count) {
  const int dpi = Dpi();
  if (dpi == ui::kLayoutDpi) return picture;
  const SIZE size = ui::BitmapSize(picture.Get());
  const SIZE wanted{ui::Scale(size.cx / count, dpi) * count, ui::Scale(size.cy, dpi)};
  for (int percent : {150, 200}) {
    if (percent * ui::kLayoutDpi < dpi * 100 && percent != 200) continue;
    std::string path = ProgramFolder() + "skin\\setup\\" + std::to_string(percent) + "\\" + file;
    ui::Bitmap larger;
    try {
      larger = ui::LoadBitmapFile(path);
    } catch (const fs_seam::FileError&) {
      continue;  // the 1x picture serves
    }
    if (larger) {
      picture = std::move(larger);
      break;
    }
  }
  ui::Bitmap scaled = ui::ScaledBitmap(picture.Get(), wanted, count);
  return scaled ? std::move(scaled) : std::move(picture);
}
