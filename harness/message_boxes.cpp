#include "message_boxes.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>

#include "text.h"

namespace harness {

namespace {

// A message box is a dialog of the system class kDialogClass.
const char kDialogClass[] = "#32770";

bool HasClass(HWND window, const char* name) {
  char actual[16] = "";
  GetClassNameA(window, actual, sizeof actual);
  return _stricmp(actual, name) == 0;
}

std::string WindowText(HWND window) {
  char text[2048] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string IconName(HWND box) {
  HICON shown = nullptr;
  for (HWND child = GetWindow(box, GW_CHILD); child;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (HasClass(child, "Static") &&
        (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      shown = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
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

int DefaultButton(HWND box) {
  LRESULT id = SendMessageA(box, DM_GETDEFID, 0, 0);
  return HIWORD(id) == DC_HASDEFID ? LOWORD(id) : IDOK;
}

// The box as its user sees it, from its window (of this process or
// another). The message text is the static control with the identifier
// 0xFFFF.
Box Look(HWND window) {
  Box box;
  box.caption = WindowText(window);
  box.text = WindowText(GetDlgItem(window, 0xFFFF));
  box.icon = IconName(window);
  box.owner = GetWindow(window, GW_OWNER);
  box.requestedOwner = box.owner;
  box.button = WindowText(GetDlgItem(window, DefaultButton(window)));
  return box;
}

// Presses the default button, as Enter would.
void PressDefaultButton(HWND window) {
  int button = DefaultButton(window);
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
}

std::string OwnerName(HWND owner) {
  if (!owner) return "none";
  if (owner == GetDesktopWindow()) return "desktop";
  char name[32];
  snprintf(name, sizeof name, "window %p", static_cast<void*>(owner));
  return name;
}

// The hook procedure has no other way to the answerer of its thread.
thread_local BoxAnswerer* activeAnswerer = nullptr;

}  // namespace

BoxAnswerer::BoxAnswerer(std::function<void(const Box&)> onBox)
    : onBox_(std::move(onBox)) {
  activeAnswerer = this;
  hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

BoxAnswerer::~BoxAnswerer() {
  if (hook_) UnhookWindowsHookEx(hook_);
  activeAnswerer = nullptr;
}

LRESULT CALLBACK BoxAnswerer::Hook(int code, WPARAM wparam, LPARAM lparam) {
  BoxAnswerer* self = activeAnswerer;
  HWND window = reinterpret_cast<HWND>(wparam);
  if (self && code == HCBT_CREATEWND && HasClass(window, kDialogClass)) {
    auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lparam);
    self->requestedOwners_.push_back({window, create->lpcs->hwndParent});
  } else if (self && code == HCBT_ACTIVATE && window != self->lastAnswered_ &&
             HasClass(window, kDialogClass)) {
    self->lastAnswered_ = window;
    self->Answer(window);
  } else if (self && code == HCBT_DESTROYWND) {
    auto& owners = self->requestedOwners_;
    owners.erase(std::remove_if(owners.begin(), owners.end(),
                                [&](const std::pair<HWND, HWND>& entry) {
                                  return entry.first == window;
                                }),
                 owners.end());
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

void BoxAnswerer::Answer(HWND window) {
  Box box = Look(window);
  for (const auto& entry : requestedOwners_)
    if (entry.first == window) box.requestedOwner = entry.second;
  boxes_.push_back(box);
  if (onBox_) onBox_(box);
  PressDefaultButton(window);
}

void ProcessBoxAnswerer::AnswerOpenBoxes() {
  EnumWindows(&Visit, reinterpret_cast<LPARAM>(this));
}

BOOL CALLBACK ProcessBoxAnswerer::Visit(HWND window, LPARAM param) {
  auto* self = reinterpret_cast<ProcessBoxAnswerer*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != self->processId_ || !HasClass(window, kDialogClass)) return TRUE;
  if (!IsWindowVisible(window) || window == self->lastAnswered_) return TRUE;
  self->boxes_.push_back(Look(window));
  self->lastAnswered_ = window;
  PressDefaultButton(window);
  return TRUE;
}

std::string Describe(const Box& box) {
  return "message box: caption " + Quoted(box.caption) + ", icon " + box.icon +
         ", owner " + OwnerName(box.requestedOwner) + ", text " +
         Quoted(box.text) + "; answered " + Quoted(box.button);
}

std::string Summary(const Box& box) {
  return box.caption + "|" + box.text +
         "|icon=" + (box.icon != "none" ? "1" : "0") +
         "|owner=" + (box.owner ? "1" : "0");
}

}  // namespace harness
