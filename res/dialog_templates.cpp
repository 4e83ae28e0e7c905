#include "res/dialog_template.h"

#include "res/win_styles.h"

namespace {

// First pass over the rows: one control array per dialog.
#define NQ_DIALOGEX(id, x, y, w, h, style, exStyle, title, font, points, weight, italic, charset) \
  constexpr ControlTemplate controls##id[] = {
#define NQ_DIALOG(id, x, y, w, h, style, title, font, points) \
  constexpr ControlTemplate controls##id[] = {
#define NQ_CONTROL(id, cls, text, x, y, w, h, style) {id, cls, text, 0, x, y, w, h, style},
#define NQ_PICTURE(id, cls, resource, x, y, w, h, style) {id, cls, "", resource, x, y, w, h, style},
#define NQ_END };
#include "res/dialog_rows.inc"
#undef NQ_DIALOGEX
#undef NQ_DIALOG
#undef NQ_CONTROL
#undef NQ_PICTURE
#undef NQ_END

// Second pass: the dialogs, each pointing at its controls. A classic template
// carries only the font's size and name; the rest is what the system assumes
// for it (normal weight, upright, DEFAULT_CHARSET).
#define NQ_DIALOGEX(id, x, y, w, h, style, exStyle, title, font, points, weight, italic, charset) \
  DialogTemplate{id, true, title, x, y, w, h, style, exStyle, font, points, weight, italic != 0, \
                 charset, controls##id},
#define NQ_DIALOG(id, x, y, w, h, style, title, font, points) \
  DialogTemplate{id, false, title, x, y, w, h, style, 0, font, points, 0, false, 1, controls##id},
#define NQ_CONTROL(id, cls, text, x, y, w, h, style)
#define NQ_PICTURE(id, cls, resource, x, y, w, h, style)
#define NQ_END
constexpr DialogTemplate dialogs[] = {
#include "res/dialog_rows.inc"
};
#undef NQ_DIALOGEX
#undef NQ_DIALOG
#undef NQ_CONTROL
#undef NQ_PICTURE
#undef NQ_END

}  // namespace

const DialogTemplate* findDialogTemplate(int id) {
  for (const DialogTemplate& dialog : dialogs) {
    if (dialog.id == id) return &dialog;
  }
  return nullptr;
}
