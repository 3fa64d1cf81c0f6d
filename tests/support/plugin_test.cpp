#include "plugin_test.h"

#include <memory>

#include "driverApi.h"

using namespace harness;

namespace testsupport {

Settings MinuteLongDelays() {
  return Settings(60000, 60000);
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

PluginTest::PluginTest(const char* pluginFile)
    : pluginFile_(pluginFile), currentDir_(dir_.path()) {
  if (driver_.Load()) card_ = driver_.card();
  plugin_.Load(BinFile(pluginFile_));
}

void PluginTest::SetUp() {
  ASSERT_TRUE(driver_.held()) << "cannot load the simulated card";
  ASSERT_NE(nullptr, card_);
  card_->Reset();
  ASSERT_TRUE(plugin_.loaded()) << "cannot load " << pluginFile_;
}

IRemoteDevice* PluginTest::CreateOrNull() {
  EXPECT_TRUE(plugin_.loaded()) << "no export " REMOTE_EXPORT_NAME;
  return plugin_.CreateObject();
}

IRemoteDevice* PluginTest::Create() {
  IRemoteDevice* device = CreateOrNull();
  EXPECT_NE(nullptr, device) << "GetInterfacePtr";
  return device;
}

IRemoteDevice* PluginTest::StartWith(IKeyEventSink* sink, IRemoteHost* host) {
  IRemoteDevice* device = Create();
  if (!device) return nullptr;
  HRESULT started = device->Start(sink, host);
  EXPECT_EQ(S_OK, started) << "Start";
  if (started == S_OK) return device;
  device->Release();
  return nullptr;
}

IRemoteDevice* PluginTest::StartNew(const Settings& settings) {
  WriteSettings(settings);
  return StartWith(&sink_, &host_);
}

IRemoteDevice* PluginTest::StartNewWithoutSink(const Settings& settings) {
  WriteSettings(settings);
  return StartWith(nullptr, &host_);
}

IRemoteDevice* PluginTest::StartNewWithHost(IRemoteHost* host) {
  WriteSettings(Settings());
  return StartWith(&sink_, host);
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
    card_->PressKey(code);
    ASSERT_TRUE(sink_.WaitForKeys(delivered + 1)) << "key " << code;
    card_->ReleaseKey();
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
  WriteSettingsFile(dir_.path(), settings);
}

void PluginTest::WriteSettingsText(const std::string& text) {
  WriteSettingsFile(dir_.path(), text);
}

std::string PluginTest::LogText() const {
  return ReadText(dir_.File("MiraboRemote.log"));
}

std::string PluginTest::LogWithLineFeeds() const {
  std::string lines;
  for (char c : LogText())
    if (c != '\r') lines += c;
  return lines;
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
  return Records(card_->GetKeyReads);
}

std::vector<SimSoundWrite> PluginTest::SoundWrites() const {
  return Records(card_->GetSoundWrites);
}

std::vector<SimBusEvent> PluginTest::BusEvents() const {
  return Records(card_->GetBusEvents);
}

bool PluginTest::WaitForKeyReads(size_t count, DWORD timeoutMs) const {
  return WaitUntil([&] { return KeyReads().size() >= count; }, timeoutMs);
}

bool PluginTest::WaitForSoundWrites(size_t count, DWORD timeoutMs) const {
  return WaitUntil([&] { return SoundWrites().size() >= count; }, timeoutMs);
}

bool PluginTest::WaitForTransactions(int count, DWORD timeoutMs) const {
  return WaitUntil([&] { return card_->TransactionCount() >= count; },
                   timeoutMs);
}

int PluginTest::ReadTransactions() const {
  int reads = 0;
  for (const SimCall& call : Records(card_->GetCalls))
    if (call.function == kDrv_I2CInitSWMode && call.args[0] == 6000) ++reads;
  return reads;
}

}  // namespace testsupport
