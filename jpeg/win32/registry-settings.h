// The export settings in the registry: the product key under
// HKEY_LOCAL_MACHINE with one value per setting. Registry failures only
// set the settings' error flag; the defaults stay.
#ifndef JPEG_WIN32_REGISTRY_SETTINGS_H
#define JPEG_WIN32_REGISTRY_SETTINGS_H

#include "jpeg/core/export-settings.h"

#include <windows.h>

namespace pixtune {

extern const char *const ProductSettingsKey;

// Creates or opens the key; a new key receives the defaults at once.
void LoadSettings(TSettings &settings);
// Writes every value; does nothing when the key cannot be opened.
void SaveSettings(const TSettings &settings);
void ReadSettingsValues(HKEY key, TSettings &settings);
void WriteSettingsValues(HKEY key, const TSettings &settings);

} // namespace pixtune

#endif
