// The test host's callback suites.
#include "platform/plugin-host/win32/host-callbacks.h"

#include <cstdio>

#include <cstring>

namespace plugin_host {

HostCallbacks *HostCallbacks::active;

namespace {

HostCallbacks &host() { return *HostCallbacks::active; }

plugin::HostHandle cbNew(std::int32_t size) { return host().newHandle(size, true); }
void cbDispose(plugin::HostHandle handle) { host().disposeHandle(handle); }
std::int32_t cbGetSize(plugin::HostHandle handle) { return host().handleSize(handle); }
plugin::OSErr cbSetSize(plugin::HostHandle handle, std::int32_t size) {
  return host().setHandleSize(handle, size);
}
void *cbLock(plugin::HostHandle handle, plugin::HostBoolean) { return host().lockHandle(handle); }
void cbUnlock(plugin::HostHandle handle) { host().unlockHandle(handle); }

plugin::OSErr cbGetProperty(plugin::OSType signature, plugin::OSType key, std::int32_t index,
                            std::intptr_t *simple, plugin::HostHandle *complex) {
  return host().getProperty(signature, key, index, simple, complex);
}
plugin::OSErr cbSetProperty(plugin::OSType, plugin::OSType, std::int32_t, std::intptr_t,
                            plugin::HostHandle) {
  ++host().counts["setProperty"];
  return plugin::noErr;
}

plugin::ReadDescriptorRef cbOpenRead(plugin::DescriptorHandle descriptor, const plugin::OSType *) {
  return host().openRead(descriptor);
}
plugin::OSErr cbCloseRead(plugin::ReadDescriptorRef reader) { return host().closeRead(reader); }
plugin::HostBoolean cbGetKey(plugin::ReadDescriptorRef reader, plugin::OSType *key,
                             plugin::OSType *type, std::int32_t *flags) {
  if (flags)
    *flags = 0;
  return host().nextKey(reader, key, type) ? 1 : 0;
}
plugin::OSErr cbGetInteger(plugin::ReadDescriptorRef reader, std::int32_t *value) {
  const plugin::DescriptorItem *item = host().current(reader, plugin::typeInteger, "getInteger");
  if (!item)
    return plugin::exportBadParameters;
  *value = item->integer;
  return plugin::noErr;
}
plugin::OSErr cbGetFloat(plugin::ReadDescriptorRef reader, double *value) {
  const plugin::DescriptorItem *item = host().current(reader, plugin::typeFloat, "getFloat");
  if (!item)
    return plugin::exportBadParameters;
  *value = item->number;
  return plugin::noErr;
}
plugin::OSErr cbGetBoolean(plugin::ReadDescriptorRef reader, plugin::HostBoolean *value) {
  const plugin::DescriptorItem *item = host().current(reader, plugin::typeBoolean, "getBoolean");
  if (!item)
    return plugin::exportBadParameters;
  *value = item->flag ? 1 : 0;
  return plugin::noErr;
}
plugin::OSErr cbGetText(plugin::ReadDescriptorRef reader, plugin::HostHandle *text) {
  const plugin::DescriptorItem *item = host().current(reader, plugin::typeChar, "getText");
  if (!item)
    return plugin::exportBadParameters;
  // The text goes out without a terminator, as hosts hand it over.
  plugin::HostHandle handle = host().newHandle(static_cast<std::int32_t>(item->text.size()), true);
  void *data = GlobalLock(static_cast<HGLOBAL>(handle));
  std::memcpy(data, item->text.data(), item->text.size());
  GlobalUnlock(static_cast<HGLOBAL>(handle));
  *text = handle;
  return plugin::noErr;
}

plugin::WriteDescriptorRef cbOpenWrite() { return host().openWrite(); }
plugin::OSErr cbCloseWrite(plugin::WriteDescriptorRef writer,
                           plugin::DescriptorHandle *descriptor) {
  return host().closeWrite(writer, descriptor);
}
plugin::OSErr cbPutInteger(plugin::WriteDescriptorRef writer, plugin::OSType key,
                           std::int32_t value) {
  plugin::DescriptorItem item;
  item.key = key;
  item.type = plugin::typeInteger;
  item.integer = value;
  return host().put(writer, item, "putInteger");
}
plugin::OSErr cbPutFloat(plugin::WriteDescriptorRef writer, plugin::OSType key,
                         const double *value) {
  plugin::DescriptorItem item;
  item.key = key;
  item.type = plugin::typeFloat;
  item.number = value ? *value : 0;
  return host().put(writer, item, "putFloat");
}
plugin::OSErr cbPutBoolean(plugin::WriteDescriptorRef writer, plugin::OSType key,
                           plugin::HostBoolean value) {
  plugin::DescriptorItem item;
  item.key = key;
  item.type = plugin::typeBoolean;
  item.flag = value != 0;
  return host().put(writer, item, "putBoolean");
}
plugin::OSErr cbPutText(plugin::WriteDescriptorRef writer, plugin::OSType key,
                        plugin::HostHandle text) {
  plugin::DescriptorItem item;
  item.key = key;
  item.type = plugin::typeChar;
  item.text = host().handleText(text);
  return host().put(writer, item, "putText");
}

} // namespace

plugin::OSErr HostCallbacks::advanceStateProc() { return host().advanceState(); }

void HostCallbacks::progressProc(std::int32_t done, std::int32_t total) {
  ++host().counts["progress"];
  if (done < 0 || done > total)
    host().problems.push_back("progress " + std::to_string(done) + " of " + std::to_string(total));
}

plugin::OSErr HostCallbacks::displayPixelsProc(const void *source, const plugin::PlugInRect *rect,
                                               std::int32_t, std::int32_t, void *) {
  HostCallbacks &self = host();
  ++self.counts["displayPixels"];
  const auto *map = static_cast<const plugin::PixelMap *>(source);
  if (!map || !rect || map->version != 1 || !map->baseAddr) {
    self.problems.push_back("displayPixels without a pixel map");
    return plugin::noErr;
  }
  const plugin::PlugInRect &b = map->bounds;
  int width = b.right - b.left, height = b.bottom - b.top;
  bool whole = rect->top == 0 && rect->left == 0 && rect->bottom == height && rect->right == width;
  if (self.displayDumpPath.empty() || !whole || width != self.image_.width ||
      height != self.image_.height)
    return plugin::noErr;
  int channels = map->imageMode == plugin::plugInModeRGBColor ? 3 : 1;
  if (FILE *out = std::fopen(self.displayDumpPath.c_str(), "wb")) {
    std::fprintf(out, "P%d %d %d 255\n", channels == 3 ? 6 : 5, width, height);
    const auto *base = static_cast<const std::uint8_t *>(map->baseAddr);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        std::fwrite(base + static_cast<std::size_t>(y) * map->rowBytes +
                        static_cast<std::size_t>(x) * map->colBytes,
                    1, static_cast<std::size_t>(channels), out);
    std::fclose(out);
    ++self.counts["displayPixels.whole"];
  }
  return plugin::noErr;
}

HostCallbacks::HostCallbacks(HostImage image, std::int16_t handleProcCount, bool withProperties)
    : image_(std::move(image)), withProperties_(withProperties) {
  handleProcs_ = {plugin::kCurrentHandleProcsVersion,
                  handleProcCount,
                  cbNew,
                  cbDispose,
                  cbGetSize,
                  cbSetSize,
                  handleProcCount > 5 ? cbLock : nullptr,
                  handleProcCount > 5 ? cbUnlock : nullptr};
  propertyProcs_ = {plugin::kCurrentPropertyProcsVersion, 2, cbGetProperty, cbSetProperty};
  readProcs_.readDescriptorProcsVersion = plugin::kCurrentReadDescriptorProcsVersion;
  readProcs_.numReadDescriptorProcs = plugin::kReadDescriptorProcsCount;
  readProcs_.openReadDescriptorProc = cbOpenRead;
  readProcs_.closeReadDescriptorProc = cbCloseRead;
  readProcs_.getKeyProc = cbGetKey;
  readProcs_.getIntegerProc = cbGetInteger;
  readProcs_.getFloatProc = cbGetFloat;
  readProcs_.getBooleanProc = cbGetBoolean;
  readProcs_.getTextProc = cbGetText;
  writeProcs_.writeDescriptorProcsVersion = plugin::kCurrentWriteDescriptorProcsVersion;
  writeProcs_.numWriteDescriptorProcs = plugin::kWriteDescriptorProcsCount;
  writeProcs_.openWriteDescriptorProc = cbOpenWrite;
  writeProcs_.closeWriteDescriptorProc = cbCloseWrite;
  writeProcs_.putIntegerProc = cbPutInteger;
  writeProcs_.putFloatProc = cbPutFloat;
  writeProcs_.putBooleanProc = cbPutBoolean;
  writeProcs_.putTextProc = cbPutText;
  descriptorParameters_.descriptorParametersVersion = 0;
  descriptorParameters_.playInfo = plugin::plugInDialogDisplay;
  descriptorParameters_.recordInfo = 1;
  descriptorParameters_.readDescriptorProcs = &readProcs_;
  descriptorParameters_.writeDescriptorProcs = &writeProcs_;
  active = this;
}

HostCallbacks::~HostCallbacks() {
  for (auto &entry : handles_)
    GlobalFree(static_cast<HGLOBAL>(entry.first));
  active = nullptr;
}

void HostCallbacks::setPlayback(const plugin::DescriptorItems &items, std::int16_t playInfo) {
  descriptorParameters_.playInfo = playInfo;
  if (items.empty())
    return;
  plugin::HostHandle handle = newHandle(4, true);
  descriptors_[handle] = items;
  descriptorParameters_.descriptor = handle;
}

void HostCallbacks::serveRecord(plugin::PlugInRect *rect, std::int16_t *loPlane,
                                std::int16_t *hiPlane, const void **data, std::int32_t *rowBytes) {
  rect_ = rect;
  loPlane_ = loPlane;
  hiPlane_ = hiPlane;
  data_ = data;
  rowBytes_ = rowBytes;
}

bool HostCallbacks::takeRecorded(plugin::DescriptorItems &items) {
  plugin::DescriptorHandle handle = descriptorParameters_.descriptor;
  auto found = descriptors_.find(handle);
  if (!handle || found == descriptors_.end() || handles_[handle])
    return false;
  items = found->second;
  return true;
}

int HostCallbacks::leakedHandles() const {
  int leaked = 0;
  // Whatever descriptor the block still holds is the host's again: the
  // recorded one, or the playback one of a plug-in that never read it.
  for (const auto &entry : handles_)
    leaked += entry.second && entry.first != descriptorParameters_.descriptor ? 1 : 0;
  return leaked;
}

plugin::HostHandle HostCallbacks::newHandle(std::int32_t size, bool ownedByPlugin) {
  ++counts[ownedByPlugin ? "newHandle" : "hostHandle"];
  if (size < 0) {
    problems.push_back("newHandle of negative size");
    return nullptr;
  }
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(size ? size : 1));
  if (handle) {
    handles_[handle] = ownedByPlugin;
    sizes_[handle] = size;
  }
  return handle;
}

void HostCallbacks::disposeHandle(plugin::HostHandle handle) {
  ++counts["disposeHandle"];
  auto found = handles_.find(handle);
  if (found == handles_.end()) {
    problems.push_back("dispose of a handle the host does not know");
    return;
  }
  handles_.erase(found);
  sizes_.erase(handle);
  descriptors_.erase(handle);
  GlobalFree(static_cast<HGLOBAL>(handle));
}

std::int32_t HostCallbacks::handleSize(plugin::HostHandle handle) {
  ++counts["getHandleSize"];
  if (!handles_.count(handle)) {
    problems.push_back("size of a handle the host does not know");
    return 0;
  }
  return sizes_[handle];
}

plugin::OSErr HostCallbacks::setHandleSize(plugin::HostHandle handle, std::int32_t size) {
  ++counts["setHandleSize"];
  if (!handles_.count(handle) || size < 0)
    return plugin::memFullErr;
  if (!GlobalReAlloc(static_cast<HGLOBAL>(handle), static_cast<SIZE_T>(size ? size : 1),
                     GMEM_MOVEABLE))
    return plugin::memFullErr;
  sizes_[handle] = size;
  return plugin::noErr;
}

void *HostCallbacks::lockHandle(plugin::HostHandle handle) {
  ++counts["lockHandle"];
  if (!handles_.count(handle)) {
    problems.push_back("lock of a handle the host does not know");
    return nullptr;
  }
  return GlobalLock(static_cast<HGLOBAL>(handle));
}

void HostCallbacks::unlockHandle(plugin::HostHandle handle) {
  ++counts["unlockHandle"];
  if (handles_.count(handle))
    GlobalUnlock(static_cast<HGLOBAL>(handle));
}

plugin::OSErr HostCallbacks::getProperty(plugin::OSType signature, plugin::OSType key,
                                         std::int32_t index, std::intptr_t *simple,
                                         plugin::HostHandle *complex) {
  ++counts["getProperty"];
  if (signature != plugin::propertySignature || key != plugin::propertyTitle || index != 0 ||
      !complex)
    return plugin::filterBadParameters;
  if (simple)
    *simple = 0;
  plugin::HostHandle handle = newHandle(static_cast<std::int32_t>(title_.size()), true);
  void *data = GlobalLock(static_cast<HGLOBAL>(handle));
  std::memcpy(data, title_.data(), title_.size());
  GlobalUnlock(static_cast<HGLOBAL>(handle));
  *complex = handle;
  return plugin::noErr;
}

plugin::ReadDescriptorRef HostCallbacks::openRead(plugin::DescriptorHandle descriptor) {
  ++counts["openReadDescriptor"];
  auto found = descriptors_.find(descriptor);
  if (found == descriptors_.end()) {
    problems.push_back("reading a descriptor the host did not give");
    return nullptr;
  }
  auto reader = std::make_unique<Reader>();
  reader->items = found->second;
  plugin::ReadDescriptorRef ref = reader.get();
  readers_[ref] = std::move(reader);
  return ref;
}

plugin::OSErr HostCallbacks::closeRead(plugin::ReadDescriptorRef reader) {
  ++counts["closeReadDescriptor"];
  if (!readers_.erase(reader))
    problems.push_back("closing a reader the host did not open");
  return plugin::noErr;
}

bool HostCallbacks::nextKey(plugin::ReadDescriptorRef reader, plugin::OSType *key,
                            plugin::OSType *type) {
  ++counts["getKey"];
  auto found = readers_.find(reader);
  if (found == readers_.end() || found->second->next >= found->second->items.size())
    return false;
  const plugin::DescriptorItem &item = found->second->items[found->second->next++];
  *key = item.key;
  *type = item.type;
  return true;
}

const plugin::DescriptorItem *HostCallbacks::current(plugin::ReadDescriptorRef reader,
                                                     plugin::OSType type, const char *call) {
  ++counts[call];
  auto found = readers_.find(reader);
  if (found == readers_.end() || found->second->next == 0) {
    problems.push_back(std::string(call) + " without a key");
    return nullptr;
  }
  const plugin::DescriptorItem &item = found->second->items[found->second->next - 1];
  if (item.type != type) {
    problems.push_back(std::string(call) + " on a value of another type");
    return nullptr;
  }
  return &item;
}

plugin::WriteDescriptorRef HostCallbacks::openWrite() {
  ++counts["openWriteDescriptor"];
  writer_ = std::make_unique<plugin::DescriptorItems>();
  return writer_.get();
}

plugin::OSErr HostCallbacks::closeWrite(plugin::WriteDescriptorRef writer,
                                        plugin::DescriptorHandle *descriptor) {
  ++counts["closeWriteDescriptor"];
  if (!writer_ || writer != writer_.get()) {
    problems.push_back("closing a writer the host did not open");
    return plugin::exportBadParameters;
  }
  plugin::HostHandle handle = newHandle(4, false);
  descriptors_[handle] = *writer_;
  writer_.reset();
  *descriptor = handle;
  return plugin::noErr;
}

plugin::OSErr HostCallbacks::put(plugin::WriteDescriptorRef writer, plugin::DescriptorItem item,
                                 const char *call) {
  ++counts[call];
  if (!writer_ || writer != writer_.get()) {
    problems.push_back(std::string(call) + " without an open writer");
    return plugin::exportBadParameters;
  }
  writer_->push_back(item);
  return plugin::noErr;
}

std::string HostCallbacks::handleText(plugin::HostHandle handle) {
  if (!handles_.count(handle)) {
    problems.push_back("text in a handle the host does not know");
    return std::string();
  }
  std::size_t size = static_cast<std::size_t>(sizes_[handle]);
  const char *data = static_cast<const char *>(GlobalLock(static_cast<HGLOBAL>(handle)));
  std::string text(data, size);
  GlobalUnlock(static_cast<HGLOBAL>(handle));
  return text;
}

plugin::OSErr HostCallbacks::advanceState() {
  ++counts["advanceState"];
  if (!rect_)
    return plugin::filterBadParameters;
  plugin::PlugInRect r = *rect_;
  if (r.top == r.bottom || r.left == r.right) {
    *data_ = nullptr;
    return plugin::noErr;
  }
  if (r.top < 0 || r.left < 0 || r.bottom > image_.height || r.right > image_.width ||
      r.top > r.bottom || r.left > r.right || *loPlane_ < 0 || *hiPlane_ >= image_.planes ||
      *loPlane_ > *hiPlane_) {
    problems.push_back("request outside the image");
    return plugin::filterBadParameters;
  }
  // Rows carry three spare bytes so that a plug-in must honour rowBytes.
  int planes = *hiPlane_ - *loPlane_ + 1, width = r.right - r.left;
  std::int32_t rowBytes = width * planes + 3;
  served_.assign(static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(r.bottom - r.top),
                 0xCD);
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      for (int p = 0; p < planes; ++p)
        served_[static_cast<std::size_t>((y - r.top) * rowBytes + (x - r.left) * planes + p)] =
            image_.pixels[(static_cast<std::size_t>(y) * image_.width + x) * image_.planes +
                          *loPlane_ + p];
  *data_ = served_.data();
  *rowBytes_ = rowBytes;
  return plugin::noErr;
}

} // namespace plugin_host
