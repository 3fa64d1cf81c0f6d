#include "plugin_harness.h"

#include "card_access.h"
#include "driverApi.h"
#include "tandorUtl.h"

namespace campaign {

EntryFlag::EntryFlag()
    : mapping_(OpenFileMappingA(FILE_MAP_READ, FALSE, TANDORUTL_REGION_NAME)),
      view_(nullptr) {
  if (mapping_)
    view_ = static_cast<const volatile LONG*>(
        MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, sizeof(LONG)));
}

EntryFlag::~EntryFlag() {
  if (view_) UnmapViewOfFile(const_cast<LONG*>(view_));
  if (mapping_) CloseHandle(mapping_);
}

int EntryFlag::value() const {
  return view_ ? static_cast<int>(*view_) : -1;
}

PluginLibrary::PluginLibrary()
    : module_(LoadLibraryA((testsupport::ExeDir() + "tandor.dll").c_str())),
      create_(nullptr) {
  if (module_)
    create_ = reinterpret_cast<GetInterfacePtrFn>(
        reinterpret_cast<void*>(GetProcAddress(module_, REMOTE_EXPORT_NAME)));
}

void PluginLibrary::Unload() {
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
  create_ = nullptr;
}

std::string Settings(int keyFirstDelay, int keyRepeatDelay) {
  return "[MiraboRemote]\r\nKeyFirstDelay=" + std::to_string(keyFirstDelay) +
         "\r\nKeyRepeatDelay=" + std::to_string(keyRepeatDelay) +
         "\r\nUseLog=1\r\n";
}

double TimedStop(IRemoteDevice* device) {
  double start = NowMs();
  EXPECT_EQ(S_OK, device->Stop());
  return NowMs() - start;
}

PluginTest::PluginTest()
    : currentDir_(dir_.path()), driver_(testsupport::LoadSimDriver()) {}

PluginTest::~PluginTest() {
  plugin_.Unload();
  if (driver_) FreeLibrary(driver_);
}

void PluginTest::SetUp() {
  ASSERT_NE(nullptr, driver_);
  card_ = testsupport::SimCard();
  ASSERT_NE(nullptr, card_);
  card_->Reset();
  ASSERT_TRUE(plugin_.loaded());
}

IRemoteDevice* PluginTest::StartNew(IKeyEventSink* sink,
                                    IRemoteHost* host) const {
  IRemoteDevice* device = plugin_.Create();
  EXPECT_NE(nullptr, device) << "GetInterfacePtr";
  if (!device) return nullptr;
  HRESULT started = device->Start(sink, host);
  EXPECT_EQ(S_OK, started) << "Start";
  if (started == S_OK) return device;
  device->Release();
  return nullptr;
}

void PluginTest::WriteSettings(const std::string& text) const {
  testsupport::WriteText(dir_.File("mirabo.ini"), text);
}

std::string PluginTest::LogText() const {
  std::string text = testsupport::ReadText(dir_.File("MiraboRemote.log"));
  std::string lines;
  for (char c : text)
    if (c != '\r') lines += c;
  return lines;
}

bool PluginTest::WaitForTransactions(int count, DWORD timeoutMs) const {
  return testsupport::WaitUntil(
      [&] { return card_->TransactionCount() >= count; }, timeoutMs);
}

int PluginTest::ReadTransactions() const {
  int reads = 0;
  for (const SimCall& call : testsupport::Records(card_->GetCalls))
    if (call.function == kDrv_I2CInitSWMode && call.args[0] == 6000) ++reads;
  return reads;
}

}  // namespace campaign
