// Playback and recording of the export's scripting keys through the host's
// descriptor suites; which keys there are and which settings they carry is
// the core's table (jpeg/core/script-keys.h).
#include "jpeg/win32/script-parameters.h"

#include "jpeg/core/script-keys.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace pixtune {

namespace {

using plugin::OSType;

OSType hostType(ScriptValueType type) {
  switch (type) {
  case ScriptValueType::Integer:
    return plugin::typeInteger;
  case ScriptValueType::Boolean:
    return plugin::typeBoolean;
  case ScriptValueType::Float:
    return plugin::typeFloat;
  case ScriptValueType::Text:
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

void readValue(const plugin::ReadDescriptorProcs *read, plugin::ReadDescriptorRef reader,
               plugin::HandleProcs *procs, const ScriptKey &key, TSettings &settings) {
  switch (key.type) {
  case ScriptValueType::Integer: {
    std::int32_t value = 0;
    if (read->getIntegerProc(reader, &value) == plugin::noErr)
      StoreScriptInteger(key, value, settings);
    return;
  }
  case ScriptValueType::Boolean: {
    plugin::HostBoolean value = 0;
    if (read->getBooleanProc(reader, &value) == plugin::noErr)
      StoreScriptBoolean(key, value != 0, settings);
    return;
  }
  case ScriptValueType::Float: {
    double value = 0;
    if (read->getFloatProc(reader, &value) == plugin::noErr)
      StoreScriptFloat(key, value, settings);
    return;
  }
  case ScriptValueType::Text: {
    plugin::HostHandle handle = nullptr;
    if (read->getTextProc(reader, &handle) != plugin::noErr || !handle)
      return;
    OwnedHandle text(procs, handle);
    StoreScriptText(key, handleText(procs, text.get()), settings);
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

// Play information 1 asks for the dialog to be shown.
bool IsDialogRequested(const plugin::PIDescriptorParameters *parameters) {
  return parameters->playInfo == plugin::plugInDialogDisplay;
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
    std::vector<OSType> keys;
    for (const ScriptKey *k = ScriptKeysBegin(); k != ScriptKeysEnd(); ++k)
      keys.push_back(k->code);
    keys.push_back(0);
    plugin::ReadDescriptorRef reader =
        read->openReadDescriptorProc(parameters->descriptor, keys.data());
    if (reader) {
      OSType key = 0, type = 0;
      std::int32_t flags = 0;
      while (read->getKeyProc(reader, &key, &type, &flags)) {
        const ScriptKey *known = FindScriptKey(key);
        // Unknown keys, and known keys of another type, are skipped.
        if (known && type == hostType(known->type))
          readValue(read, reader, procs, *known, settings);
      }
      read->closeReadDescriptorProc(reader);
    }
    procs->disposeProc(parameters->descriptor);
    parameters->descriptor = nullptr;
  }
  return !IsDialogRequested(parameters);
}

void WriteScriptParameters(plugin::PIDescriptorParameters *parameters, plugin::HandleProcs *procs,
                           const TSettings &settings) {
  if (!usable(parameters, procs))
    return;
  const plugin::WriteDescriptorProcs *write = parameters->writeDescriptorProcs;
  plugin::WriteDescriptorRef writer = write->openWriteDescriptorProc();
  if (!writer)
    return;
  for (const ScriptKey *k = ScriptKeysBegin(); k != ScriptKeysEnd(); ++k) {
    switch (k->type) {
    case ScriptValueType::Integer:
      write->putIntegerProc(writer, k->code, ScriptInteger(*k, settings));
      break;
    case ScriptValueType::Boolean:
      write->putBooleanProc(writer, k->code, ScriptBoolean(*k, settings) ? 1 : 0);
      break;
    case ScriptValueType::Float: {
      double value = ScriptFloat(*k, settings);
      write->putFloatProc(writer, k->code, &value);
      break;
    }
    case ScriptValueType::Text:
      writeText(write, writer, procs, k->code, ScriptText(*k, settings));
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
