// The reference for nestiq.exe's start: a plain Win32 dialog of the same size
// and font with about the same content (a group box, five labelled edits, two
// buttons), made from a template in memory. No common controls, no
// resources, no network query.
#include <windows.h>

#include <cstddef>
#include <initializer_list>
#include <vector>

namespace {

// A DLGTEMPLATEEX and its items, written as the dialog manager reads them.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short cx, short cy, const wchar_t* title, const wchar_t* font, WORD points) {
    word(1);       // dlgVer
    word(0xFFFF);  // signature
    dword(0);      // helpID
    dword(0);      // exStyle
    dword(style);
    countAt_ = data_.size();
    word(0);  // cDlgItems, set by add()
    shorts({0, 0, cx, cy});
    word(0);  // no menu
    word(0);  // the dialog class
    text(title);
    word(points);
    word(FW_NORMAL);
    word(0);  // italic, charset
    text(font);
  }

  void add(WORD atom, const wchar_t* caption, DWORD style, short x, short y, short cx, short cy, DWORD id) {
    align();
    dword(0);  // helpID
    dword(0);  // exStyle
    dword(WS_CHILD | WS_VISIBLE | style);
    shorts({x, y, cx, cy});
    dword(id);
    word(0xFFFF);
    word(atom);
    text(caption);
    word(0);  // no creation data
    ++data_[countAt_];
  }

  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(data_.data()); }

 private:
  void word(WORD w) { data_.push_back(w); }
  void dword(DWORD d) {
    word(LOWORD(d));
    word(HIWORD(d));
  }
  void shorts(std::initializer_list<short> values) {
    for (short v : values) word(static_cast<WORD>(v));
  }
  void text(const wchar_t* s) {
    do word(static_cast<WORD>(*s));
    while (*s++);
  }
  void align() {
    if (data_.size() % 2) word(0);
  }

  std::vector<WORD> data_;  // WORDs from a vector's start keep DWORD alignment
  std::size_t countAt_ = 0;
};

constexpr WORD kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082;

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

int main() {
  DialogTemplate dialog(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 170, 122,
                        L"Dialogue de r\u00e9f\u00e9rence", L"MS Sans Serif", 8);
  dialog.add(kButton, L"Configuration", BS_GROUPBOX, 2, 0, 166, 120, 1000);
  const wchar_t* labels[] = {L"Licence : ", L"Adresse IP : ", L"Masque de sous-r\u00e9seau :",
                             L"Passerelle par d\u00e9faut :", L"Serveur DNS :"};
  for (short row = 0; row < 5; ++row) {
    const short y = static_cast<short>(13 + 15 * row);
    dialog.add(kStatic, labels[row], SS_LEFT | SS_CENTERIMAGE | WS_GROUP, 8, y, 80, 13, static_cast<DWORD>(-1));
    dialog.add(kEdit, L"", WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, 89, y, 75, 13,
               static_cast<DWORD>(1001 + row));
  }
  dialog.add(kButton, L"Lancer", WS_TABSTOP | BS_DEFPUSHBUTTON, 5, 88, 133, 29, IDOK);
  dialog.add(kButton, L"V 3.2", WS_TABSTOP | BS_PUSHBUTTON, 142, 88, 22, 29, 1014);
  return static_cast<int>(DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), nullptr, dialogProc, 0));
}
