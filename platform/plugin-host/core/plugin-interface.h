// The image-editor plug-in interface as far as our plug-ins use it: the
// selectors, the filter and export records, the handle, property and
// descriptor callback suites, the platform data and the result codes.
//
// Written from what the adapters and the compressor need; a host that
// loads our plug-ins (the test host) fills the same records. Every
// callback and the entry point use the platform's default C calling
// convention. Four-character codes are 32-bit values whose first
// character is the most significant byte ('8BIM' = 0x3842494D).
#ifndef PLATFORM_PLUGIN_HOST_PLUGIN_INTERFACE_H
#define PLATFORM_PLUGIN_HOST_PLUGIN_INTERFACE_H

#include <cstdint>

namespace plugin {

using OSErr = std::int16_t;
using OSType = std::uint32_t;
using HostBoolean = std::uint8_t;
// A host memory handle; only the host's handle suite (or the platform's
// global memory calls, for hosts without lock calls) may touch it.
using HostHandle = void *;
using DescriptorHandle = HostHandle;
using ReadDescriptorRef = void *;
using WriteDescriptorRef = void *;

constexpr OSType fourCC(const char (&code)[5]) {
  return static_cast<OSType>(static_cast<std::uint8_t>(code[0])) << 24 |
         static_cast<OSType>(static_cast<std::uint8_t>(code[1])) << 16 |
         static_cast<OSType>(static_cast<std::uint8_t>(code[2])) << 8 |
         static_cast<OSType>(static_cast<std::uint8_t>(code[3]));
}

// Result codes.
constexpr OSErr noErr = 0;
constexpr OSErr ioErr = -36;       // a file could not be created or written
constexpr OSErr memFullErr = -108; // out of memory
constexpr OSErr userCanceledErr = -128;
constexpr OSErr filterBadParameters = -30100; // also: a filter selector we do not know
constexpr OSErr filterBadMode = -30101;
constexpr OSErr exportBadParameters = -30200;
constexpr OSErr exportBadMode = -30201;

// Selectors.
constexpr std::int16_t filterSelectorAbout = 0;
constexpr std::int16_t filterSelectorParameters = 1;
constexpr std::int16_t filterSelectorPrepare = 2;
constexpr std::int16_t filterSelectorStart = 3;
constexpr std::int16_t filterSelectorContinue = 4;
constexpr std::int16_t filterSelectorFinish = 5;
constexpr std::int16_t exportSelectorAbout = 0;
constexpr std::int16_t exportSelectorStart = 1;
constexpr std::int16_t exportSelectorContinue = 2;
constexpr std::int16_t exportSelectorFinish = 3;
constexpr std::int16_t exportSelectorPrepare = 4;

// Image modes.
constexpr std::int16_t plugInModeBitmap = 0;
constexpr std::int16_t plugInModeGrayScale = 1;
constexpr std::int16_t plugInModeIndexedColor = 2;
constexpr std::int16_t plugInModeRGBColor = 3;
constexpr std::int16_t plugInModeCMYKColor = 4;

// Descriptor value types and play information.
constexpr OSType typeInteger = fourCC("long");
constexpr OSType typeFloat = fourCC("doub");
constexpr OSType typeBoolean = fourCC("bool");
constexpr OSType typeChar = fourCC("TEXT");
constexpr std::int16_t plugInDialogDontDisplay = 0;
constexpr std::int16_t plugInDialogDisplay = 1;
constexpr std::int16_t plugInDialogSilent = 2;

// Property suite keys.
constexpr OSType propertySignature = fourCC("8BIM");
constexpr OSType propertyTitle = fourCC("titl");

struct PlugInRect {
  std::int32_t top, left, bottom, right;
};

using AdvanceStateProc = OSErr (*)();
using ProgressProc = void (*)(std::int32_t done, std::int32_t total);
// Shows pixels on the host's screen; the compressor's main window hands it on.
using DisplayPixelsProc = OSErr (*)(const void *source, const PlugInRect *rect, std::int32_t row,
                                    std::int32_t column, void *platformContext);

// What displayPixels is handed as its source: the pixels' place and layout.
struct PixelMap {
  std::int32_t version; // 1
  PlugInRect bounds;
  std::int32_t imageMode; // plugInModeRGBColor or plugInModeGrayScale
  std::int32_t rowBytes;
  std::int32_t colBytes;
  std::int32_t planeBytes;
  void *baseAddr; // top row first
  std::int32_t mat;
  std::int32_t masks;
};

struct HandleProcs {
  std::int16_t handleProcsVersion; // 1
  std::int16_t numHandleProcs;
  HostHandle (*newProc)(std::int32_t size);
  void (*disposeProc)(HostHandle handle);
  std::int32_t (*getSizeProc)(HostHandle handle);
  OSErr (*setSizeProc)(HostHandle handle, std::int32_t size);
  void *(*lockProc)(HostHandle handle, HostBoolean moveHigh);
  void (*unlockProc)(HostHandle handle);
};
constexpr std::int16_t kCurrentHandleProcsVersion = 1;

struct PropertyProcs {
  std::int16_t propertyProcsVersion; // 1
  std::int16_t numPropertyProcs;
  // A complex property comes back as a new handle that the caller disposes.
  OSErr (*getPropertyProc)(OSType signature, OSType key, std::int32_t index,
                           std::intptr_t *simpleProperty, HostHandle *complexProperty);
  OSErr (*setPropertyProc)(OSType signature, OSType key, std::int32_t index,
                           std::intptr_t simpleProperty, HostHandle complexProperty);
};
constexpr std::int16_t kCurrentPropertyProcsVersion = 1;

// Reading a recorded descriptor: open on the host's handle, walk the keys
// with getKey, read each value with the call of its type, close.
struct ReadDescriptorProcs {
  std::int16_t readDescriptorProcsVersion; // 0
  std::int16_t numReadDescriptorProcs;
  ReadDescriptorRef (*openReadDescriptorProc)(DescriptorHandle descriptor, const OSType *keys);
  OSErr (*closeReadDescriptorProc)(ReadDescriptorRef reader);
  HostBoolean (*getKeyProc)(ReadDescriptorRef reader, OSType *key, OSType *type,
                            std::int32_t *flags);
  OSErr (*getIntegerProc)(ReadDescriptorRef reader, std::int32_t *value);
  OSErr (*getFloatProc)(ReadDescriptorRef reader, double *value);
  void *getUnitFloatProc;
  OSErr (*getBooleanProc)(ReadDescriptorRef reader, HostBoolean *value);
  // The text comes back as a new handle (8-bit characters, no terminator)
  // that the caller disposes.
  OSErr (*getTextProc)(ReadDescriptorRef reader, HostHandle *text);
  void *reservedRead[10]; // calls for aliases, enumerations, classes, references, objects, counts,
                          // strings, pinned values
};
constexpr std::int16_t kCurrentReadDescriptorProcsVersion = 0;
constexpr std::int16_t kReadDescriptorProcsCount = 18;

struct WriteDescriptorProcs {
  std::int16_t writeDescriptorProcsVersion; // 0
  std::int16_t numWriteDescriptorProcs;
  WriteDescriptorRef (*openWriteDescriptorProc)();
  // Ends the recording and hands over the new descriptor handle.
  OSErr (*closeWriteDescriptorProc)(WriteDescriptorRef writer, DescriptorHandle *descriptor);
  OSErr (*putIntegerProc)(WriteDescriptorRef writer, OSType key, std::int32_t value);
  OSErr (*putFloatProc)(WriteDescriptorRef writer, OSType key, const double *value);
  void *putUnitFloatProc;
  OSErr (*putBooleanProc)(WriteDescriptorRef writer, OSType key, HostBoolean value);
  // The host copies the text; the caller keeps and disposes its handle.
  OSErr (*putTextProc)(WriteDescriptorRef writer, OSType key, HostHandle text);
  void *reservedWrite[9]; // calls for aliases, enumerations, classes, references, objects, counts,
                          // strings, scoped values
};
constexpr std::int16_t kCurrentWriteDescriptorProcsVersion = 0;
constexpr std::int16_t kWriteDescriptorProcsCount = 16;

struct PIDescriptorParameters {
  std::int16_t descriptorParametersVersion;
  std::int16_t playInfo;   // plugInDialogDisplay asks for the dialog
  std::int16_t recordInfo; // what the plug-in asks the host to record: 0
  DescriptorHandle descriptor;
  WriteDescriptorProcs *writeDescriptorProcs;
  ReadDescriptorProcs *readDescriptorProcs;
};

struct PlatformData {
  std::intptr_t hwnd; // the host's main window
};

// The part of the filter record our filter reads and writes.
struct FilterRecord {
  std::int32_t imageWidth;
  std::int32_t imageHeight;
  std::int16_t imageMode;
  std::int16_t planes;
  PlugInRect inRect;
  std::int16_t inLoPlane, inHiPlane;
  PlugInRect outRect;
  std::int16_t outLoPlane, outHiPlane;
  PlugInRect maskRect;
  const void *inData; // set by advanceState
  std::int32_t inRowBytes;
  std::int32_t maxSpace;
  AdvanceStateProc advanceState;
  ProgressProc progressProc;
  DisplayPixelsProc displayPixels;
  PlatformData *platformData;
  HandleProcs *handleProcs;
  PropertyProcs *propertyProcs;
  PIDescriptorParameters *descriptorParameters;
};

// The part of the export record our export plug-in reads and writes.
struct ExportRecord {
  std::int32_t imageWidth;
  std::int32_t imageHeight;
  std::int16_t imageMode;
  std::int16_t planes;
  PlugInRect theRect;
  std::int16_t loPlane, hiPlane;
  const void *data; // set by advanceState
  std::int32_t rowBytes;
  std::int32_t maxData;
  std::uint8_t filename[256]; // length byte, then up to 255 characters, no terminator
  AdvanceStateProc advanceState;
  ProgressProc progressProc;
  DisplayPixelsProc displayPixels;
  PlatformData *platformData;
  HandleProcs *handleProcs;
  PropertyProcs *propertyProcs;
  PIDescriptorParameters *descriptorParameters;
};

// The plug-in's one entry: selector, the record, the plug-in's data slot
// kept by the host between calls, and the result.
using PlugInEntry = void (*)(std::int16_t selector, void *record, std::intptr_t *data,
                             std::int16_t *result);

} // namespace plugin

#endif
