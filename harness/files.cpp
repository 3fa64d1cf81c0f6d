#include "files.h"

#include <windows.h>

#include <stdio.h>

namespace harness {

std::string ExeDir() {
  std::string dir = ModulePath(nullptr);
  return dir.substr(0, dir.find_last_of("\\/") + 1);
}

std::string BinFile(const std::string& file, const std::string& variant) {
  std::string dir = ExeDir();
  if (!variant.empty()) dir += "variants\\" + variant + "\\";
  return dir + file;
}

std::string ModulePath(HMODULE module) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(module, path, sizeof path);
  return std::string(path, length < sizeof path ? length : 0);
}

static void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((dir + "*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = dir + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path + "\\");
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryA(dir.c_str());
}

TempDir::TempDir() {
  static LONG counter = 0;
  char base[MAX_PATH];
  GetTempPathA(sizeof base, base);
  char name[MAX_PATH];
  snprintf(name, sizeof name, "%standor-%lu-%ld-%lu\\", base,
           GetCurrentProcessId(), InterlockedIncrement(&counter),
           GetTickCount());
  path_ = name;
  CreateDirectoryA(path_.c_str(), nullptr);
}

TempDir::~TempDir() {
  RemoveTree(path_);
}

CurrentDir::CurrentDir(const std::string& path) {
  char previous[MAX_PATH];
  GetCurrentDirectoryA(sizeof previous, previous);
  previous_ = previous;
  SetCurrentDirectoryA(path.c_str());
}

CurrentDir::~CurrentDir() {
  SetCurrentDirectoryA(previous_.c_str());
}

bool ReadText(const std::string& path, std::string* text) {
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) return false;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
    text->append(buffer, got);
  fclose(file);
  return true;
}

std::string ReadText(const std::string& path) {
  std::string text;
  ReadText(path, &text);
  return text;
}

void WriteText(const std::string& path, const std::string& text) {
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return;
  fwrite(text.data(), 1, text.size(), file);
  fclose(file);
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CopyInto(const std::string& file, const std::string& dir,
              const std::string& newName) {
  std::string name = newName;
  if (name.empty()) name = file.substr(file.find_last_of("\\/") + 1);
  return CopyFileA(file.c_str(), (dir + name).c_str(), FALSE) != 0;
}

}  // namespace harness
