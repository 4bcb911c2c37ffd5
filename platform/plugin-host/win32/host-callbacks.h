// The callback suites the test host serves to a plug-in: handles, the
// document title property, descriptor reading and writing, advance-state
// with the image, progress and display. Every call is counted, and every
// handle is tracked from creation to disposal so that leaks show.
//
// The callbacks carry no context, so they work on the one active
// HostCallbacks object (one plug-in call at a time on the host's thread).
#ifndef PLATFORM_PLUGIN_HOST_HOST_CALLBACKS_H
#define PLATFORM_PLUGIN_HOST_HOST_CALLBACKS_H

#include "platform/plugin-host/core/descriptor-items.h"
#include "platform/plugin-host/core/plugin-interface.h"

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace plugin_host {

// The image the host serves: interleaved planes, top row first.
struct HostImage {
  std::int32_t width = 0, height = 0;
  std::int16_t mode = 0, planes = 0;
  std::vector<std::uint8_t> pixels;
};

class HostCallbacks {
public:
  // handleProcCount and withLock let a test offer a smaller handle suite
  // (the plug-in must then lock with the platform's global calls).
  HostCallbacks(HostImage image, std::int16_t handleProcCount, bool withProperties);
  ~HostCallbacks();
  HostCallbacks(const HostCallbacks &) = delete;
  HostCallbacks &operator=(const HostCallbacks &) = delete;

  plugin::HandleProcs *handleProcs() { return &handleProcs_; }
  plugin::PropertyProcs *propertyProcs() { return withProperties_ ? &propertyProcs_ : nullptr; }
  plugin::PIDescriptorParameters *descriptorParameters() { return &descriptorParameters_; }

  // The title property's text; stored without a terminator.
  void setTitle(const std::string &title) { title_ = title; }
  // A descriptor for the plug-in to play (none when items is empty).
  void setPlayback(const plugin::DescriptorItems &items, std::int16_t playInfo);
  // The request fields of the record being served.
  void serveRecord(plugin::PlugInRect *rect, std::int16_t *loPlane, std::int16_t *hiPlane,
                   const void **data, std::int32_t *rowBytes);

  // After the plug-in returns: the recorded descriptor (taken over by the
  // host) and the plug-in's handles still alive.
  bool takeRecorded(plugin::DescriptorItems &items);
  int leakedHandles() const;

  std::map<std::string, int> counts; // calls by name
  // Where displayPixels writes each picture it is handed whole and of the
  // image's own size (binary PGM or PPM, rows top first); empty: nowhere.
  std::string displayDumpPath;
  std::vector<std::string> problems; // misuse seen by the host

  // The record's own callbacks.
  static plugin::OSErr advanceStateProc();
  static void progressProc(std::int32_t done, std::int32_t total);
  static plugin::OSErr displayPixelsProc(const void *source, const plugin::PlugInRect *rect,
                                         std::int32_t row, std::int32_t column,
                                         void *platformContext);

  // Entry points of the suites.
  static HostCallbacks *active;
  plugin::HostHandle newHandle(std::int32_t size, bool ownedByPlugin);
  void disposeHandle(plugin::HostHandle handle);
  std::int32_t handleSize(plugin::HostHandle handle);
  plugin::OSErr setHandleSize(plugin::HostHandle handle, std::int32_t size);
  void *lockHandle(plugin::HostHandle handle);
  void unlockHandle(plugin::HostHandle handle);
  plugin::OSErr getProperty(plugin::OSType signature, plugin::OSType key, std::int32_t index,
                            std::intptr_t *simple, plugin::HostHandle *complex);
  plugin::ReadDescriptorRef openRead(plugin::DescriptorHandle descriptor);
  plugin::OSErr closeRead(plugin::ReadDescriptorRef reader);
  bool nextKey(plugin::ReadDescriptorRef reader, plugin::OSType *key, plugin::OSType *type);
  const plugin::DescriptorItem *current(plugin::ReadDescriptorRef reader, plugin::OSType type,
                                        const char *call);
  plugin::WriteDescriptorRef openWrite();
  plugin::OSErr closeWrite(plugin::WriteDescriptorRef writer, plugin::DescriptorHandle *descriptor);
  plugin::OSErr put(plugin::WriteDescriptorRef writer, plugin::DescriptorItem item,
                    const char *call);
  std::string handleText(plugin::HostHandle handle);
  plugin::OSErr advanceState();

private:
  struct Reader {
    plugin::DescriptorItems items;
    std::size_t next = 0; // index of the item after the current one
  };

  HostImage image_;
  bool withProperties_;
  std::string title_;
  plugin::HandleProcs handleProcs_ = {};
  plugin::PropertyProcs propertyProcs_ = {};
  plugin::ReadDescriptorProcs readProcs_ = {};
  plugin::WriteDescriptorProcs writeProcs_ = {};
  plugin::PIDescriptorParameters descriptorParameters_ = {};

  // Every live handle and whether the plug-in owns (must dispose) it.
  std::map<plugin::HostHandle, bool> handles_;
  std::map<plugin::HostHandle, std::int32_t> sizes_; // as asked for: blocks may be larger
  std::map<plugin::HostHandle, plugin::DescriptorItems> descriptors_;
  std::map<plugin::ReadDescriptorRef, std::unique_ptr<Reader>> readers_;
  std::unique_ptr<plugin::DescriptorItems> writer_;

  plugin::PlugInRect *rect_ = nullptr;
  std::int16_t *loPlane_ = nullptr, *hiPlane_ = nullptr;
  const void **data_ = nullptr;
  std::int32_t *rowBytes_ = nullptr;
  std::vector<std::uint8_t> served_;
};

} // namespace plugin_host

#endif
