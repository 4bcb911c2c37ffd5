// Playback and recording of the export's scripting keys.
#include "jpeg/win32/script-parameters.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace pixtune {

namespace {

using plugin::fourCC;
using plugin::OSType;

enum class KeyType { Integer, Boolean, Float, Text };

struct ScriptKey {
  OSType key;
  KeyType type;
};

// The recorded keys, in recording order.
const ScriptKey scriptKeys[] = {
    {fourCC("Lmnc"), KeyType::Integer}, {fourCC("cHrm"), KeyType::Integer},
    {fourCC("pRgr"), KeyType::Boolean}, {fourCC("sHrp"), KeyType::Integer},
    {fourCC("tLum"), KeyType::Integer}, {fourCC("tChr"), KeyType::Integer},
    {fourCC("tPrg"), KeyType::Boolean}, {fourCC("tShr"), KeyType::Integer},
    {fourCC("tMbl"), KeyType::Integer}, {fourCC("tMbw"), KeyType::Integer},
    {fourCC("tMbh"), KeyType::Integer}, {fourCC("tFit"), KeyType::Boolean},
    {fourCC("tCut"), KeyType::Boolean}, {fourCC("tCvL"), KeyType::Float},
    {fourCC("tCvR"), KeyType::Float},   {fourCC("tCvT"), KeyType::Float},
    {fourCC("tCvB"), KeyType::Float},   {fourCC("mCra"), KeyType::Boolean},
    {fourCC("pRex"), KeyType::Boolean}, {fourCC("tExp"), KeyType::Text},
    {fourCC("fPin"), KeyType::Text},
};

constexpr std::size_t MaxScriptText = 1023; // as much as the registry keeps

const ScriptKey *findKey(OSType key) {
  for (const ScriptKey &k : scriptKeys)
    if (k.key == key)
      return &k;
  return nullptr;
}

OSType hostType(KeyType type) {
  switch (type) {
  case KeyType::Integer:
    return plugin::typeInteger;
  case KeyType::Boolean:
    return plugin::typeBoolean;
  case KeyType::Float:
    return plugin::typeFloat;
  case KeyType::Text:
    return plugin::typeChar;
  }
  return 0;
}

bool hasLockCalls(const plugin::HandleProcs *procs) {
  return procs->handleProcsVersion == plugin::kCurrentHandleProcsVersion &&
         procs->numHandleProcs > 5 && procs->lockProc && procs->unlockProc;
}

// Locks a host handle for one scope: through the suite when it offers
// lock calls, else as the global memory block that such hosts use.
class HandleLock {
public:
  HandleLock(const plugin::HandleProcs *procs, plugin::HostHandle handle)
      : procs_(procs), handle_(handle) {
    data_ =
        hasLockCalls(procs) ? procs->lockProc(handle, 0) : GlobalLock(static_cast<HGLOBAL>(handle));
  }
  ~HandleLock() {
    if (!data_)
      return;
    if (hasLockCalls(procs_))
      procs_->unlockProc(handle_);
    else
      GlobalUnlock(static_cast<HGLOBAL>(handle_));
  }
  HandleLock(const HandleLock &) = delete;
  HandleLock &operator=(const HandleLock &) = delete;
  char *data() const { return static_cast<char *>(data_); }

private:
  const plugin::HandleProcs *procs_;
  plugin::HostHandle handle_;
  void *data_;
};

// A host handle disposed of through the suite at the end of its scope.
class OwnedHandle {
public:
  OwnedHandle(const plugin::HandleProcs *procs, plugin::HostHandle handle)
      : procs_(procs), handle_(handle) {}
  ~OwnedHandle() {
    if (handle_ && CheckHandleProcs(procs_))
      procs_->disposeProc(handle_);
  }
  OwnedHandle(const OwnedHandle &) = delete;
  OwnedHandle &operator=(const OwnedHandle &) = delete;
  plugin::HostHandle get() const { return handle_; }

private:
  const plugin::HandleProcs *procs_;
  plugin::HostHandle handle_;
};

// The text of a handle, as many bytes as the handle holds, never past a
// zero byte or the length limit.
std::string handleText(const plugin::HandleProcs *procs, plugin::HostHandle handle) {
  std::int32_t size = procs->getSizeProc(handle);
  HandleLock lock(procs, handle);
  if (!lock.data() || size <= 0)
    return std::string();
  std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(size), MaxScriptText);
  const char *text = lock.data();
  return std::string(text, std::find(text, text + length, '\0'));
}

std::uint8_t clampByte(std::int32_t value) {
  return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}
std::int16_t clampSharpen(std::int32_t value) {
  return static_cast<std::int16_t>(std::clamp(value, 0, 100));
}
std::uint16_t clampSize(std::int32_t value) {
  return static_cast<std::uint16_t>(std::clamp(value, 0, 65535));
}

// Integers beyond a field's width are clamped to it rather than
// truncated, so that validation sees the value the script meant.
void storeInteger(OSType key, std::int32_t value, TSettings &s) {
  if (key == fourCC("Lmnc"))
    s.imageParams.luminance = clampByte(value);
  else if (key == fourCC("cHrm"))
    s.imageParams.chrominance = clampByte(value);
  else if (key == fourCC("sHrp"))
    s.imageParams.sharpen = clampSharpen(value);
  else if (key == fourCC("tLum"))
    s.thumbnailParams.luminance = clampByte(value);
  else if (key == fourCC("tChr"))
    s.thumbnailParams.chrominance = clampByte(value);
  else if (key == fourCC("tShr"))
    s.thumbnailParams.sharpen = clampSharpen(value);
  else if (key == fourCC("tMbl"))
    s.options.thumbnailMode = value;
  else if (key == fourCC("tMbw"))
    s.options.thumbnailWidth = clampSize(value);
  else if (key == fourCC("tMbh"))
    s.options.thumbnailHeight = clampSize(value);
}

void storeBoolean(OSType key, bool value, TSettings &s) {
  std::uint8_t flag = value ? 1 : 0;
  if (key == fourCC("pRgr"))
    s.imageParams.progressive = flag;
  else if (key == fourCC("tPrg"))
    s.thumbnailParams.progressive = flag;
  else if (key == fourCC("tFit"))
    s.options.fitThumbnail = flag;
  else if (key == fourCC("tCut"))
    s.options.smartCut = flag;
  else if (key == fourCC("mCra"))
    s.options.saveCrop = !flag; // the script keeps the opposite sense
  else if (key == fourCC("pRex"))
    s.options.prefixForm = flag;
}

void storeFloat(OSType key, double value, TSettings &s) {
  if (key == fourCC("tCvL"))
    s.options.cropLeft = value;
  else if (key == fourCC("tCvR"))
    s.options.cropRight = value;
  else if (key == fourCC("tCvT"))
    s.options.cropTop = value;
  else if (key == fourCC("tCvB"))
    s.options.cropBottom = value;
}

std::int32_t integerOf(OSType key, const TSettings &s) {
  if (key == fourCC("Lmnc"))
    return s.imageParams.luminance;
  if (key == fourCC("cHrm"))
    return s.imageParams.chrominance;
  if (key == fourCC("sHrp"))
    return s.imageParams.sharpen;
  if (key == fourCC("tLum"))
    return s.thumbnailParams.luminance;
  if (key == fourCC("tChr"))
    return s.thumbnailParams.chrominance;
  if (key == fourCC("tShr"))
    return s.thumbnailParams.sharpen;
  if (key == fourCC("tMbl"))
    return s.options.thumbnailMode;
  if (key == fourCC("tMbw"))
    return s.options.thumbnailWidth;
  return s.options.thumbnailHeight;
}

bool booleanOf(OSType key, const TSettings &s) {
  if (key == fourCC("pRgr"))
    return s.imageParams.progressive != 0;
  if (key == fourCC("tPrg"))
    return s.thumbnailParams.progressive != 0;
  if (key == fourCC("tFit"))
    return s.options.fitThumbnail != 0;
  if (key == fourCC("tCut"))
    return s.options.smartCut != 0;
  if (key == fourCC("mCra"))
    return s.options.saveCrop == 0;
  return s.options.prefixForm != 0;
}

double floatOf(OSType key, const TSettings &s) {
  if (key == fourCC("tCvL"))
    return s.options.cropLeft;
  if (key == fourCC("tCvR"))
    return s.options.cropRight;
  if (key == fourCC("tCvT"))
    return s.options.cropTop;
  return s.options.cropBottom;
}

void readValue(const plugin::ReadDescriptorProcs *read, plugin::ReadDescriptorRef reader,
               plugin::HandleProcs *procs, const ScriptKey &key, TSettings &settings) {
  switch (key.type) {
  case KeyType::Integer: {
    std::int32_t value = 0;
    if (read->getIntegerProc(reader, &value) == plugin::noErr)
      storeInteger(key.key, value, settings);
    return;
  }
  case KeyType::Boolean: {
    plugin::HostBoolean value = 0;
    if (read->getBooleanProc(reader, &value) == plugin::noErr)
      storeBoolean(key.key, value != 0, settings);
    return;
  }
  case KeyType::Float: {
    double value = 0;
    if (read->getFloatProc(reader, &value) == plugin::noErr)
      storeFloat(key.key, value, settings);
    return;
  }
  case KeyType::Text: {
    plugin::HostHandle handle = nullptr;
    if (read->getTextProc(reader, &handle) != plugin::noErr || !handle)
      return;
    OwnedHandle text(procs, handle);
    std::string value = handleText(procs, text.get());
    (key.key == fourCC("tExp") ? settings.thumbnailExpansion : settings.lastPath) = value;
    return;
  }
  }
}

void writeText(const plugin::WriteDescriptorProcs *write, plugin::WriteDescriptorRef writer,
               plugin::HandleProcs *procs, OSType key, const std::string &text) {
  OwnedHandle handle(procs, procs->newProc(static_cast<std::int32_t>(text.size())));
  if (!handle.get())
    return;
  {
    HandleLock lock(procs, handle.get());
    if (!lock.data())
      return;
    std::memcpy(lock.data(), text.data(), text.size());
  }
  write->putTextProc(writer, key, handle.get());
}

bool usable(const plugin::PIDescriptorParameters *parameters, const plugin::HandleProcs *procs) {
  return CheckDescriptorParameters(parameters) && CheckHandleProcs(procs);
}

} // namespace

bool CheckDescriptorParameters(const plugin::PIDescriptorParameters *p) {
  if (!p || !p->readDescriptorProcs || !p->writeDescriptorProcs)
    return false;
  const plugin::ReadDescriptorProcs *r = p->readDescriptorProcs;
  const plugin::WriteDescriptorProcs *w = p->writeDescriptorProcs;
  return r->readDescriptorProcsVersion == plugin::kCurrentReadDescriptorProcsVersion &&
         r->numReadDescriptorProcs > 17 &&
         w->writeDescriptorProcsVersion == plugin::kCurrentWriteDescriptorProcsVersion &&
         w->numWriteDescriptorProcs > 15 && r->openReadDescriptorProc &&
         r->closeReadDescriptorProc && r->getKeyProc && r->getIntegerProc && r->getFloatProc &&
         r->getBooleanProc && r->getTextProc && w->openWriteDescriptorProc &&
         w->closeWriteDescriptorProc && w->putIntegerProc && w->putFloatProc && w->putBooleanProc &&
         w->putTextProc;
}

bool CheckHandleProcs(const plugin::HandleProcs *procs) {
  return procs && procs->handleProcsVersion == plugin::kCurrentHandleProcsVersion &&
         procs->numHandleProcs >= 4 && procs->newProc && procs->disposeProc && procs->getSizeProc &&
         procs->setSizeProc;
}

bool ReadScriptParameters(plugin::PIDescriptorParameters *parameters, plugin::HandleProcs *procs,
                          TSettings &settings) {
  if (!usable(parameters, procs))
    return false;
  const plugin::ReadDescriptorProcs *read = parameters->readDescriptorProcs;
  if (parameters->descriptor) {
    OSType keys[std::size(scriptKeys) + 1] = {};
    for (std::size_t i = 0; i < std::size(scriptKeys); ++i)
      keys[i] = scriptKeys[i].key;
    plugin::ReadDescriptorRef reader = read->openReadDescriptorProc(parameters->descriptor, keys);
    if (reader) {
      OSType key = 0, type = 0;
      std::int32_t flags = 0;
      while (read->getKeyProc(reader, &key, &type, &flags)) {
        const ScriptKey *known = findKey(key);
        // Unknown keys, and known keys of another type, are skipped.
        if (known && type == hostType(known->type))
          readValue(read, reader, procs, *known, settings);
      }
      read->closeReadDescriptorProc(reader);
    }
    procs->disposeProc(parameters->descriptor);
    parameters->descriptor = nullptr;
  }
  return parameters->playInfo != plugin::plugInDialogDisplay;
}

void WriteScriptParameters(plugin::PIDescriptorParameters *parameters, plugin::HandleProcs *procs,
                           const TSettings &settings) {
  if (!usable(parameters, procs))
    return;
  const plugin::WriteDescriptorProcs *write = parameters->writeDescriptorProcs;
  plugin::WriteDescriptorRef writer = write->openWriteDescriptorProc();
  if (!writer)
    return;
  for (const ScriptKey &k : scriptKeys) {
    switch (k.type) {
    case KeyType::Integer:
      write->putIntegerProc(writer, k.key, integerOf(k.key, settings));
      break;
    case KeyType::Boolean:
      write->putBooleanProc(writer, k.key, booleanOf(k.key, settings) ? 1 : 0);
      break;
    case KeyType::Float: {
      double value = floatOf(k.key, settings);
      write->putFloatProc(writer, k.key, &value);
      break;
    }
    case KeyType::Text:
      writeText(write, writer, procs, k.key,
                k.key == fourCC("tExp") ? settings.thumbnailExpansion : settings.lastPath);
      break;
    }
  }
  if (parameters->descriptor) {
    procs->disposeProc(parameters->descriptor);
    parameters->descriptor = nullptr;
  }
  plugin::DescriptorHandle recorded = nullptr;
  write->closeWriteDescriptorProc(writer, &recorded);
  parameters->descriptor = recorded;
  parameters->recordInfo = 0;
}

} // namespace pixtune
