#include "remote_fixture.h"

#include <memory>

using namespace testsupport;

namespace remotetest {

std::string SettingsText(const Settings& settings) {
  return "[MiraboRemote]\r\nKeyFirstDelay=" +
         std::to_string(settings.keyFirstDelay) +
         "\r\nKeyRepeatDelay=" + std::to_string(settings.keyRepeatDelay) +
         "\r\nLeaveSoundOnExit=" + std::to_string(settings.leaveSoundOnExit) +
         "\r\nUseAcorpCompMode=" + std::to_string(settings.useAcorpCompMode) +
         "\r\nUseLog=" + std::to_string(settings.useLog) + "\r\n";
}

Settings MinuteLongDelays() {
  Settings settings;
  settings.keyFirstDelay = 60000;
  settings.keyRepeatDelay = 60000;
  return settings;
}

std::vector<std::string> SplitLogLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

static const char kChildVariable[] = "TANDOR_REMOTE_CHILD";

bool InChildMode() {
  char value[8];
  DWORD length = GetEnvironmentVariableA(kChildVariable, value, sizeof value);
  return length > 0 && length < sizeof value;
}

ProcessResult RunChildTest(const std::string& test, const std::string& dir,
                           std::vector<std::string> env) {
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, sizeof exe);
  env.push_back(std::string(kChildVariable) + "=1");
  return RunProcess(exe, "--gtest_filter=" + test, dir, 30000, env);
}

ScopedVariable::ScopedVariable(const char* name, const char* value)
    : name_(name) {
  SetEnvironmentVariableA(name, value);
}

ScopedVariable::~ScopedVariable() {
  SetEnvironmentVariableA(name_.c_str(), nullptr);
}

int EntryFlagNow() {
  HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, "dllmemfilemap");
  if (!mapping) return -1;
  int flag = -1;
  void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(int));
  if (view) {
    flag = *static_cast<volatile int*>(view);
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
  return flag;
}

std::string VersionLine(const std::string& platformName) {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  char tail[256];
  snprintf(tail, sizeof tail, " version %lu.%lu %s (Build %lu)",
           version.dwMajorVersion, version.dwMinorVersion, version.szCSDVersion,
           version.dwBuildNumber & 0xFFFF);
  return "> Windows Version - " + platformName + tail;
}

void ExpectSoundOff(const std::vector<SimSoundWrite>& writes, size_t first) {
  ASSERT_GE(writes.size(), first + 4);
  const SimSoundWrite* off = &writes[first];
  EXPECT_EQ(0x10, off[0].value);
  EXPECT_EQ(0x10, off[1].value);
  EXPECT_EQ(0x40, off[2].value);
  EXPECT_EQ(0x40, off[3].value);
  EXPECT_GE(off[1].timeUs - off[0].timeUs, 20000 - kSlackUs);
  EXPECT_GE(off[2].timeUs - off[1].timeUs, 1000 - kSlackUs / 4);
  EXPECT_GE(off[3].timeUs - off[2].timeUs, 20000 - kSlackUs);
}

PluginTest::PluginTest(const char* pluginFile)
    : pluginFile_(pluginFile), currentDir_(dir_.path()) {}

void PluginTest::SetUp() {
  // Held for the whole test, so that the card and its records outlive the
  // plug-in's own use of the driver.
  simDriver_ = LoadSimDriver();
  ASSERT_NE(nullptr, simDriver_) << "cannot load the simulated card";
  sim_ = SimCard();
  ASSERT_NE(nullptr, sim_);
  sim_->Reset();
  plugin_ = LoadLibraryA((ExeDir() + pluginFile_).c_str());
  ASSERT_NE(nullptr, plugin_) << "cannot load " << pluginFile_;
}

void PluginTest::TearDown() {
  if (plugin_) FreeLibrary(plugin_);
  if (simDriver_) FreeLibrary(simDriver_);
}

IRemoteDevice* PluginTest::CreateOrNull() {
  auto get = reinterpret_cast<GetInterfacePtrFn>(
      reinterpret_cast<void*>(GetProcAddress(plugin_, REMOTE_EXPORT_NAME)));
  EXPECT_NE(nullptr, get) << "no export " REMOTE_EXPORT_NAME;
  return get ? get() : nullptr;
}

IRemoteDevice* PluginTest::Create() {
  IRemoteDevice* device = CreateOrNull();
  EXPECT_NE(nullptr, device);
  return device;
}

static IRemoteDevice* Started(IRemoteDevice* device, IKeyEventSink* sink,
                              IRemoteHost* host) {
  if (!device) return nullptr;
  HRESULT started = device->Start(sink, host);
  EXPECT_EQ(S_OK, started);
  if (started == S_OK) return device;
  device->Release();
  return nullptr;
}

IRemoteDevice* PluginTest::StartNew(const Settings& settings) {
  WriteSettings(settings);
  return Started(Create(), &sink_, &host_);
}

IRemoteDevice* PluginTest::StartNewWithoutSink(const Settings& settings) {
  WriteSettings(settings);
  return Started(Create(), nullptr, &host_);
}

IRemoteDevice* PluginTest::StartNewWithHost(IRemoteHost* host) {
  WriteSettings(Settings());
  return Started(Create(), &sink_, host);
}

void PluginTest::StopAndRelease(IRemoteDevice* device) {
  EXPECT_EQ(S_OK, device->Stop());
  EXPECT_EQ(0u, device->Release());
}

void PluginTest::RunSession(const Settings& settings,
                            const std::vector<int>& keys) {
  std::unique_ptr<HostWindow> window(new HostWindow);
  IRemoteDevice* device = StartNew(settings);
  ASSERT_NE(nullptr, device);
  ASSERT_TRUE(WaitForSoundWrites(1)) << "no sound on";
  for (int code : keys) {
    size_t delivered = sink_.size();
    sim_->PressKey(code);
    ASSERT_TRUE(sink_.WaitForKeys(delivered + 1)) << "key " << code;
    sim_->ReleaseKey();
  }
  window.reset();
  ASSERT_TRUE(WaitForSoundWrites(5)) << "no sound off";
  StopAndRelease(device);
}

void PluginTest::ExpectHostObjectsHeld(long count) const {
  EXPECT_EQ(count, host_.count());
  EXPECT_EQ(count, sink_.count());
}

void PluginTest::WriteSettings(const Settings& settings) {
  WriteSettingsText(SettingsText(settings));
}

// The plug-in may read the file at any moment: it sees the old file or the
// new one, never a half-written one.
void PluginTest::WriteSettingsText(const std::string& text) {
  std::string next = dir_.File("mirabo.ini.new");
  WriteText(next, text);
  MoveFileExA(next.c_str(), dir_.File("mirabo.ini").c_str(),
              MOVEFILE_REPLACE_EXISTING);
}

std::string PluginTest::LogText() const {
  return ReadText(dir_.File("MiraboRemote.log"));
}

std::vector<std::string> PluginTest::LogLines() const {
  return SplitLogLines(LogText());
}

bool PluginTest::LogHas(const std::string& line) const {
  for (const std::string& logged : LogLines())
    if (logged == line) return true;
  return false;
}

bool PluginTest::WaitForLogLine(const std::string& line,
                                DWORD timeoutMs) const {
  return WaitUntil([&] { return LogHas(line); }, timeoutMs);
}

std::vector<SimKeyRead> PluginTest::KeyReads() const {
  return Records(sim_->GetKeyReads);
}

std::vector<SimSoundWrite> PluginTest::SoundWrites() const {
  return Records(sim_->GetSoundWrites);
}

std::vector<SimBusEvent> PluginTest::BusEvents() const {
  return Records(sim_->GetBusEvents);
}

bool PluginTest::WaitForKeyReads(size_t count, DWORD timeoutMs) const {
  return WaitUntil([&] { return KeyReads().size() >= count; }, timeoutMs);
}

bool PluginTest::WaitForSoundWrites(size_t count, DWORD timeoutMs) const {
  return WaitUntil([&] { return SoundWrites().size() >= count; }, timeoutMs);
}

}  // namespace remotetest
