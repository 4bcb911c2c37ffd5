// Section runs with a wrapped default queue callback.
#include "installer/win32/inf-sections.h"

namespace installer {

namespace {

struct QueueContext {
  PVOID defaultContext = nullptr;
  bool failed = false;
};

bool fileExists(const char *folder, const char *name) {
  if (!folder || !name)
    return false;
  SetupString path(folder);
  if (!path.empty() && path.c_str()[path.length() - 1] != '\\')
    path += "\\";
  path += name;
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The default callback shows SetupAPI's own progress, but some answers of
// it are replaced: Wine's default callback answers a request for a missing
// source file with "do it" and is asked again for ever, so a source that
// is not there is skipped and counted as a failure; copy and delete errors
// are skipped and counted too, so that they reach the caller's result. A
// file that cannot be deleted because it is in use (the uninstaller
// removing itself) is deleted when the system starts next.
UINT CALLBACK wrappedQueueCallback(PVOID context, UINT notification, UINT_PTR param1,
                                   UINT_PTR param2) {
  auto *queue = static_cast<QueueContext *>(context);
  try {
    switch (notification) {
    case SPFILENOTIFY_NEEDMEDIA: {
      const auto *media = reinterpret_cast<const SOURCE_MEDIA_A *>(param1);
      if (!fileExists(media->SourcePath, media->SourceFile)) {
        queue->failed = true;
        return FILEOP_SKIP;
      }
      break;
    }
    case SPFILENOTIFY_DELETEERROR: {
      const auto *paths = reinterpret_cast<const FILEPATHS_A *>(param1);
      if (!MoveFileExA(paths->Target, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
        queue->failed = true;
      return FILEOP_SKIP;
    }
    case SPFILENOTIFY_COPYERROR:
    case SPFILENOTIFY_RENAMEERROR:
      queue->failed = true;
      return FILEOP_SKIP;
    default:
      break;
    }
    return SetupDefaultQueueCallbackA(queue->defaultContext, notification, param1, param2);
  } catch (...) {
    queue->failed = true;
    return FILEOP_ABORT;
  }
}

} // namespace

InfFile::InfFile(const SetupString &path)
    : handle_(SetupOpenInfFileA(path.c_str(), nullptr, INF_STYLE_WIN4, nullptr)) {}

InfFile::~InfFile() {
  if (isOpen())
    SetupCloseInfFile(handle_);
}

bool InfFile::setPluginFolder(const SetupString &folder) {
  return SetupSetDirectoryIdA(handle_, pluginFolderId, folder.c_str()) != FALSE;
}

bool InfFile::runSection(const char *section) {
  QueueContext queue;
  queue.defaultContext = SetupInitDefaultQueueCallback(nullptr);
  BOOL done = SetupInstallFromInfSectionA(nullptr, handle_, section, SPINST_REGISTRY | SPINST_FILES,
                                          HKEY_LOCAL_MACHINE, nullptr, SP_COPY_WARNIFSKIP,
                                          wrappedQueueCallback, &queue, nullptr, nullptr);
  if (queue.defaultContext)
    SetupTermDefaultQueueCallback(queue.defaultContext);
  return done && !queue.failed;
}

} // namespace installer
