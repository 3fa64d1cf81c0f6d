#include "box_answerer.h"

#include <stdio.h>

#include <map>

#include "console.h"

namespace {

// A message box is a dialog of the system class "#32770".
bool IsDialogClass(HWND window) {
  char name[16] = "";
  GetClassNameA(window, name, sizeof name);
  return strcmp(name, "#32770") == 0;
}

// The owner asked for when the box was created. (Windows does not keep the
// desktop as an owner: GetWindow(GW_OWNER) says "none" for both.)
thread_local std::map<HWND, HWND>* requestedOwners = nullptr;
thread_local HWND lastAnswered = nullptr;

std::string OwnerName(HWND owner) {
  if (!owner) return "none";
  if (owner == GetDesktopWindow()) return "desktop";
  char name[32];
  snprintf(name, sizeof name, "window %p", static_cast<void*>(owner));
  return name;
}

std::string IconName(HWND box) {
  HICON shown = nullptr;
  for (HWND child = GetWindow(box, GW_CHILD); child;
       child = GetWindow(child, GW_HWNDNEXT)) {
    char name[16] = "";
    GetClassNameA(child, name, sizeof name);
    if (_stricmp(name, "Static") == 0 &&
        (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      shown = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    }
  }
  if (!shown) return "none";
  const struct {
    LPCSTR id;
    const char* name;
  } kIcons[] = {{IDI_ERROR, "error"},
                {IDI_WARNING, "warning"},
                {IDI_INFORMATION, "information"},
                {IDI_QUESTION, "question"}};
  for (const auto& icon : kIcons) {
    if (LoadIconA(nullptr, icon.id) == shown) return icon.name;
  }
  return "other";
}

std::string WindowText(HWND window) {
  char text[2048] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

int DefaultButton(HWND box) {
  LRESULT id = SendMessageA(box, DM_GETDEFID, 0, 0);
  return HIWORD(id) == DC_HASDEFID ? LOWORD(id) : IDOK;
}

void AnswerBox(HWND box) {
  BoxView view;
  view.caption = WindowText(box);
  // The message text is the static control with the identifier 0xFFFF.
  view.text = WindowText(GetDlgItem(box, 0xFFFF));
  view.icon = IconName(box);
  auto requested = requestedOwners->find(box);
  view.owner =
      OwnerName(requested != requestedOwners->end() ? requested->second
                                                    : GetWindow(box, GW_OWNER));
  int button = DefaultButton(box);
  view.button = WindowText(GetDlgItem(box, button));
  console::Note("%s", DescribeBox(view).c_str());
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}

LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam) {
  HWND window = reinterpret_cast<HWND>(wparam);
  if (requestedOwners && code == HCBT_CREATEWND && IsDialogClass(window)) {
    auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lparam);
    (*requestedOwners)[window] = create->lpcs->hwndParent;
  } else if (requestedOwners && code == HCBT_ACTIVATE &&
             window != lastAnswered && IsDialogClass(window)) {
    lastAnswered = window;
    AnswerBox(window);
  } else if (requestedOwners && code == HCBT_DESTROYWND) {
    requestedOwners->erase(window);
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace

BoxAnswerer::BoxAnswerer() {
  requestedOwners = new std::map<HWND, HWND>;
  hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

BoxAnswerer::~BoxAnswerer() {
  if (hook_) UnhookWindowsHookEx(hook_);
  delete requestedOwners;
  requestedOwners = nullptr;
  lastAnswered = nullptr;
}

std::string DescribeBox(const BoxView& box) {
  return "message box: caption " + Quoted(box.caption) + ", icon " + box.icon +
         ", owner " + box.owner + ", text " + Quoted(box.text) + "; answered " +
         Quoted(box.button);
}
