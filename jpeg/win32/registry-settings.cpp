// Settings values: "Plugin options" (56 bytes), "Window position" (8),
// "Image parameters" and "Thumbnail parameters" (6 each, binary), and the
// texts "Thumbnail name expansion" and "Last path" (up to 1024 bytes).
#include "jpeg/win32/registry-settings.h"

#include "jpeg/core/byte-order.h"
#include "platform/base/win32/unique-handle.h"

namespace pixtune {

const char *const ProductSettingsKey = "software\\Tarvos Technologies\\Pixtune plug-in\\3.0";

namespace {

constexpr DWORD MaxTextBytes = 1024;

// Reads a binary value of exactly sizeof bytes.
template <std::size_t N> bool readBinary(HKEY key, const char *name, std::uint8_t (&bytes)[N]) {
  DWORD type = 0, size = N;
  return RegQueryValueExA(key, name, nullptr, &type, bytes, &size) == ERROR_SUCCESS &&
         type == REG_BINARY && size == N;
}

// A stored text need not end with a zero; it is cut at its stored length.
bool readText(HKEY key, const char *name, std::string &text) {
  char buffer[MaxTextBytes + 1];
  DWORD type = 0, size = MaxTextBytes;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(buffer), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ)
    return false;
  buffer[size < MaxTextBytes ? size : MaxTextBytes] = '\0';
  text = buffer;
  return true;
}

bool writeBinary(HKEY key, const char *name, const std::uint8_t *bytes, DWORD size) {
  return RegSetValueExA(key, name, 0, REG_BINARY, bytes, size) == ERROR_SUCCESS;
}

bool writeText(HKEY key, const char *name, const std::string &text) {
  std::string stored = text.substr(0, MaxTextBytes - 1);
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(stored.c_str()),
                        static_cast<DWORD>(stored.size() + 1)) == ERROR_SUCCESS;
}

} // namespace

void ReadSettingsValues(HKEY key, TSettings &settings) {
  std::uint8_t options[PluginOptionsBytes], window[WindowPositionBytes];
  std::uint8_t image[CompressionParamsBytes], thumbnail[CompressionParamsBytes];
  bool ok = true;
  if (readBinary(key, "Plugin options", options))
    settings.options = DecodePluginOptions(options);
  else
    ok = false;
  if (readBinary(key, "Window position", window)) {
    settings.windowX = static_cast<std::int32_t>(readLE32(window));
    settings.windowY = static_cast<std::int32_t>(readLE32(window + 4));
  } else {
    ok = false;
  }
  if (readBinary(key, "Image parameters", image))
    settings.imageParams = DecodeCompressionParams(image);
  else
    ok = false;
  if (readBinary(key, "Thumbnail parameters", thumbnail))
    settings.thumbnailParams = DecodeCompressionParams(thumbnail);
  else
    ok = false;
  // Once a read has failed the texts keep their defaults.
  ok = ok && readText(key, "Thumbnail name expansion", settings.thumbnailExpansion);
  ok = ok && readText(key, "Last path", settings.lastPath);
  if (!ok)
    settings.registryFailed = true;
}

void WriteSettingsValues(HKEY key, const TSettings &settings) {
  std::uint8_t options[PluginOptionsBytes], window[WindowPositionBytes];
  std::uint8_t image[CompressionParamsBytes], thumbnail[CompressionParamsBytes];
  EncodePluginOptions(settings.options, options);
  EncodeCompressionParams(settings.imageParams, image);
  writeLE32(window, static_cast<std::uint32_t>(settings.windowX));
  writeLE32(window + 4, static_cast<std::uint32_t>(settings.windowY));
  EncodeCompressionParams(settings.thumbnailParams, thumbnail);
  writeBinary(key, "Plugin options", options, sizeof options);
  writeBinary(key, "Image parameters", image, sizeof image);
  writeBinary(key, "Window position", window, sizeof window);
  writeBinary(key, "Thumbnail parameters", thumbnail, sizeof thumbnail);
  writeText(key, "Thumbnail name expansion", settings.thumbnailExpansion);
  writeText(key, "Last path", settings.lastPath);
}

void LoadSettings(TSettings &settings) {
  base::RegKey key;
  DWORD disposition = 0;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, ProductSettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, key.receive(), &disposition) != ERROR_SUCCESS) {
    settings.registryFailed = true;
    return;
  }
  if (disposition == REG_CREATED_NEW_KEY)
    WriteSettingsValues(key.get(), settings);
  else
    ReadSettingsValues(key.get(), settings);
}

void SaveSettings(const TSettings &settings) {
  base::RegKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ProductSettingsKey, 0, KEY_ALL_ACCESS, key.receive()) !=
      ERROR_SUCCESS)
    return;
  WriteSettingsValues(key.get(), settings);
}

} // namespace pixtune
