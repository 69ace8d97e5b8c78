#include "host/volume_win.h"

#include <endpointvolume.h>
#include <mmdeviceapi.h>
#include <windows.h>

namespace qorv {

namespace {

const CLSID kClsidDeviceEnumerator = {0xBCDE0395, 0xE52F, 0x467C, {0x8E, 0x3D, 0xC4, 0x57, 0x92, 0x91, 0x69, 0x2E}};
const IID kIidDeviceEnumerator = {0xA95664D2, 0x9614, 0x4F35, {0xA7, 0x46, 0xDE, 0x8D, 0xB6, 0x36, 0x17, 0xE6}};
const IID kIidEndpointVolume = {0x5CDF2C82, 0x841E, 0x4546, {0x97, 0x22, 0x0C, 0xF7, 0x40, 0x78, 0x22, 0x9A}};

// The endpoint volume of the default console output, or null; the caller releases it.
IAudioEndpointVolume* OpenEndpoint() {
  IMMDeviceEnumerator* enumerator = nullptr;
  if (FAILED(CoCreateInstance(kClsidDeviceEnumerator, nullptr, CLSCTX_INPROC_SERVER, kIidDeviceEnumerator,
                              reinterpret_cast<void**>(&enumerator)))) {
    return nullptr;
  }
  IMMDevice* device = nullptr;
  IAudioEndpointVolume* endpoint = nullptr;
  if (SUCCEEDED(enumerator->GetDefaultAudioEndpoint(eRender, eConsole, &device))) {
    if (FAILED(
            device->Activate(kIidEndpointVolume, CLSCTX_INPROC_SERVER, nullptr, reinterpret_cast<void**>(&endpoint)))) {
      endpoint = nullptr;
    }
    device->Release();
  }
  enumerator->Release();
  return endpoint;
}

template <typename F>
bool WithEndpoint(F&& f) {
  IAudioEndpointVolume* endpoint = OpenEndpoint();
  if (endpoint == nullptr) return false;
  const bool ok = SUCCEEDED(f(endpoint));
  endpoint->Release();
  return ok;
}

}  // namespace

bool CoreAudioVolume::GetLevel(float& level) {
  float value = 0;
  if (!WithEndpoint([&](IAudioEndpointVolume* e) { return e->GetMasterVolumeLevelScalar(&value); })) return false;
  level = value;
  return true;
}

bool CoreAudioVolume::SetLevel(float level) {
  return WithEndpoint([&](IAudioEndpointVolume* e) { return e->SetMasterVolumeLevelScalar(level, nullptr); });
}

bool CoreAudioVolume::GetMute(bool& muted) {
  BOOL value = FALSE;
  if (!WithEndpoint([&](IAudioEndpointVolume* e) { return e->GetMute(&value); })) return false;
  muted = value != FALSE;
  return true;
}

bool CoreAudioVolume::SetMute(bool muted) {
  return WithEndpoint([&](IAudioEndpointVolume* e) { return e->SetMute(muted ? TRUE : FALSE, nullptr); });
}

}  // namespace qorv
